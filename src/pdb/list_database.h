// The list backup (QMXListDB.pdb): accounts, labels, currencies and
// categories, each tagged with its record-list unique ID, with look-ups by
// ID that return a position or the collection's size when nothing matches.
#ifndef QMX_PDB_LIST_DATABASE_H_
#define QMX_PDB_LIST_DATABASE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "pdb/byte_reader.h"
#include "pdb/container.h"

struct ListAppInfo {
  std::array<uint8_t, 292> reserved{};
  std::array<char, 30> noAccountName{};
};

struct AccountRecord {
  uint32_t uniqueId = 0;
  uint16_t kind = 0;
  uint32_t auxValue1 = 0;
  uint32_t currencyId = 0;
  double creditLimit = 0.0;
  uint32_t auxValue2 = 0;
  std::array<char, 50> name{};
  std::array<char, 304> extraText{};

  // False when the record runs past the end of the file.
  bool readFrom(ByteReader& in);
};

struct LabelRecord {
  uint32_t uniqueId = 0;
  uint16_t kind = 0;
  std::array<char, 52> label{};

  bool readFrom(ByteReader& in);
};

struct CurrencyRecord {
  uint32_t uniqueId = 0;
  uint16_t kind = 0;
  uint8_t hasDecimals = 0;
  uint8_t isHome = 0;
  double rateA = 0.0;
  double rateB = 0.0;
  std::array<char, 8> code{};

  bool readFrom(ByteReader& in);
};

// Two decimals, code "???", both rates 1.0, not a home currency.
CurrencyRecord defaultCurrency();

struct CategoryRecord {
  uint32_t uniqueId = 0;
  uint16_t kind = 0;
  std::array<uint8_t, 3> attributeBytes{};
  std::array<char, 51> name{};

  bool readFrom(ByteReader& in);
};

struct ListDatabase {
  PdbHeader header;
  ListAppInfo appInfo;
  std::vector<AccountRecord> accounts;
  std::vector<LabelRecord> labels;
  std::vector<CurrencyRecord> currencies;
  std::vector<CategoryRecord> categories;
  DamageReport damage;

  // True for a file identified as creator "QZ05", type "Dat1" (also when it
  // is damaged: see `damage`); false for a missing or foreign file.
  bool read(const std::string& path);
  // The same on a file image already in memory.
  bool readImage(const std::vector<uint8_t>& image);

  std::string noAccountName() const { return fieldText(appInfo.noAccountName); }

  // First match in record-list order, or the collection's size.
  size_t findAccount(uint32_t id) const;
  size_t findCurrency(uint32_t id) const;
  size_t findHomeCurrency() const;
  size_t findCategory(uint32_t id) const;

  // Rebuilds the ID indexes behind the look-ups; read() calls it. Whoever
  // fills the collections by hand calls it afterwards.
  void buildIndexes();

 private:
  // Reads one record by its kind into its collection; a kind other than 0..3
  // is passed over. False when the record runs past the end of the file.
  bool readRecord(const std::vector<uint8_t>& image, const RecordListEntry& entry);

  std::unordered_map<uint32_t, size_t> accountIndex_;
  std::unordered_map<uint32_t, size_t> currencyIndex_;
  std::unordered_map<uint32_t, size_t> categoryIndex_;
  size_t homeCurrencyIndex_ = 0;
};

#endif  // QMX_PDB_LIST_DATABASE_H_
