// Money amounts rounded to their currency's decimals, exchange rates in %g
// notation and times of day, each with the decimal or time symbol chosen on
// the command line.
#ifndef QMX_RENDER_AMOUNTS_H_
#define QMX_RENDER_AMOUNTS_H_

#include <cstdint>
#include <string>

#include "pdb/list_database.h"

// Halves round away from zero on the stored value. Every finite amount
// prints its true integer digits, also beyond 64 bits (a whole number there);
// NaN prints "nan", the infinities "inf" and "-inf", without decimals.
std::string formatAmount(double value, const CurrencyRecord& currency,
                         const std::string& decimalSymbol);
// %g with six significant digits in the classic notation, whatever the
// user's locale; exponents have at least two digits on every platform.
std::string formatRate(double rate, const std::string& decimalSymbol);
std::string formatTime(int8_t hour, int8_t minute, const std::string& timeSeparator);

#endif  // QMX_RENDER_AMOUNTS_H_
