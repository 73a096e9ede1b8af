// Writes a backup of the largest size the database format allows, for the
// benchmark: up to 65,535 transaction records (the record count is 16 bits)
// whose payee, number and memo texts fill their fields, and a list database
// with the chosen number of accounts, three currencies and 50 categories.
//
//   make_bench_backup FOLDER RECORDS ACCOUNTS
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "pdb_builder.h"

namespace {

// A fixed pseudo-random sequence, so that every run writes the same files.
struct Sequence {
  uint32_t state = 2463534242u;
  uint32_t next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  uint32_t below(uint32_t limit) { return next() % limit; }
};

constexpr uint32_t kFirstAccountId = 1;
constexpr uint32_t kFirstCurrencyId = 0x100000;
constexpr uint32_t kFirstCategoryId = 0x200000;
constexpr uint32_t kCurrencies = 3;
constexpr uint32_t kCategories = 50;

// A text of exactly `length` characters, varied by the sequence; a line
// feed every `lineLength` characters when lineLength is not 0.
std::string filledText(Sequence& sequence, size_t length, size_t lineLength) {
  static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789";
  std::string text(length, ' ');
  for (size_t i = 0; i < length; ++i) {
    const bool lineEnd = lineLength != 0 && i % lineLength == lineLength - 1;
    text[i] = lineEnd ? '\n' : kLetters[sequence.below(sizeof kLetters - 1)];
  }
  return text;
}

fixture::PdbFile listDatabase(uint32_t accounts) {
  fixture::PdbFile file = fixture::listFile("Unfiled");
  Sequence sequence;
  for (uint32_t i = 0; i < accounts; ++i) {
    char name[50];
    std::snprintf(name, sizeof name, "Account %05u ", static_cast<unsigned>(i));
    const std::string fullName = name + filledText(sequence, 35, 0);
    file.addRecord(fixture::accountRecord(kFirstCurrencyId + i % kCurrencies, fullName,
                                          filledText(sequence, 303, 0)),
                   kFirstAccountId + i);
  }
  file.addRecord(fixture::currencyRecord(true, true, "USD"), kFirstCurrencyId);
  file.addRecord(fixture::currencyRecord(true, false, "EUR", 0.9, 1.1), kFirstCurrencyId + 1);
  file.addRecord(fixture::currencyRecord(false, false, "JPY", 108.5, 0.0092), kFirstCurrencyId + 2);
  for (uint32_t i = 0; i < kCategories; ++i) {
    file.addRecord(fixture::categoryRecord("Category " + filledText(sequence, 41, 0)),
                   kFirstCategoryId + i);
  }
  return file;
}

fixture::Txn transaction(Sequence& sequence, uint32_t accounts) {
  fixture::Txn txn;
  txn.day = 1 + sequence.below(28);
  txn.month = 1 + sequence.below(12);
  txn.year = 1990 + sequence.below(20);
  txn.hour = sequence.below(24);
  txn.minute = sequence.below(60);
  txn.accountId = kFirstAccountId + sequence.below(accounts);
  txn.transferAccountId = sequence.below(10) == 0 ? kFirstAccountId + sequence.below(accounts) : 0;
  txn.categoryId = kFirstCategoryId + sequence.below(kCategories);
  txn.currencyId = kFirstCurrencyId + sequence.below(kCurrencies);
  txn.amount = static_cast<double>(sequence.below(10000000)) / 100.0;
  txn.accountAmount = txn.amount * 1.0625;
  txn.debit = sequence.below(2) == 0;
  txn.tax = sequence.below(5) == 0;
  txn.cleared = sequence.below(2) == 0;
  txn.reconciled = sequence.below(3) == 0;
  txn.payee = filledText(sequence, 99, 0);
  txn.checkNumber = std::to_string(1000000000u + sequence.below(1000000000u)) + "-12345678";
  txn.memo = filledText(sequence, 304, 61);
  return txn;
}

fixture::PdbFile transactionDatabase(uint32_t records, uint32_t accounts) {
  fixture::PdbFile file = fixture::transactionFile();
  Sequence sequence;
  for (uint32_t i = 0; i < records; ++i) {
    file.addRecord(fixture::transactionRecord(transaction(sequence, accounts)), 0x300000 + i);
  }
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: make_bench_backup FOLDER RECORDS ACCOUNTS\n";
    return 2;
  }
  const std::string folder = argv[1];
  const unsigned long records = std::strtoul(argv[2], nullptr, 10);
  const unsigned long accounts = std::strtoul(argv[3], nullptr, 10);
  if (records > 65535 || accounts == 0 || accounts > 65535 - 53) {
    std::cerr << "RECORDS must be at most 65535, ACCOUNTS from 1 to 65482\n";
    return 2;
  }
  const bool written = fixture::writeFile(folder + "/QMXListDB.pdb",
                                          listDatabase(static_cast<uint32_t>(accounts)).build()) &&
                       fixture::writeFile(folder + "/QMXTransDB.pdb",
                                          transactionDatabase(static_cast<uint32_t>(records),
                                                              static_cast<uint32_t>(accounts))
                                              .build());
  if (!written)
    std::cerr << "cannot write the backup into " << folder << "\n";
  return written ? 0 : 1;
}
