// The lines of a QIF file: the account list of an all-accounts file, the
// account header before each run of one account's entries, the type header
// of a one-account file, and the entry of one transaction.
#ifndef QMX_EXPORT_QIF_WRITER_H_
#define QMX_EXPORT_QIF_WRITER_H_

#include <ostream>
#include <string>
#include <vector>

#include "render/row.h"

void writeQifAccountList(std::ostream& stream, const std::vector<std::string>& names);
void writeQifAccountHeader(std::ostream& stream, const std::string& account);
void writeQifTypeHeader(std::ostream& stream);
void writeQifEntry(std::ostream& stream, const TransactionRow& row);

#endif  // QMX_EXPORT_QIF_WRITER_H_
