// The transaction backup (QMXTransDB.pdb): every record read into memory and
// sorted by its entry kind; kind 2 holds the regular transactions that are
// exported, kinds 0 and 1 are kept but never read.
#ifndef QMX_PDB_TRANSACTION_DATABASE_H_
#define QMX_PDB_TRANSACTION_DATABASE_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "pdb/byte_reader.h"
#include "pdb/container.h"

struct TransactionRecord {
  int8_t day = 0;
  int8_t month = 0;
  int16_t year = 0;
  int8_t hour = 0;
  int8_t minute = 0;
  uint16_t entryKind = 0;
  uint32_t accountId = 0;
  uint32_t transferAccountId = 0;
  uint32_t categoryId = 0;
  uint32_t currencyId = 0;
  double amount = 0.0;
  double accountAmount = 0.0;
  uint8_t isDebit = 0;
  uint8_t auxByte1 = 0;
  uint32_t auxValue = 0;
  uint16_t auxWord = 0;
  uint8_t isTax = 0;
  uint8_t isCleared = 0;
  uint8_t isReconciled = 0;
  uint8_t auxByte2 = 0;
  uint8_t auxByte3 = 0;
  std::array<char, 100> payee{};
  std::array<char, 20> checkNumber{};
  std::array<char, 305> memo{};

  // The 53 fixed bytes, then the three texts. False when the record runs
  // past the end of the file.
  bool readFrom(ByteReader& in);
};

struct TransactionDatabase {
  PdbHeader header;
  std::array<uint8_t, 276> appInfo{};
  std::vector<TransactionRecord> kind0Entries;
  std::vector<TransactionRecord> kind1Entries;
  std::vector<TransactionRecord> transactions;
  DamageReport damage;

  // True for a file identified as creator "QZ05", type "Dat2" (also when it
  // is damaged: see `damage`); false for a missing or foreign file.
  bool read(const std::string& path);
  bool readImage(const std::vector<uint8_t>& image);
};

#endif  // QMX_PDB_TRANSACTION_DATABASE_H_
