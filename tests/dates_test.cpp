#include "render/dates.h"

#include <gtest/gtest.h>

namespace {

struct DayCase {
  int month;
  int day;
  int32_t year;
  uint32_t expected;
};

TEST(DayNumberTest, CountsFromFirstJanuary1904) {
  const DayCase cases[] = {
      {1, 1, 1904, 1},
      {1, 2, 1904, 2},
      {2, 29, 1904, 60},
      {3, 1, 1904, 61},
      {12, 31, 1904, 366},
      {1, 1, 1905, 367},
      {1, 1, 1908, 4 * 365 + 1 + 1},  // 1904 was the only leap year before
      {1, 1, 1909, 5 * 365 + 2 + 1},  // 1904 and 1908
      {1, 15, 2003, 365 * 99 + 25 + 15},
      {12, 31, 32767, 365u * 30863 + 7716 + 334 + 31},  // the largest stored year
  };
  for (const DayCase& c : cases) {
    EXPECT_EQ(dayNumber(c.month, c.day, c.year), c.expected)
        << c.year << "-" << c.month << "-" << c.day;
  }
}

TEST(DayNumberTest, EveryFourthYearIsLeapCenturiesIncluded) {
  EXPECT_EQ(dayNumber(3, 1, 2000) - dayNumber(1, 1, 2000), 60u);
  EXPECT_EQ(dayNumber(3, 1, 2100) - dayNumber(2, 28, 2100), 2u);
  EXPECT_EQ(dayNumber(3, 1, 2001) - dayNumber(2, 28, 2001), 1u);
}

TEST(DayNumberTest, DaysOutsideTheMonthCountOn) {
  EXPECT_EQ(dayNumber(2, 30, 2004), dayNumber(3, 1, 2004));
  EXPECT_EQ(dayNumber(3, 0, 2003), dayNumber(2, 28, 2003));
  EXPECT_EQ(dayNumber(3, -1, 2003), dayNumber(2, 27, 2003));
}

TEST(DayNumberTest, InvalidDatesGiveZero) {
  const DayCase cases[] = {
      {1, 1, 1903, 0},
      {12, 31, 1903, 0},
      {0, 1, 2003, 0},
      {13, 1, 2003, 0},
      {-1, 1, 2003, 0},
      {1, 0, 1904, 0},
      {1, 1, -2147483647 - 1, 0},
      // Before the first day of the calendar, not a wrapped-around huge number.
      {1, -5, 1904, 0},
      {1, -128, 1904, 0},
      // Beyond what 32 bits count.
      {12, 31, 2147483647, 0},
  };
  for (const DayCase& c : cases) {
    EXPECT_EQ(dayNumber(c.month, c.day, c.year), c.expected)
        << c.year << "-" << c.month << "-" << c.day;
  }
}

struct ParseCase {
  const char* text;
  bool monthFirst;
  uint32_t expected;
};

TEST(ParseDateTextTest, ReadsTenByteTexts) {
  const uint32_t jan15 = dayNumber(1, 15, 2003);
  const ParseCase cases[] = {
      {"01/15/2003", true, jan15},
      {"15/01/2003", false, jan15},
      {"01-15-2003", true, jan15},
      {"01.15.2003", true, jan15},
      {"01x15y2003", true, jan15},
      {" 1/15/2003", true, jan15},  // a leading blank before a digit
      {"01/15/+003", true, 0},      // year 3
      {"02/30/2004", true, dayNumber(3, 1, 2004)},
      {"01/01/1904", true, 1},
      {"12/31/1903", true, 0},
      {"ab/cd/2003", true, 0},  // month 0
      {"13/01/2003", true, 0},
      {"01/13/2003", false, 0},
  };
  for (const ParseCase& c : cases) {
    EXPECT_EQ(parseDateText(c.text, c.monthFirst), c.expected) << c.text;
  }
}

TEST(ParseDateTextTest, RejectsOtherLengths) {
  for (const char* text : {"", "1/15/2003", "01/15/2003 ", "01/15/20031", "2003-01-15T"}) {
    EXPECT_EQ(parseDateText(text, true), 0u) << '"' << text << '"';
  }
}

TEST(ParseDateTextTest, StopsAtTheFirstNonDigitOfAPiece) {
  // "1a" reads as 1, "5 " as 5 and "20x3" as 20 (before 1904).
  EXPECT_EQ(parseDateText("1a/5 /2003", true), dayNumber(1, 5, 2003));
  EXPECT_EQ(parseDateText("01/15/20x3", true), 0u);
  EXPECT_EQ(parseDateText(std::string("01/15/2003", 10), true), dayNumber(1, 15, 2003));
  EXPECT_EQ(parseDateText(std::string("01/15\0"
                                      "2003",
                                      10),
                          true),
            dayNumber(1, 15, 2003));
}

struct FormatCase {
  int month;
  int day;
  int32_t year;
  bool monthFirst;
  const char* separator;
  bool twoDigitYear;
  const char* expected;
};

TEST(FormatDateTest, WritesTheChosenNotation) {
  const FormatCase cases[] = {
      {1, 15, 2003, true, "/", false, "01/15/2003"},
      {1, 15, 2003, false, ".", true, "15.01.03"},
      {1, 15, 2003, true, "", false, "01152003"},
      {1, 15, 2003, true, "--", false, "01--15--2003"},
      {13, 0, 2003, true, "/", false, "13/00/2003"},  // printed as stored
      {-1, 5, 2003, false, "/", false, "05/-1/2003"},
      {12, 31, 123, true, "/", false, "12/31/123"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(formatDate(c.month, c.day, c.year, c.monthFirst, c.separator, c.twoDigitYear),
              c.expected);
  }
}

TEST(FormatDateTest, TwoDigitYearsOfAnyLength) {
  const struct {
    int32_t year;
    const char* lastDigits;
  } cases[] = {
      {2005, "05"}, {1999, "99"}, {2000, "00"}, {12345, "45"}, {5, "05"},
      {123, "23"},  {0, "00"},    {-7, "07"},   {-1999, "99"}, {-2147483647 - 1, "48"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatDate(1, 2, c.year, true, "/", true), std::string("01/02/") + c.lastDigits)
        << c.year;
  }
}

}  // namespace
