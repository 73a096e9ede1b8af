// Calendar dates as day numbers (1 January 1904 is day 1, every fourth year
// a leap year, 0 for a date that is not valid), the parsing of -from/-to
// texts and the printing of transaction dates.
#ifndef QMX_RENDER_DATES_H_
#define QMX_RENDER_DATES_H_

#include <cstdint>
#include <string>

uint32_t dayNumber(int8_t month, int8_t day, int32_t year);

// A 10-byte MM/DD/YYYY (or DD/MM/YYYY) text with any separators; 0 when the
// text is rejected.
uint32_t parseDateText(std::string text, bool monthFirst);

std::string formatDate(int8_t month, int8_t day, int32_t year, bool monthFirst,
                       const std::string& dateSeparator, bool twoDigitYear);

#endif  // QMX_RENDER_DATES_H_
