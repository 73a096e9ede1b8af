#include "export/export_driver.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "export/csv_writer.h"
#include "export/qif_writer.h"
#include "render/dates.h"
#include "render/row.h"
#include "render/text_encoding.h"

namespace {

CurrencyRecord homeCurrencyOf(const ListDatabase& listDatabase) {
  const size_t index = listDatabase.findHomeCurrency();
  return index < listDatabase.currencies.size() ? listDatabase.currencies[index]
                                                : defaultCurrency();
}

// The QIF name of the pseudo-account of transactions without an account.
std::string qifUnfiledAccountName(const ListDatabase& listDatabase) {
  const std::string name = listDatabase.noAccountName();
  return name == "Unfiled" ? name + " Account" : name;
}

void writeQifOpening(std::ostream& qif, const ListDatabase& listDatabase, bool allAccounts,
                     const std::string& unfiledName, bool utf8Output) {
  if (!allAccounts) {
    writeQifTypeHeader(qif);
    return;
  }
  std::vector<std::string> names;
  names.reserve(listDatabase.accounts.size() + 1);
  for (const AccountRecord& account : listDatabase.accounts)
    names.push_back(outputText(fieldText(account.name), utf8Output));
  names.push_back(unfiledName);
  writeQifAccountList(qif, names);
}

// The date range (both bounds inclusive, day 0 never) and the status filters.
bool passesFilters(const TransactionRecord& record, const RunOptions& options) {
  const uint32_t day = dayNumber(record.month, record.day, record.year);
  if (day == 0 || day < options.fromDay || day > options.toDay)
    return false;
  if (options.clearedOnly && record.isCleared == 0)
    return false;
  if (options.reconciledOnly && record.isReconciled == 0)
    return false;
  return true;
}

// Closes a requested file, which writes out what it still buffers. A file
// that failed to open or lost any write is recorded; one that was created but
// not written completely is removed, so that no partial export is mistaken
// for a whole one. A file that could not be created is not touched: the name
// may belong to something else, such as a folder.
void finishFile(std::ofstream& file, const std::string& name, ExportOutcome& outcome) {
  const bool created = file.is_open();
  file.close();
  if (created && !file.fail())
    return;
  outcome.failedOutputs.push_back(name);
  // Only an ordinary file is removed: a device or pipe given as the output
  // name belongs to the system, not to this export.
  std::error_code error;
  if (created && std::filesystem::is_regular_file(name, error))
    std::remove(name.c_str());
}

}  // namespace

void completeOutputName(std::string& name, const std::string& extension) {
#ifdef _WIN32
  const char* const separators = "/\\";
#else
  const char* const separators = "/";
#endif
  const size_t lastSeparator = name.find_last_of(separators);
  const size_t componentStart = lastSeparator == std::string::npos ? 0 : lastSeparator + 1;
  const size_t dot = name.rfind('.');
  const bool hasExtension =
      dot != std::string::npos && dot >= componentStart && dot + 4 == name.size();
  if (!hasExtension)
    name += extension;
}

void writeExport(const ListDatabase& listDatabase, const TransactionDatabase& transactionDatabase,
                 const RunOptions& options, std::ostream* csv, std::ostream* qif) {
  const CurrencyRecord homeCurrency = homeCurrencyOf(listDatabase);
  const std::string defaultCategory = "Unfiled";
  // The texts that rows are compared with take the rows' character set.
  const std::string noAccountName = outputText(listDatabase.noAccountName(), options.utf8Output);
  const std::string unfiledName =
      outputText(qifUnfiledAccountName(listDatabase), options.utf8Output);
  const bool allAccounts = isAllAccounts(options.accountName);
  if (qif != nullptr)
    writeQifOpening(*qif, listDatabase, allAccounts, unfiledName, options.utf8Output);

  // Empty until the first entry, so that the first entry always gets its
  // account header, whatever its account text.
  std::optional<std::string> previousAccount;
  for (const TransactionRecord& record : transactionDatabase.transactions) {
    if (!passesFilters(record, options))
      continue;
    TransactionRow row;
    if (!renderTransactionRow(listDatabase, homeCurrency, defaultCategory, options, record, row)) {
      continue;
    }
    if (csv != nullptr)
      writeCsvLine(*csv, row);
    if (qif != nullptr) {
      if (row.account == noAccountName)
        row.account = unfiledName;
      if (allAccounts && previousAccount != row.account)
        writeQifAccountHeader(*qif, row.account);
      writeQifEntry(*qif, row);
    }
    previousAccount = row.account;
  }
}

ExportOutcome exportTransactions(const ListDatabase& listDatabase,
                                 const TransactionDatabase& transactionDatabase,
                                 const RunOptions& options, bool writeCsvFile,
                                 std::string& csvFileName, bool writeQifFile,
                                 std::string& qifFileName, std::ostream& console) {
  std::ofstream csvFile;
  std::ofstream qifFile;
  if (writeCsvFile) {
    completeOutputName(csvFileName, ".csv");
    csvFile.open(csvFileName, std::ios::out | std::ios::trunc);
  }
  if (writeQifFile) {
    completeOutputName(qifFileName, ".qif");
    qifFile.open(qifFileName, std::ios::out | std::ios::trunc);
  }
  std::ostream* csv = nullptr;
  if (writeCsvFile) {
    csv = &csvFile;
  } else if (!writeQifFile) {
    csv = &console;
  }
  writeExport(listDatabase, transactionDatabase, options, csv, writeQifFile ? &qifFile : nullptr);

  ExportOutcome outcome;
  if (writeCsvFile)
    finishFile(csvFile, csvFileName, outcome);
  if (writeQifFile)
    finishFile(qifFile, qifFileName, outcome);
  if (csv == &console) {
    console.flush();
    if (console.fail())
      outcome.failedOutputs.push_back("");
  }
  return outcome;
}
