// Money amounts rounded to their currency's decimals, exchange rates in %g
// notation and times of day, each with the decimal or time symbol chosen on
// the command line.
#ifndef QMX_RENDER_AMOUNTS_H_
#define QMX_RENDER_AMOUNTS_H_

#include <cstdint>
#include <string>

#include "pdb/list_database.h"

std::string formatAmount(double value, const CurrencyRecord& currency,
                         const std::string& decimalSymbol);
std::string formatRate(double rate, const std::string& decimalSymbol);
std::string formatTime(int8_t hour, int8_t minute, const std::string& timeSeparator);

#endif  // QMX_RENDER_AMOUNTS_H_
