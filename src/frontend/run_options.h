// The options of one run, filled from the command line and read by the
// export driver and the row renderer.
#ifndef QMX_FRONTEND_RUN_OPTIONS_H_
#define QMX_FRONTEND_RUN_OPTIONS_H_

#include <cstdint>
#include <string>

struct RunOptions {
  uint32_t fromDay = 0;
  uint32_t toDay = 0xFFFFFFFFu;
  std::string accountName = "All";
  std::string decimalSymbol = ".";
  std::string dateSeparator = "/";
  std::string timeSeparator = ":";
  bool twoDigitYear = false;
  bool monthFirst = true;
  bool clearedOnly = false;
  bool reconciledOnly = false;
  bool utf8Output = false;  // -u: texts from the databases written as UTF-8
};

#endif  // QMX_FRONTEND_RUN_OPTIONS_H_
