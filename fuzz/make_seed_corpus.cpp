// Writes the seed corpora of the fuzz targets: list and transaction
// databases built byte by byte (typical, empty, overlong and unterminated
// texts, odd amounts and dates, shared and out-of-order record offsets,
// truncated files) and whole-pipeline inputs that pair them with run
// options. With a backup folder as second argument its two databases are
// added as well.
//
//   make_seed_corpus CORPUS_FOLDER [BACKUP_FOLDER]
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "pdb_builder.h"
#include "pipeline_input.h"

using fixture::Bytes;
using fixture::PdbFile;
using fixture::Txn;

namespace {

using Seed = std::pair<std::string, Bytes>;

PdbFile typicalList() {
  PdbFile file = fixture::listFile("Unfiled");
  file.addRecord(fixture::accountRecord(10, "US Checking"), 1);
  file.addRecord(fixture::accountRecord(11, "Savings", "opened 1999"), 2, 0x80);
  file.addRecord(fixture::labelRecord("Payees"), 3);
  file.addRecord(fixture::currencyRecord(true, true, "USD"), 10);
  file.addRecord(fixture::currencyRecord(false, false, "JPY", 108.5, 0.0092), 11);
  file.addRecord(fixture::categoryRecord("Food"), 20);
  file.addRecord(fixture::categoryRecord("Rent"), 21);
  file.addRecord({0x00, 0x04, 0x01, 0x02}, 30);  // unknown kind
  file.addRecord({0xFF, 0xFF}, 31);              // negative kind
  return file;
}

PdbFile overlongList() {
  PdbFile file = fixture::listFile(std::string(30, 'N'));
  file.addRecord(fixture::accountRecord(10, std::string(60, 'A'), std::string(400, 'x')), 1);
  file.addRecord(fixture::labelRecord(std::string(80, 'L')), 3);
  file.addRecord(fixture::currencyRecord(true, true, "EURO1234"), 10);
  file.addRecord(fixture::categoryRecord(std::string(70, 'C')), 20);
  return file;
}

// Records listed out of file order, two entries sharing one offset.
PdbFile sharedOffsetsList() {
  PdbFile file = typicalList();
  std::swap(file.entries[0], file.entries[3]);
  file.entries.push_back(file.entries[0]);
  file.entries.back().uniqueId = 40;
  return file;
}

std::vector<Txn> typicalTransactions() {
  Txn rent;
  rent.day = 1, rent.month = 3, rent.year = 2003, rent.hour = 9, rent.minute = 5;
  rent.accountId = 1, rent.categoryId = 21, rent.currencyId = 10;
  rent.amount = rent.accountAmount = 850.0, rent.debit = true;
  rent.cleared = true, rent.payee = "Landlord, Inc.", rent.checkNumber = "1042";
  rent.memo = "March\nand the \"deposit\"";
  Txn transfer = rent;
  transfer.day = 15, transfer.transferAccountId = 2, transfer.categoryId = 0;
  transfer.amount = transfer.accountAmount = 200.0, transfer.reconciled = true;
  transfer.payee = "Transfer", transfer.memo = "";
  Txn yen = rent;
  yen.accountId = 2, yen.currencyId = 11, yen.amount = 12345.0, yen.accountAmount = 113.78;
  yen.tax = true, yen.debit = false, yen.payee = "Tokyo", yen.checkNumber = "";
  Txn unfiled = rent;
  unfiled.accountId = 0, unfiled.categoryId = 99, unfiled.currencyId = 0, unfiled.payee = "Cash";
  Txn missingAccount = rent;
  missingAccount.accountId = 77, missingAccount.transferAccountId = 78;
  Txn kind0 = rent, kind1 = rent, kind3 = rent;
  kind0.entryKind = 0, kind1.entryKind = 1, kind3.entryKind = 3;
  return {rent, transfer, yen, unfiled, missingAccount, kind0, kind1, kind3, rent};
}

std::vector<Txn> oddAmounts() {
  const double values[] = {std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           1e300,
                           -1e300,
                           -0.0,
                           0.005,
                           -2.675,
                           std::numeric_limits<double>::denorm_min(),
                           9007199254740993.0};
  std::vector<Txn> txns;
  for (double value : values) {
    Txn txn;
    txn.accountId = 1, txn.currencyId = 10 + txns.size() % 2;
    txn.amount = value, txn.accountAmount = -value;
    txns.push_back(txn);
  }
  return txns;
}

std::vector<Txn> oddDates() {
  const int dates[][5] = {{0, 1, 2004, 0, 0},    {31, 12, 1903, 23, 59}, {1, 1, 1904, 24, 60},
                          {29, 2, 2000, -1, -1}, {29, 2, 1900, 12, 0},   {32, 13, 2004, 0, 0},
                          {-1, -1, -1, 0, 0},    {31, 4, 32767, 0, 0},   {1, 1, 1999, 5, 7}};
  std::vector<Txn> txns;
  for (const auto& date : dates) {
    Txn txn;
    txn.day = date[0], txn.month = date[1], txn.year = date[2];
    txn.hour = date[3], txn.minute = date[4], txn.accountId = 2, txn.amount = 1.25;
    txns.push_back(txn);
  }
  return txns;
}

PdbFile transactionsFile(const std::vector<Txn>& txns) {
  PdbFile file = fixture::transactionFile();
  uint32_t uniqueId = 0x1000;
  for (const Txn& txn : txns)
    file.addRecord(fixture::transactionRecord(txn), uniqueId++);
  return file;
}

PdbFile overlongTransactions() {
  Txn txn;
  txn.accountId = 1, txn.amount = 5.0;
  txn.payee = std::string(150, 'P'), txn.checkNumber = std::string(30, '9');
  txn.memo = std::string(400, 'M');
  return transactionsFile({txn, txn});
}

// The last record's memo runs to the end of the file without its NUL.
Bytes unterminatedTransactions() {
  Bytes bytes = transactionsFile(typicalTransactions()).build();
  bytes.pop_back();
  return bytes;
}

Bytes cut(Bytes bytes, size_t keep) {
  if (bytes.size() > keep)
    bytes.resize(keep);
  return bytes;
}

Bytes readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writeSeeds(const std::string& folder, const std::vector<Seed>& seeds) {
  for (const Seed& seed : seeds) {
    if (!fixture::writeFile(folder + "/" + seed.first, seed.second)) {
      std::cerr << "cannot write " << folder << "/" << seed.first << "\n";
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: make_seed_corpus CORPUS_FOLDER [BACKUP_FOLDER]\n";
    return 2;
  }
  const std::string corpus = argv[1];
  const Bytes list = typicalList().build();
  const Bytes transactions = transactionsFile(typicalTransactions()).build();
  std::vector<Seed> lists = {
      {"typical", list},
      {"empty", fixture::listFile().build()},
      {"overlong_texts", overlongList().build()},
      {"shared_offsets", sharedOffsetsList().build()},
      {"cut_in_last_record", cut(list, list.size() - 3)},
      {"cut_in_record_list", cut(list, 90)},
  };
  std::vector<Seed> transactionSeeds = {
      {"typical", transactions},
      {"empty", fixture::transactionFile().build()},
      {"odd_amounts", transactionsFile(oddAmounts()).build()},
      {"odd_dates", transactionsFile(oddDates()).build()},
      {"overlong_texts", overlongTransactions().build()},
      {"unterminated_memo", unterminatedTransactions()},
      {"cut_in_fixed_part", cut(transactions, transactions.size() - 60)},
  };
  std::vector<Seed> pipeline = {
      {"typical", packPipelineInput(0, 0, 0, 0xFFFF, list, transactions)},
      {"day_first_short_year",
       packPipelineInput(kDayFirst | kTwoDigitYear, 0x15, 0, 0xFFFF, list, transactions)},
      {"cleared_reconciled",
       packPipelineInput(kClearedOnly | kReconciledOnly, 0, 0, 0xFFFF, list, transactions)},
      {"first_account_range", packPipelineInput(2 << kAccountChoiceShift | kUseDateRange, 0x2A,
                                                36000, 36300, list, transactions)},
      {"qif_only", packPipelineInput(kNoCsvStream, 0, 0, 0xFFFF, list, transactions)},
      {"odd_amounts",
       packPipelineInput(0, 1, 0, 0xFFFF, list, transactionsFile(oddAmounts()).build())},
      {"odd_dates",
       packPipelineInput(kTwoDigitYear, 0, 0, 0xFFFF, list, transactionsFile(oddDates()).build())},
      {"overlong_texts",
       packPipelineInput(0, 0, 0, 0xFFFF, overlongList().build(), overlongTransactions().build())},
  };
  if (argc > 2) {
    const std::string backup = argv[2];
    const Bytes exampleList = readFile(backup + "/QMXListDB.pdb");
    const Bytes exampleTransactions = readFile(backup + "/QMXTransDB.pdb");
    if (exampleList.empty() || exampleTransactions.empty()) {
      std::cerr << "no backup databases in " << backup << "\n";
      return 1;
    }
    lists.push_back({"example_backup", exampleList});
    transactionSeeds.push_back({"example_backup", exampleTransactions});
    pipeline.push_back(
        {"example_backup", packPipelineInput(0, 0, 0, 0xFFFF, exampleList, exampleTransactions)});
  }
  const bool written = writeSeeds(corpus + "/list_database", lists) &&
                       writeSeeds(corpus + "/transaction_database", transactionSeeds) &&
                       writeSeeds(corpus + "/pipeline", pipeline);
  return written ? 0 : 1;
}
