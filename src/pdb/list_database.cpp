#include "pdb/list_database.h"

#include <algorithm>

CurrencyRecord defaultCurrency() {
  CurrencyRecord currency;
  currency.uniqueId = 0;
  currency.kind = 2;
  currency.hasDecimals = 1;
  currency.isHome = 0;
  currency.rateA = 1.0;
  currency.rateB = 1.0;
  currency.code = {'?', '?', '?', 0, 0, 0, 0, 0};
  return currency;
}

namespace {

// First record of each unique ID, in record-list order.
template <typename Record>
std::unordered_map<uint32_t, size_t> indexById(const std::vector<Record>& records) {
  std::unordered_map<uint32_t, size_t> index;
  index.reserve(records.size());
  for (size_t i = 0; i < records.size(); ++i)
    index.emplace(records[i].uniqueId, i);
  return index;
}

size_t lookUp(const std::unordered_map<uint32_t, size_t>& index, uint32_t id, size_t absent) {
  auto found = index.find(id);
  return found == index.end() ? absent : found->second;
}

}  // namespace

void ListDatabase::buildIndexes() {
  accountIndex_ = indexById(accounts);
  currencyIndex_ = indexById(currencies);
  categoryIndex_ = indexById(categories);
  homeCurrencyIndex_ = currencies.size();
  for (size_t i = 0; i < currencies.size(); ++i) {
    if (currencies[i].isHome != 0) {
      homeCurrencyIndex_ = i;
      break;
    }
  }
}

size_t ListDatabase::findAccount(uint32_t id) const {
  return lookUp(accountIndex_, id, accounts.size());
}

size_t ListDatabase::findCurrency(uint32_t id) const {
  return lookUp(currencyIndex_, id, currencies.size());
}

size_t ListDatabase::findHomeCurrency() const {
  return homeCurrencyIndex_;
}

size_t ListDatabase::findCategory(uint32_t id) const {
  return lookUp(categoryIndex_, id, categories.size());
}

bool AccountRecord::readFrom(ByteReader& in) {
  return in.readU16(&kind) && in.readU32(&auxValue1) && in.readU32(&currencyId) &&
         in.readF64(&creditLimit) && in.readU32(&auxValue2) && in.skip(2) && in.readText(&name) &&
         in.readText(&extraText);
}

bool LabelRecord::readFrom(ByteReader& in) {
  return in.readU16(&kind) && in.skip(2) && in.readText(&label);
}

bool CurrencyRecord::readFrom(ByteReader& in) {
  return in.readU16(&kind) && in.readU8(&hasDecimals) && in.readU8(&isHome) && in.readF64(&rateA) &&
         in.readF64(&rateB) && in.readChars(&code);
}

bool CategoryRecord::readFrom(ByteReader& in) {
  return in.readU16(&kind) && in.readArray(&attributeBytes) && in.readText(&name);
}

namespace {

constexpr size_t kAppInfoSize = 322;
static_assert(sizeof(ListAppInfo) == kAppInfoSize, "the list block is 322 bytes");

// Reads the record at the entry into its collection. False when the record
// runs past the end of the file.
template <typename Record>
bool readInto(const std::vector<uint8_t>& image, const RecordListEntry& entry,
              std::vector<Record>* records) {
  Record record;
  ByteReader in = recordReader(image, entry);
  if (!record.readFrom(in))
    return false;
  record.uniqueId = entry.uniqueId();
  records->push_back(record);
  return true;
}

}  // namespace

bool ListDatabase::read(const std::string& path) {
  *this = ListDatabase();
  std::vector<uint8_t> image;
  if (!readWholeFile(path, &image))
    return false;
  return readImage(image);
}

bool ListDatabase::readImage(const std::vector<uint8_t>& image) {
  *this = ListDatabase();
  std::array<uint8_t, kAppInfoSize> block{};
  std::vector<RecordListEntry> entries;
  bool identified =
      readStructure(image, "Dat1", &header, block.data(), block.size(), &entries, &damage);
  if (identified) {
    auto nameStart = block.begin() + appInfo.reserved.size();
    std::copy(block.begin(), nameStart, appInfo.reserved.begin());
    std::copy(nameStart, block.end(), appInfo.noAccountName.begin());
    appInfo.noAccountName.back() = '\0';
    for (const RecordListEntry& entry : entries) {
      if (!readRecord(image, entry))
        ++damage.unreadableRecords;
    }
  }
  buildIndexes();
  return identified;
}

bool ListDatabase::readRecord(const std::vector<uint8_t>& image, const RecordListEntry& entry) {
  int16_t kind = 0;
  ByteReader in = recordReader(image, entry);
  if (!in.readI16(&kind))
    return false;
  switch (kind) {
    case 0:
      return readInto(image, entry, &accounts);
    case 1:
      return readInto(image, entry, &labels);
    case 2:
      return readInto(image, entry, &currencies);
    case 3:
      return readInto(image, entry, &categories);
    default:
      return true;  // a record of another kind is passed over silently
  }
}
