#include "pdb/transaction_database.h"

bool TransactionRecord::readFrom(ByteReader& in) {
  return in.readI8(&day) && in.readI8(&month) && in.readI16(&year) && in.readI8(&hour) &&
         in.readI8(&minute) && in.readU16(&entryKind) && in.readU32(&accountId) &&
         in.readU32(&transferAccountId) && in.readU32(&categoryId) && in.readU32(&currencyId) &&
         in.readF64(&amount) && in.readF64(&accountAmount) && in.readU8(&isDebit) &&
         in.readU8(&auxByte1) && in.readU32(&auxValue) && in.readU16(&auxWord) &&
         in.readU8(&isTax) && in.readU8(&isCleared) && in.readU8(&isReconciled) &&
         in.readU8(&auxByte2) && in.readU8(&auxByte3) && in.readText(&payee) &&
         in.readText(&checkNumber) && in.readText(&memo);
}

bool TransactionDatabase::read(const std::string& path) {
  *this = TransactionDatabase();
  std::vector<uint8_t> image;
  if (!readWholeFile(path, &image))
    return false;
  return readImage(image);
}

bool TransactionDatabase::readImage(const std::vector<uint8_t>& image) {
  *this = TransactionDatabase();
  std::vector<RecordListEntry> entries;
  if (!readStructure(image, "Dat2", &header, appInfo.data(), appInfo.size(), &entries, &damage)) {
    return false;
  }
  // Nearly every record is a regular transaction; reserving keeps the
  // largest backups from doubling their memory while the collection grows.
  transactions.reserve(entries.size());
  for (const RecordListEntry& entry : entries) {
    TransactionRecord record;
    ByteReader in = recordReader(image, entry);
    if (!record.readFrom(in)) {
      ++damage.unreadableRecords;
    } else if (record.entryKind == 0) {
      kind0Entries.push_back(record);
    } else if (record.entryKind == 1) {
      kind1Entries.push_back(record);
    } else if (record.entryKind == 2) {
      transactions.push_back(record);
    }
    // Any other entry kind is dropped silently.
  }
  return true;
}
