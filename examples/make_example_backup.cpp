// Writes the example backup, a small two-year household ledger, as
// QMXListDB.pdb and QMXTransDB.pdb into the folder given as argument.
//   make_example_backup examples
#include <cstdio>
#include <string>
#include <vector>

#include "pdb_builder.h"

namespace {

enum : uint32_t {
  kUsd = 0x101,
  kJpy = 0x102,
  kChecking = 0x201,
  kVisa = 0x202,
  kTokyo = 0x203,
  kGroceries = 0x301,
  kSalary = 0x302,
  kRent = 0x303,
  kDining = 0x304,
  kTravel = 0x305,
  kUtilities = 0x306,
  kGifts = 0x307,
  kMissingCategory = 0x3FF,  // refers to a category that is not in the list
};

fixture::Bytes listDatabase() {
  fixture::PdbFile file = fixture::listFile("Unfiled");
  file.addRecord(fixture::currencyRecord(true, true, "USD"), kUsd);
  file.addRecord(fixture::currencyRecord(false, false, "JPY", 150.0, 0.0066667), kJpy);
  file.addRecord(fixture::accountRecord(kUsd, "US Checking", "Main household account"), kChecking);
  file.addRecord(fixture::accountRecord(kUsd, "Visa Card"), kVisa);
  file.addRecord(fixture::accountRecord(kJpy, "Tokyo Savings", "Opened during the posting"),
                 kTokyo);
  file.addRecord(fixture::labelRecord("Business"), 0x401);
  file.addRecord(fixture::labelRecord("Personal"), 0x402);
  const char* categories[] = {"Groceries", "Salary",    "Rent", "Dining",
                              "Travel",    "Utilities", "Gifts"};
  uint32_t id = kGroceries;
  for (const char* name : categories)
    file.addRecord(fixture::categoryRecord(name), id++);
  return file.build();
}

fixture::Txn txn(int year, int month, int day, uint32_t account, uint32_t category,
                 const std::string& payee, double amount, bool debit) {
  fixture::Txn t;
  t.year = year;
  t.month = month;
  t.day = day;
  t.hour = 9 + day % 10;
  t.minute = (day * 7) % 60;
  t.accountId = account;
  t.categoryId = category;
  t.currencyId = account == kTokyo ? kJpy : kUsd;
  t.amount = amount;
  t.accountAmount = amount;
  t.debit = debit;
  t.payee = payee;
  return t;
}

fixture::Bytes transactionDatabase() {
  std::vector<fixture::Txn> ledger = {
      txn(2025, 1, 2, kChecking, kSalary, "Acme Tools Inc.", 3200.00, false),
      txn(2025, 1, 3, kChecking, kRent, "Maple Street Apartments", 1150.00, true),
      txn(2025, 1, 9, kVisa, kGroceries, "Green Grocer", 84.37, true),
      txn(2025, 1, 15, kChecking, kUtilities, "City Power & Light", 96.12, true),
      txn(2025, 2, 1, kChecking, kSalary, "Acme Tools Inc.", 3200.00, false),
      txn(2025, 2, 3, kChecking, kRent, "Maple Street Apartments", 1150.00, true),
      txn(2025, 2, 14, kVisa, kDining, "Luigi's, Trattoria", 72.50, true),
      txn(2025, 3, 1, kChecking, kSalary, "Acme Tools Inc.", 3200.00, false),
      txn(2025, 3, 22, kVisa, kGifts, "The \"Corner\" Bookshop", 23.99, true),
      txn(2025, 4, 10, kTokyo, kTravel, "Shinkansen ticket", 14170, true),
      txn(2025, 4, 11, kTokyo, kDining, "Ramen stand", 980, true),
      txn(2025, 4, 12, kTokyo, kTravel, "Hotel refund", 5500, false),
      txn(2025, 6, 30, kChecking, kUtilities, "Water Board", 41.05, true),
      txn(2025, 9, 5, kVisa, kGroceries, "Green Grocer", 102.64, true),
      txn(2025, 12, 24, kChecking, kGifts, "Toy Barn", 149.99, true),
      txn(2026, 1, 2, kChecking, kSalary, "Acme Tools Inc.", 3350.00, false),
      txn(2026, 1, 3, kChecking, kRent, "Maple Street Apartments", 1195.00, true),
      txn(2026, 2, 28, kVisa, kDining, "Luigi's, Trattoria", 64.20, true),
      txn(2026, 4, 15, kChecking, kRent, "Tax office", 412.00, true),
      txn(2026, 6, 1, kChecking, kGroceries, "Farmers market", 37.75, true),
      txn(2026, 8, 19, kTokyo, kTravel, "Airport limousine bus", 3200, true),
      txn(2026, 10, 31, kVisa, kDining, "Pumpkin Patch Cafe", 18.40, true),
  };
  for (size_t i = 0; i < ledger.size(); ++i) {
    ledger[i].cleared = i < 18;
    ledger[i].reconciled = i < 12;
  }
  ledger[0].checkNumber = "DEP-0125";
  ledger[1].checkNumber = "1001";
  ledger[5].checkNumber = "1002";
  ledger[16].checkNumber = "1017";
  ledger[18].tax = true;
  ledger[18].categoryId = kMissingCategory;
  ledger[18].memo = "Estimated payment\nsecond quarter";
  ledger[8].memo = "Birthday present for Sam";

  // A transfer that pays the card from the checking account.
  fixture::Txn payment = txn(2025, 2, 20, kChecking, 0, "Visa payment", 180.36, true);
  payment.transferAccountId = kVisa;
  payment.cleared = payment.reconciled = true;
  payment.memo = "January statement";
  ledger.insert(ledger.begin() + 7, payment);
  fixture::Txn received = payment;
  received.accountId = kVisa;
  received.transferAccountId = kChecking;
  received.debit = false;
  ledger.insert(ledger.begin() + 8, received);

  // Yen spent on the dollar account: the amount follows the yen, the
  // account amount the dollar.
  fixture::Txn souvenir = txn(2025, 4, 13, kChecking, kGifts, "Kyoto souvenir shop", 12000, true);
  souvenir.currencyId = kJpy;
  souvenir.accountAmount = 80.40;
  souvenir.cleared = true;
  ledger.push_back(souvenir);

  // Cash spent without an account, and one whose account is unknown.
  fixture::Txn cash = txn(2025, 7, 4, 0, kDining, "Hot dog stand", 6.50, true);
  ledger.push_back(cash);
  fixture::Txn orphan = txn(2026, 3, 8, 0x2FF, kGroceries, "Corner store", 12.30, true);
  ledger.push_back(orphan);
  ledger.push_back(txn(2026, 11, 20, kChecking, kSalary, "Acme Tools Inc.", 3350.00, false));
  ledger.push_back(txn(2026, 11, 30, kVisa, 0, "Online order", 45.00, true));

  fixture::PdbFile file = fixture::transactionFile();
  uint32_t id = 0x500001;
  for (const fixture::Txn& t : ledger)
    file.addRecord(fixture::transactionRecord(t), id++);
  // A kind-0 entry that the export never reads.
  fixture::Txn setting;
  setting.entryKind = 0;
  file.addRecord(fixture::transactionRecord(setting), id++);
  return file.build();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_example_backup FOLDER\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  if (!fixture::writeFile(folder + "QMXListDB.pdb", listDatabase()) ||
      !fixture::writeFile(folder + "QMXTransDB.pdb", transactionDatabase())) {
    std::fprintf(stderr, "make_example_backup: cannot write into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
