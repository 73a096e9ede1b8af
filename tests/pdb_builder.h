// Writes Palm backup databases byte by byte for the tests: the header, the
// record list with attribute bytes and unique IDs, the gap, the
// application-info block and record data, laid out or placed by hand.
#ifndef QMX_TESTS_PDB_BUILDER_H_
#define QMX_TESTS_PDB_BUILDER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fixture {

using Bytes = std::vector<uint8_t>;

void putU8(Bytes& out, uint8_t value);
void putU16(Bytes& out, uint16_t value);  // big-endian
void putU32(Bytes& out, uint32_t value);
void putF64(Bytes& out, double value);
void putF64Bits(Bytes& out, uint64_t bits);
// The text's bytes and, unless terminate is false, a NUL.
void putText(Bytes& out, const std::string& text, bool terminate = true);

struct Entry {
  uint32_t offset = 0;
  bool relative = true;  // offset counts from the start of the record data
  uint8_t attributes = 0;
  uint32_t uniqueId = 0;
};

struct PdbFile {
  std::string creator = "QZ05";  // padded with NULs to 4 bytes
  std::string type = "Dat2";
  uint32_t appInfoOffset = 0;           // 0: the true position of the block
  std::optional<uint16_t> recordCount;  // default: entries.size()
  Bytes gap = {0, 0};
  Bytes appInfo;  // follows the gap
  std::vector<Entry> entries;
  Bytes data;  // the record data, after the application-info block

  // Appends a record to the data and an entry pointing at it.
  void addRecord(const Bytes& record, uint32_t uniqueId, uint8_t attributes = 0);
  // Offset of the record data in the built file.
  uint32_t dataStart() const;
  Bytes build() const;
};

// A list database (type "Dat1") with its 322-byte block naming noAccountName.
PdbFile listFile(const std::string& noAccountName = "Unfiled");
// A transaction database (type "Dat2") with a zero 276-byte block.
PdbFile transactionFile();

Bytes accountRecord(uint32_t currencyId, const std::string& name,
                    const std::string& extraText = "");
Bytes labelRecord(const std::string& label);
Bytes currencyRecord(bool hasDecimals, bool isHome, const std::string& code, double rateA = 1.0,
                     double rateB = 1.0);
Bytes categoryRecord(const std::string& name);

struct Txn {
  int day = 1;
  int month = 1;
  int year = 2004;
  int hour = 0;
  int minute = 0;
  uint16_t entryKind = 2;
  uint32_t accountId = 0;
  uint32_t transferAccountId = 0;
  uint32_t categoryId = 0;
  uint32_t currencyId = 0;
  double amount = 0.0;
  double accountAmount = 0.0;
  bool debit = false;
  bool tax = false;
  bool cleared = false;
  bool reconciled = false;
  std::string payee;
  std::string checkNumber;
  std::string memo;
};
Bytes transactionRecord(const Txn& txn);

// Writes bytes to a file; false when it cannot be written.
bool writeFile(const std::string& path, const Bytes& bytes);

}  // namespace fixture

#endif  // QMX_TESTS_PDB_BUILDER_H_
