#include "render/dates.h"

#include <array>
#include <cstdio>
#include <limits>

namespace {

// Days before each month in a common year; the leap day is added apart.
constexpr std::array<int32_t, 12> kDaysBeforeMonth = {0,   31,  59,  90,  120, 151,
                                                      181, 212, 243, 273, 304, 334};

// A decimal number the way a -from/-to piece is read: leading white space,
// an optional sign, then digits up to the first non-digit; 0 without digits.
// Locale-free, and the piece is at most four bytes, so it cannot overflow.
int32_t parsePiece(const std::string& piece) {
  size_t i = 0;
  while (i < piece.size() && (piece[i] == ' ' || (piece[i] >= '\t' && piece[i] <= '\r')))
    ++i;
  bool negative = false;
  if (i < piece.size() && (piece[i] == '+' || piece[i] == '-')) {
    negative = piece[i] == '-';
    ++i;
  }
  int32_t value = 0;
  for (; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i) {
    value = value * 10 + (piece[i] - '0');
  }
  return negative ? -value : value;
}

std::string twoDigits(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", value);
  return buffer;
}

}  // namespace

uint32_t dayNumber(int8_t month, int8_t day, int32_t year) {
  if (month < 1 || month > 12)
    return 0;
  const int64_t years = static_cast<int64_t>(year) - 1904;
  if (years < 0)
    return 0;
  int64_t before = kDaysBeforeMonth[month - 1];
  if (year % 4 == 0 && month >= 3)
    ++before;
  const int64_t days = 365 * years + (years + 3) / 4 + before + day;
  // A day of 0 or below in January 1904 lies before the calendar's first
  // day, and a count beyond 32 bits names no representable day: neither is a
  // valid date.
  if (days < 1 || days > std::numeric_limits<uint32_t>::max())
    return 0;
  return static_cast<uint32_t>(days);
}

uint32_t parseDateText(std::string text, bool monthFirst) {
  if (text.size() != 10)
    return 0;
  const int8_t first = static_cast<int8_t>(parsePiece(text.substr(0, 2)));
  const int8_t second = static_cast<int8_t>(parsePiece(text.substr(3, 2)));
  const int32_t year = parsePiece(text.substr(6, 4));
  return monthFirst ? dayNumber(first, second, year) : dayNumber(second, first, year);
}

std::string formatDate(int8_t month, int8_t day, int32_t year, bool monthFirst,
                       const std::string& dateSeparator, bool twoDigitYear) {
  std::string text = twoDigits(monthFirst ? month : day);
  text += dateSeparator;
  text += twoDigits(monthFirst ? day : month);
  text += dateSeparator;
  if (twoDigitYear) {
    // The last two digits of the year's magnitude, for years of any length.
    const int64_t magnitude = year < 0 ? -static_cast<int64_t>(year) : year;
    text += twoDigits(static_cast<int>(magnitude % 100));
  } else {
    text += std::to_string(year);
  }
  return text;
}
