// The export: walks the regular transactions in stored order, applies the
// date range and the cleared/reconciled filters, renders each row and hands
// it to the CSV and QIF writers; opens, checks and closes the output files.
#ifndef QMX_EXPORT_EXPORT_DRIVER_H_
#define QMX_EXPORT_EXPORT_DRIVER_H_

#include <ostream>
#include <string>
#include <vector>

#include "frontend/run_options.h"
#include "pdb/list_database.h"
#include "pdb/transaction_database.h"

// Appends the extension (".csv", ".qif") unless the last path component's
// last dot is followed by exactly three characters. Idempotent.
void completeOutputName(std::string& name, const std::string& extension);

// Writes the export to the given streams; a null stream gets nothing. The
// QIF stream gets its opening block first. Used by exportTransactions and
// wherever the output goes to memory.
void writeExport(const ListDatabase& listDatabase, const TransactionDatabase& transactionDatabase,
                 const RunOptions& options, std::ostream* csv, std::ostream* qif);

// What the export could not write. An empty name stands for standard output.
struct ExportOutcome {
  std::vector<std::string> failedOutputs;

  bool complete() const { return failedOutputs.empty(); }
};

// Completes the names, opens the requested files (CSV first), writes the
// export and closes them. With neither file requested the CSV lines go to
// `console`. A file that could not be written completely is removed.
ExportOutcome exportTransactions(const ListDatabase& listDatabase,
                                 const TransactionDatabase& transactionDatabase,
                                 const RunOptions& options, bool writeCsvFile,
                                 std::string& csvFileName, bool writeQifFile,
                                 std::string& qifFileName, std::ostream& console);

#endif  // QMX_EXPORT_EXPORT_DRIVER_H_
