// Writes a backup full of the texts and numbers that trip importers up
// (quotes, commas, semicolons, line breaks, accented and Windows-1252-only
// bytes, amounts with and without decimals, both cleared marks) into FOLDER,
// together with FOLDER/expected.tsv: what a reader of the exports must find,
// derived from the values written here and not from the converter.
//   make_importer_fixture FOLDER
//
// expected.tsv, one record a line, fields separated by tabs, every text as
// the hex of its bytes in the handheld's character set:
//   account  NAME                      the QIF account list, in order
//   txn      CSV-ACCOUNT QIF-ACCOUNT YYYY-MM-DD AMOUNT STATUS NUMBER PAYEE MEMO CATEGORY
// AMOUNT is signed (negative for a debit) in the account's currency with a
// point, STATUS is empty, "cleared" or "reconciled".
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "pdb_builder.h"

namespace {

enum : uint32_t {
  kEuro = 0x101,
  kYen = 0x102,
  kDollar = 0x103,
  kMain = 0x201,
  kReserve = 0x202,
  kCard = 0x203,
  kFood = 0x301,
  kCafes = 0x302,
  kSalary = 0x303,
};

const char kNoAccountName[] = "Unfiled";

struct Account {
  uint32_t id;
  uint32_t currencyId;
  bool hasDecimals;
  std::string name;
};

const Account kAccounts[] = {
    {kMain, kEuro, true, "Ch\xE8que \"Main\", Inc."},
    {kReserve, kYen, false,
     "\x80 Reserve \xAB"
     "D\xE9p\xF4t\xBB"},
    {kCard, kDollar, true, "Visa; 50% \x93Gold\x94"},
};

struct Category {
  uint32_t id;
  std::string name;
};

const Category kCategories[] = {
    {kFood, "Food, drink & \"fun\""},
    {kCafes, "Caf\xE9s"},
    {kSalary, "Salary \x96 net"},
};

// One transaction with its amount in minor units of the account currency
// (cents, or whole yen), so the expected amount text needs no rounding.
struct Entry {
  int year, month, day;
  uint32_t accountId;
  uint32_t categoryId;
  int64_t minorUnits;
  bool debit, cleared, reconciled;
  std::string payee, checkNumber, memo;
  bool exported = true;  // false for a date that is never exported
};

const Entry kEntries[] = {
    {2004, 3, 15, kMain, kFood, 1250, true, true, false, "Caf\xE9, \"Le Bon\"", "101",
     "line one\nline two"},
    {2004, 3, 16, kMain, kSalary, 250000, false, true, true, "Employer \"ACME\", Ltd.", "", ""},
    {2004, 3, 17, kReserve, kSalary, 15000, false, false, true, "M\xFCller\rBank", "",
     "dep\xF4t\r\nsecond line"},
    {2004, 3, 18, 0, 0, 799, true, false, false, "Kiosk", "", "cash \x85 no account"},
    {2004, 3, 19, kCard, kCafes, 123456, true, true, false, "O'Brien's \"Pub\"; bar", "A-7",
     "tip: 10%, \"great\""},
    {2004, 3, 20, kMain, kFood, 9999999, true, true, false, "\x8A\x9A\x8E\x9E\x9F \x84quoted\x93",
     "102", "\"\"\"\""},
    {2000, 2, 29, kReserve, kFood, 1, true, false, false, "Leap day, 2000", "", ""},
    {2099, 12, 31, kMain, kCafes, 1, false, false, true, "", "", ""},
    {2004, 13, 1, kMain, kFood, 500, true, false, false, "Never exported", "", "", false},
    {2004, 3, 21, kCard, 0, 4210, false, false, false, "Refund, \"partial\"", "",
     "memo with a\ttab"},
    {2004, 3, 22, kMain, kCafes, 7, true, true, true, "\xC6\xD8\xC5 \xDF\xFF", "9", "last"},
};

const Account* findAccount(uint32_t id) {
  for (const Account& account : kAccounts) {
    if (account.id == id)
      return &account;
  }
  return nullptr;
}

std::string categoryName(uint32_t id) {
  for (const Category& category : kCategories) {
    if (category.id == id)
      return category.name;
  }
  return "Unfiled";
}

// The amount in the account's currency: cents with decimals, yen without.
double accountValue(const Entry& entry) {
  const Account* account = findAccount(entry.accountId);
  const bool decimals = account == nullptr || account->hasDecimals;  // no account: home euro
  return decimals ? static_cast<double>(entry.minorUnits) / 100.0
                  : static_cast<double>(entry.minorUnits);
}

fixture::Bytes listDatabase() {
  fixture::PdbFile file = fixture::listFile(kNoAccountName);
  file.addRecord(fixture::currencyRecord(true, true, "EUR"), kEuro);
  file.addRecord(fixture::currencyRecord(false, false, "JPY", 130.0, 0.0077), kYen);
  file.addRecord(fixture::currencyRecord(true, false, "USD", 1.2, 0.83), kDollar);
  for (const Account& account : kAccounts) {
    file.addRecord(fixture::accountRecord(account.currencyId, account.name), account.id);
  }
  for (const Category& category : kCategories) {
    file.addRecord(fixture::categoryRecord(category.name), category.id);
  }
  return file.build();
}

fixture::Bytes transactionDatabase() {
  fixture::PdbFile file = fixture::transactionFile();
  uint32_t id = 0x600001;
  for (const Entry& entry : kEntries) {
    fixture::Txn txn;
    txn.year = entry.year;
    txn.month = entry.month;
    txn.day = entry.day;
    txn.hour = 12;
    txn.minute = 30;
    txn.accountId = entry.accountId;
    txn.categoryId = entry.categoryId;
    const Account* account = findAccount(entry.accountId);
    txn.currencyId = account != nullptr ? account->currencyId : kEuro;
    txn.amount = txn.accountAmount = accountValue(entry);
    txn.debit = entry.debit;
    txn.cleared = entry.cleared;
    txn.reconciled = entry.reconciled;
    txn.payee = entry.payee;
    txn.checkNumber = entry.checkNumber;
    txn.memo = entry.memo;
    file.addRecord(fixture::transactionRecord(txn), id++);
  }
  return file.build();
}

std::string hex(const std::string& text) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : text) {
    out += kDigits[c >> 4];
    out += kDigits[c & 0xF];
  }
  return out;
}

std::string amountText(const Entry& entry) {
  const Account* account = findAccount(entry.accountId);
  const bool decimals = account == nullptr || account->hasDecimals;
  char text[64];
  const long long units = static_cast<long long>(entry.minorUnits);
  if (decimals) {
    std::snprintf(text, sizeof text, "%s%lld.%02lld", entry.debit ? "-" : "", units / 100,
                  units % 100);
  } else {
    std::snprintf(text, sizeof text, "%s%lld", entry.debit ? "-" : "", units);
  }
  return text;
}

std::string expectedListing() {
  std::string out;
  for (const Account& account : kAccounts)
    out += "account\t" + hex(account.name) + "\n";
  const std::string unfiledAccount = std::string(kNoAccountName) + " Account";
  out += "account\t" + hex(unfiledAccount) + "\n";
  for (const Entry& entry : kEntries) {
    if (!entry.exported)
      continue;
    const Account* account = findAccount(entry.accountId);
    const std::string csvAccount = account != nullptr ? account->name : kNoAccountName;
    const std::string qifAccount = account != nullptr ? account->name : unfiledAccount;
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", entry.year, entry.month, entry.day);
    const char* status = entry.reconciled ? "reconciled" : entry.cleared ? "cleared" : "";
    out += "txn\t" + hex(csvAccount) + "\t" + hex(qifAccount) + "\t" + date + "\t" +
           amountText(entry) + "\t" + status + "\t" + hex(entry.checkNumber) + "\t" +
           hex(entry.payee) + "\t" + hex(entry.memo) + "\t" + hex(categoryName(entry.categoryId)) +
           "\n";
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_importer_fixture FOLDER\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  std::ofstream expected(folder + "expected.tsv", std::ios::binary | std::ios::trunc);
  expected << expectedListing();
  expected.close();
  if (!expected || !fixture::writeFile(folder + "QMXListDB.pdb", listDatabase()) ||
      !fixture::writeFile(folder + "QMXTransDB.pdb", transactionDatabase())) {
    std::fprintf(stderr, "make_importer_fixture: cannot write into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
