#include "render/amounts.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

namespace {

CurrencyRecord currencyWithDecimals(bool hasDecimals) {
  CurrencyRecord currency = defaultCurrency();
  currency.hasDecimals = hasDecimals ? 1 : 0;
  return currency;
}

struct AmountCase {
  double value;
  bool hasDecimals;
  const char* expected;
};

TEST(FormatAmountTest, RoundsHalvesAwayFromZeroOnTheStoredValue) {
  const AmountCase cases[] = {
      {0.0, true, "0.00"},
      {-0.0, true, "0.00"},
      {1234.5, true, "1234.50"},
      {0.005, true, "0.01"},
      {19.999, true, "20.00"},
      {99.995, true, "100.00"},
      {1.005, true, "1.00"},  // stored just below 1.005
      {1000000000.0, true, "1000000000.00"},
      {-2.345, true, "-2.35"},
      {-0.25, true, "-0.25"},
      {-0.004, true, "0.00"},
      {-0.005, true, "-0.01"},
      {-99.995, true, "-100.00"},
      {0.07, true, "0.07"},
      {12.5, false, "13"},
      {2.5, false, "3"},
      {0.5, false, "1"},
      {1234.5, false, "1235"},
      {-12.5, false, "-13"},
      {-0.4, false, "0"},
      {0.0, false, "0"},
  };
  for (const AmountCase& c : cases) {
    EXPECT_EQ(formatAmount(c.value, currencyWithDecimals(c.hasDecimals), "."), c.expected)
        << c.value;
  }
}

TEST(FormatAmountTest, LargeAmountsKeepTheirDigits) {
  const AmountCase cases[] = {
      {2147483648.0, true, "2147483648.00"},
      {-2147483648.0, true, "-2147483648.00"},
      {4294967296.25, true, "4294967296.25"},
      {1e15, true, "1000000000000000.00"},
      {1e15, false, "1000000000000000"},
      {4503599627370497.0, false, "4503599627370497"},    // 2^52 + 1, odd
      {9007199254740993.0, true, "9007199254740992.00"},  // 2^53 + 1 is stored as 2^53
      {1e18, true, "1000000000000000000.00"},
      {-9223372036854775808.0, false, "-9223372036854775808"},
      {9223372036854775808.0, true, "9223372036854775808.00"},  // 2^63: beyond int64
      {1e19, false, "10000000000000000000"},
      {-1e20, true, "-100000000000000000000.00"},
      {std::ldexp(1.0, 100), false, "1267650600228229401496703205376"},
  };
  for (const AmountCase& c : cases) {
    EXPECT_EQ(formatAmount(c.value, currencyWithDecimals(c.hasDecimals), "."), c.expected)
        << c.value;
  }
}

TEST(FormatAmountTest, LargestDoubleHasAll309Digits) {
  const std::string text =
      formatAmount(std::numeric_limits<double>::max(), currencyWithDecimals(false), ".");
  EXPECT_EQ(text.size(), 309u);
  EXPECT_EQ(text.substr(0, 17), "17976931348623157");
  EXPECT_EQ(text.substr(297), "184124858368");
}

// Every exponent with the extreme and middle mantissas, both signs: each
// value yields a text, and whole values (from 2^52 on every double is whole)
// print exactly the digits that the C library prints for them.
TEST(FormatAmountTest, EveryExponentGivesItsTrueDigits) {
  const uint64_t mantissas[] = {0, 1, 0x8000000000000ull, 0xFFFFFFFFFFFFFull};
  for (uint64_t exponent = 0; exponent < 0x7FF; ++exponent) {
    for (uint64_t mantissa : mantissas) {
      for (uint64_t sign : {0ull, 1ull}) {
        const uint64_t bits = sign << 63 | exponent << 52 | mantissa;
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof value);
        for (bool hasDecimals : {true, false}) {
          const std::string text = formatAmount(value, currencyWithDecimals(hasDecimals), ".");
          ASSERT_FALSE(text.empty());
          if (std::fabs(value) < 4503599627370496.0)
            continue;
          char expected[400];
          std::snprintf(expected, sizeof expected, hasDecimals ? "%.2f" : "%.0f", value);
          ASSERT_EQ(text, expected) << std::hexfloat << value;
        }
      }
    }
  }
}

TEST(FormatAmountTest, NonFiniteValuesAreNamed) {
  const double inf = std::numeric_limits<double>::infinity();
  for (bool hasDecimals : {true, false}) {
    const CurrencyRecord currency = currencyWithDecimals(hasDecimals);
    EXPECT_EQ(formatAmount(std::nan(""), currency, "."), "nan");
    EXPECT_EQ(formatAmount(-std::nan(""), currency, "."), "nan");
    EXPECT_EQ(formatAmount(inf, currency, "."), "inf");
    EXPECT_EQ(formatAmount(-inf, currency, "."), "-inf");
  }
}

TEST(FormatAmountTest, DecimalSymbolStandsBetweenTheParts) {
  const CurrencyRecord two = currencyWithDecimals(true);
  EXPECT_EQ(formatAmount(1234.5, two, ","), "1234,50");
  EXPECT_EQ(formatAmount(1234.56, two, ""), "123456");
  EXPECT_EQ(formatAmount(1234.56, two, "::"), "1234::56");
  EXPECT_EQ(formatAmount(1234.5, currencyWithDecimals(false), ","), "1235");
}

struct RateCase {
  double rate;
  const char* decimalSymbol;
  const char* expected;
};

TEST(FormatRateTest, WritesSixSignificantDigits) {
  const RateCase cases[] = {
      {1.0, ".", "1"},
      {1.0, ",", "1"},
      {0.5, ".", "0.5"},
      {1.25, ".", "1.25"},
      {1.25, ",", "1,25"},
      {1.25, ",;", "1,25"},  // only the first character of the symbol
      {1.25, "", "1.25"},
      {0.912345678, ".", "0.912346"},
      {1234.5678, ".", "1234.57"},
      {123456.0, ".", "123456"},
      {1234567.0, ".", "1.23457e+06"},
      {0.0001, ".", "0.0001"},
      {0.00001234, ",", "1,234e-05"},
      {1e100, ".", "1e+100"},
      {-1.5, ".", "-1.5"},
      {0.0, ".", "0"},
      {std::numeric_limits<double>::infinity(), ".", "inf"},
      {-std::numeric_limits<double>::infinity(), ".", "-inf"},
      {-std::nan(""), ".", "nan"},
  };
  for (const RateCase& c : cases) {
    EXPECT_EQ(formatRate(c.rate, c.decimalSymbol), c.expected) << c.rate;
  }
}

// The user's locale may write a decimal comma; the rate never does.
TEST(FormatRateTest, IgnoresTheUsersLocale) {
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  bool switched = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "nl_NL.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) {
      switched = true;
      break;
    }
  }
  if (!switched)
    GTEST_SKIP() << "no locale with a decimal comma is installed";
  const std::string inLocale = formatRate(1.25, ".");
  const std::string withSymbol = formatRate(1.25, ";");
  std::setlocale(LC_NUMERIC, previous.c_str());
  EXPECT_EQ(inLocale, "1.25");
  EXPECT_EQ(withSymbol, "1;25");
}

TEST(FormatTimeTest, WritesTwoDigitsAndTheSeparator) {
  const struct {
    int hour;
    int minute;
    const char* separator;
    const char* expected;
  } cases[] = {
      {9, 5, ":", "09:05"},         {9, 5, ".", "09.05"}, {9, 5, ",", "09,05"},
      {0, 0, ":", "00:00"},         {23, 59, "", "2359"}, {14, 7, ":", "14:07"},
      {-1, -1, ":", "-1:-1"},  // bytes 0xFF
      {127, -128, ":", "127:-128"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatTime(static_cast<int8_t>(c.hour), static_cast<int8_t>(c.minute), c.separator),
              c.expected);
  }
  EXPECT_EQ(formatTime(static_cast<int8_t>(0xFF), 0, ":"), "-1:00");
}

}  // namespace
