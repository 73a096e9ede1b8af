// One transaction as one CSV line: the 17 fields of the row, each in double
// quotes (a quote inside a field doubled), joined by commas, then flushed.
#ifndef QMX_EXPORT_CSV_WRITER_H_
#define QMX_EXPORT_CSV_WRITER_H_

#include <ostream>

#include "render/row.h"

void writeCsvLine(std::ostream& stream, const TransactionRow& row);

#endif  // QMX_EXPORT_CSV_WRITER_H_
