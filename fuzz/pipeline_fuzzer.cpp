// The whole way from file bytes to output: both databases carved from one
// input, run options picked by its head, the export written into memory as
// CSV and QIF. Besides the sanitizers it checks that the QIF output never
// changes the CSV lines.
#include <array>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "export/export_driver.h"
#include "frontend/run_options.h"
#include "fuzz_checks.h"
#include "pdb/list_database.h"
#include "pdb/transaction_database.h"
#include "pipeline_input.h"

namespace {

const std::array<const char*, 4> kDecimalSymbols = {".", ",", "", "x"};
const std::array<const char*, 4> kDateSeparators = {"/", "-", "", "."};
const std::array<const char*, 4> kTimeSeparators = {":", ".", ",", ""};

uint16_t bigEndian16(const uint8_t* bytes) {
  return static_cast<uint16_t>((bytes[0] << 8) | bytes[1]);
}

std::string accountChoice(unsigned choice, const ListDatabase& listDatabase) {
  switch (choice) {
    case 1:
      return "all";
    case 2:
      return listDatabase.accounts.empty() ? "" : fieldText(listDatabase.accounts[0].name);
    case 3:
      return "aLL";
    default:
      return "All";
  }
}

RunOptions optionsFromHead(const uint8_t* head, const ListDatabase& listDatabase) {
  RunOptions options;
  const uint8_t bits = head[0];
  options.monthFirst = (bits & kDayFirst) == 0;
  options.twoDigitYear = (bits & kTwoDigitYear) != 0;
  options.clearedOnly = (bits & kClearedOnly) != 0;
  options.reconciledOnly = (bits & kReconciledOnly) != 0;
  options.accountName = accountChoice((bits >> kAccountChoiceShift) & 3, listDatabase);
  options.decimalSymbol = kDecimalSymbols[head[1] & 3];
  options.dateSeparator = kDateSeparators[(head[1] >> 2) & 3];
  options.timeSeparator = kTimeSeparators[(head[1] >> 4) & 3];
  if (bits & kUseDateRange) {
    options.fromDay = bigEndian16(head + 4);
    const uint16_t toDay = bigEndian16(head + 6);
    options.toDay = toDay == 0xFFFF ? 0xFFFFFFFFu : toDay;
  }
  return options;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kPipelineHeadSize)
    return 0;
  const uint8_t* head = data;
  size_t listLength = bigEndian16(head + 2);
  if (listLength > size - kPipelineHeadSize)
    listLength = size - kPipelineHeadSize;
  const uint8_t* listStart = data + kPipelineHeadSize;
  const std::vector<uint8_t> listImage(listStart, listStart + listLength);
  const std::vector<uint8_t> transactionImage(listStart + listLength, data + size);

  ListDatabase listDatabase;
  TransactionDatabase transactionDatabase;
  if (!listDatabase.readImage(listImage))
    return 0;
  if (!transactionDatabase.readImage(transactionImage))
    return 0;

  const RunOptions options = optionsFromHead(head, listDatabase);
  const bool withCsv = (head[0] & kNoCsvStream) == 0;
  std::ostringstream csv;
  std::ostringstream qif;
  writeExport(listDatabase, transactionDatabase, options, withCsv ? &csv : nullptr, &qif);
  if (withCsv) {
    std::ostringstream csvAlone;
    writeExport(listDatabase, transactionDatabase, options, &csvAlone, nullptr);
    expect(csvAlone.str() == csv.str());
  }
  return 0;
}
