#include "render/text_encoding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

// Decodes one UTF-8 sequence at `pos` and advances it; -1 on a malformed one.
long decodeOne(const std::string& text, size_t& pos) {
  const uint8_t lead = static_cast<uint8_t>(text[pos]);
  size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : 0;
  if (length == 0 || pos + length > text.size())
    return -1;
  long codePoint = length == 1 ? lead : length == 2 ? (lead & 0x1F) : (lead & 0x0F);
  for (size_t k = 1; k < length; ++k) {
    const uint8_t next = static_cast<uint8_t>(text[pos + k]);
    if ((next >> 6) != 0x2)
      return -1;
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  const long smallest = length == 1 ? 0 : length == 2 ? 0x80 : 0x800;
  if (codePoint < smallest)
    return -1;  // an overlong form
  pos += length;
  return codePoint;
}

TEST(TextEncodingTest, KnownCharacters) {
  struct Case {
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"", ""},
      {"Caf\xE9", "Caf\xC3\xA9"},                                // e acute
      {"M\xFCller & S\xF6hne", "M\xC3\xBCller & S\xC3\xB6hne"},  // u, o umlaut
      {"\x80 5", "\xE2\x82\xAC 5"},                              // euro sign
      {"\x93quoted\x94", "\xE2\x80\x9Cquoted\xE2\x80\x9D"},      // curly double quotes
      {"\x8A\x9A\x8E\x9E\x9F", "\xC5\xA0\xC5\xA1\xC5\xBD\xC5\xBE\xC5\xB8"},
      {"\xA0\xFF", "\xC2\xA0\xC3\xBF"},  // ends of the Latin-1 range
      {"\x81\x8D\x8F\x90\x9D",           // the five undefined bytes
       "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"a\r\n\t\"b,", "a\r\n\t\"b,"},  // ASCII untouched
      {std::string("x\0y", 3), std::string("x\0y", 3)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(windows1252ToUtf8(c.in), c.out) << c.in;
  }
}

// Every byte gives exactly one well-formed character: itself below 0x80 and
// from 0xA0 on, a character outside the C1 controls from 0x80 to 0x9F.
TEST(TextEncodingTest, EveryByteIsOneWellFormedCharacter) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string out = windows1252ToUtf8(std::string(1, static_cast<char>(byte)));
    size_t pos = 0;
    const long codePoint = decodeOne(out, pos);
    ASSERT_NE(codePoint, -1) << "byte " << byte;
    EXPECT_EQ(pos, out.size()) << "byte " << byte;
    if (byte < 0x80 || byte >= 0xA0) {
      EXPECT_EQ(codePoint, byte);
    } else {
      EXPECT_GT(codePoint, 0x9F) << "byte " << byte;
    }
  }
}

}  // namespace
