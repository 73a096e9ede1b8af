// Conversion of the handheld's 8-bit texts to UTF-8 for the -u switch. The
// handheld stores text in Windows-1252; ASCII bytes stay as they are.
#ifndef QMX_RENDER_TEXT_ENCODING_H_
#define QMX_RENDER_TEXT_ENCODING_H_

#include <string>

// Every byte becomes its Windows-1252 character in UTF-8. The five bytes
// that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become
// U+FFFD, so the result is always valid UTF-8.
std::string windows1252ToUtf8(const std::string& text);

// The text as an output gets it: converted with -u (utf8Output), else as it is.
std::string outputText(const std::string& text, bool utf8Output);

#endif  // QMX_RENDER_TEXT_ENCODING_H_
