#include "frontend/run.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "export/export_driver.h"
#include "frontend/command_line.h"
#include "frontend/locate.h"
#include "pdb/list_database.h"
#include "pdb/transaction_database.h"
#include "render/dates.h"

namespace {

// Turns a non-empty -from/-to text into its day number. A text the date
// parser rejects ends the run: exporting everything (a bad -from) or nothing
// (a bad -to) would both look like success.
bool resolveDate(const std::string& text, bool monthFirst, uint32_t* day, std::ostream& err) {
  if (text.empty())
    return true;
  uint32_t parsed = parseDateText(text, monthFirst);
  if (parsed == 0) {
    err << "Invalid date: " << text << " (expected " << (monthFirst ? "MM/DD/YYYY" : "DD/MM/YYYY")
        << ")\n";
    return false;
  }
  *day = parsed;
  return true;
}

// True when both names denote one file: the same file on disk (device and
// inode, whatever the spelling), or the same path when it does not exist yet.
bool sameFile(const std::string& a, const std::string& b) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::equivalent(a, b, error))
    return true;
  fs::path pathA = fs::absolute(a, error).lexically_normal();
  if (error)
    return false;
  fs::path pathB = fs::absolute(b, error).lexically_normal();
  return !error && pathA == pathB;
}

// Refuses outputs that would overwrite a backup database or each other.
bool outputsAreSafe(const CommandLine& commandLine, const std::vector<std::string>& inputs,
                    std::ostream& err) {
  std::vector<std::string> outputs;
  if (commandLine.writeCsvFile)
    outputs.push_back(commandLine.csvFileName);
  if (commandLine.writeQifFile)
    outputs.push_back(commandLine.qifFileName);
  for (const std::string& output : outputs) {
    for (const std::string& input : inputs) {
      if (sameFile(output, input)) {
        err << "Refusing to write " << output << ": it is the backup database " << input << "\n";
        return false;
      }
    }
  }
  if (outputs.size() == 2 && sameFile(outputs[0], outputs[1])) {
    err << "Refusing to write " << outputs[0] << ": the CSV and QIF outputs are the same file\n";
    return false;
  }
  return true;
}

void warnIfDamaged(const std::string& path, const DamageReport& damage, std::ostream& err) {
  if (!damage.damaged())
    return;
  err << "Warning: " << path << " is damaged: " << damage.unreadableRecords << " of "
      << damage.recordCount << " records could not be read\n";
}

}  // namespace

int runProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  const std::string programName = arguments.empty() ? std::string() : arguments[0];
  const std::string usageText = buildUsageText(programName);
  const std::vector<std::string> switches(arguments.begin() + (arguments.empty() ? 0 : 1),
                                          arguments.end());
  if (isHelpRequest(switches)) {
    out << usageText;
    out.flush();
    return 1;
  }
  if (isVersionRequest(switches)) {
    out << "qmxexport " << QMX_VERSION << "\n";
    out.flush();
    return 0;
  }
  CommandLine commandLine;
  parseSwitches(switches, commandLine);
  RunOptions& options = commandLine.options;

  if (!resolveDate(commandLine.fromText, options.monthFirst, &options.fromDay, err) ||
      !resolveDate(commandLine.toText, options.monthFirst, &options.toDay, err)) {
    return 1;
  }

  ensureTrailingSeparator(commandLine.databaseFolder);
  if (!backupFilesPresent(commandLine.databaseFolder)) {
    if (!browseForBackupFolder(nullptr, commandLine.databaseFolder))
      return 1;
    if (!commandLine.writeCsvFile) {
      commandLine.csvFileName = askCsvFileName(nullptr, {{"Excel CSV File (*.csv)", "*.csv"}}, 1);
      commandLine.writeCsvFile = !commandLine.csvFileName.empty();
    }
  }

  const std::string listPath = commandLine.databaseFolder + kListDatabaseFileName;
  const std::string transactionPath = commandLine.databaseFolder + kTransactionDatabaseFileName;
  if (commandLine.writeCsvFile)
    completeOutputName(commandLine.csvFileName, ".csv");
  if (commandLine.writeQifFile)
    completeOutputName(commandLine.qifFileName, ".qif");
  if (!outputsAreSafe(commandLine, {listPath, transactionPath}, err))
    return 1;

  ListDatabase listDatabase;
  if (!listDatabase.read(listPath)) {
    out << "Unable to find PDB file: " << listPath << "\n";
    out.flush();
    return 1;
  }
  warnIfDamaged(listPath, listDatabase.damage, err);
  TransactionDatabase transactionDatabase;
  if (!transactionDatabase.read(transactionPath)) {
    out << "Unable to find PDB file: " << transactionPath << "\n";
    out.flush();
    return 1;
  }
  warnIfDamaged(transactionPath, transactionDatabase.damage, err);

  ExportOutcome outcome = exportTransactions(
      listDatabase, transactionDatabase, options, commandLine.writeCsvFile, commandLine.csvFileName,
      commandLine.writeQifFile, commandLine.qifFileName, out);
  out.flush();
  std::vector<std::string>& failedOutputs = outcome.failedOutputs;
  if (!out && std::find(failedOutputs.begin(), failedOutputs.end(), "") == failedOutputs.end()) {
    failedOutputs.emplace_back();  // standard output failed on its last flush
  }
  for (const std::string& failed : outcome.failedOutputs) {
    if (failed.empty()) {
      err << "Unable to write to standard output\n";
    } else {
      err << "Unable to write output file: " << failed << "\n";
    }
  }
  const bool damaged = listDatabase.damage.damaged() || transactionDatabase.damage.damaged();
  return outcome.complete() && !damaged ? 0 : 1;
}
