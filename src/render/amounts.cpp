#include "render/amounts.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double kTwoTo52 = 4503599627370496.0;
constexpr double kTwoTo63 = 9223372036854775808.0;

// x rounded to a whole number, halves away from zero. From 2^52 on every
// double is whole already, and adding 0.5 there could round up by one.
double roundHalfAway(double x) {
  if (std::fabs(x) >= kTwoTo52)
    return x;
  return x >= 0.0 ? std::floor(x + 0.5) : std::ceil(x - 0.5);
}

// The exact decimal digits of a whole, non-negative double of any size:
// its 53-bit mantissa doubled once per binary exponent step, in base 10^9.
std::string wholeNumberDigits(double magnitude) {
  int exponent = 0;
  const double fraction = std::frexp(magnitude, &exponent);
  const uint64_t mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
  std::vector<uint32_t> limbs = {static_cast<uint32_t>(mantissa % 1000000000u),
                                 static_cast<uint32_t>(mantissa / 1000000000u % 1000000000u),
                                 static_cast<uint32_t>(mantissa / 1000000000u / 1000000000u)};
  for (int step = 53; step < exponent; ++step) {
    uint32_t carry = 0;
    for (uint32_t& limb : limbs) {
      const uint64_t doubled = static_cast<uint64_t>(limb) * 2 + carry;
      limb = static_cast<uint32_t>(doubled % 1000000000u);
      carry = static_cast<uint32_t>(doubled / 1000000000u);
    }
    if (carry != 0)
      limbs.push_back(carry);
  }
  while (limbs.size() > 1 && limbs.back() == 0)
    limbs.pop_back();
  std::string digits = std::to_string(limbs.back());
  for (size_t i = limbs.size() - 1; i-- > 0;) {
    char group[16];
    std::snprintf(group, sizeof group, "%09u", static_cast<unsigned>(limbs[i]));
    digits += group;
  }
  return digits;
}

// NaN and the infinities, which have no digits to round.
bool formatNonFinite(double value, std::string* text) {
  if (std::isnan(value)) {
    *text = "nan";
  } else if (std::isinf(value)) {
    *text = value < 0.0 ? "-inf" : "inf";
  } else {
    return false;
  }
  return true;
}

}  // namespace

std::string formatAmount(double value, const CurrencyRecord& currency,
                         const std::string& decimalSymbol) {
  std::string text;
  if (formatNonFinite(value, &text))
    return text;
  const bool twoDecimals = currency.hasDecimals != 0;
  const int64_t scale = twoDecimals ? 100 : 1;
  // From 2^52 on a value is whole already; scaling it by 100 and back could
  // change its last digits, or overflow.
  double rounded = value;
  if (std::fabs(value) < kTwoTo52) {
    rounded = twoDecimals ? roundHalfAway(value * 100.0) * 0.01 : roundHalfAway(value);
  }
  if (rounded < 0.0)
    text = "-";
  std::string integerDigits;
  int64_t fractionDigits = 0;
  if (std::fabs(rounded) < kTwoTo63) {
    int64_t integer = static_cast<int64_t>(rounded);
    fractionDigits =
        static_cast<int64_t>(std::fabs(rounded - static_cast<double>(integer)) * scale + 0.5);
    if (fractionDigits >= scale) {
      fractionDigits -= scale;
      integer += integer >= 0 ? 1 : -1;
    }
    const uint64_t magnitude =
        integer < 0 ? 0 - static_cast<uint64_t>(integer) : static_cast<uint64_t>(integer);
    integerDigits = std::to_string(magnitude);
  } else {
    // Beyond 64 bits: the stored whole number, digit for digit.
    integerDigits = wholeNumberDigits(std::fabs(rounded));
  }
  text += integerDigits;
  if (twoDecimals) {
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, "%02d", static_cast<int>(fractionDigits));
    text += decimalSymbol;
    text += fraction;
  }
  return text;
}

std::string formatRate(double rate, const std::string& decimalSymbol) {
  std::string text;
  if (formatNonFinite(rate, &text))
    return text;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%g", rate);
  text = buffer;
  // %g follows the user's locale; the rate is written in the classic
  // notation, so the locale's decimal point becomes ".".
  const std::string localePoint = std::localeconv()->decimal_point;
  if (!localePoint.empty() && localePoint != ".") {
    const size_t at = text.find(localePoint);
    if (at != std::string::npos)
      text.replace(at, localePoint.size(), ".");
  }
  // Exponents get at least two digits on every platform (some write three).
  const size_t e = text.find('e');
  if (e != std::string::npos) {
    const size_t digits = e + 2;  // after the exponent's sign
    while (text.size() - digits > 2 && text[digits] == '0')
      text.erase(digits, 1);
  }
  if (!decimalSymbol.empty() && decimalSymbol != ".") {
    for (char& c : text) {
      if (c == '.')
        c = decimalSymbol[0];
    }
  }
  return text;
}

std::string formatTime(int8_t hour, int8_t minute, const std::string& timeSeparator) {
  char hourText[8];
  char minuteText[8];
  std::snprintf(hourText, sizeof hourText, "%02d", hour);
  std::snprintf(minuteText, sizeof minuteText, "%02d", minute);
  return hourText + timeSeparator + minuteText;
}
