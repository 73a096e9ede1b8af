#include "pdb/container.h"

#include <string>

const char kCreator[] = "QZ05";

void PdbHeader::readHeader(ByteReader& in) {
  // Each field is read on its own, so that a file cut off inside the header
  // keeps the fields before the cut.
  in.readChars(&name);
  in.readU16(&attributes);
  in.readU16(&version);
  in.readU32(&creationDate);
  in.readU32(&modificationDate);
  in.readU32(&lastBackupDate);
  in.readU32(&modificationNumber);
  in.readU32(&appInfoOffset);
  in.readU32(&sortInfoOffset);
  in.readChars(&type);
  in.readChars(&creator);
  in.readU32(&uniqueIdSeed);
  in.readU32(&nextRecordListId);
  in.readU16(&recordCount);
  // Without entries the two-byte gap follows the header directly.
  if (recordCount == 0)
    in.skip(2);
}

bool openDatabase(ByteReader& in, const char* expectedType, PdbHeader* header) {
  header->readHeader(in);
  if (fieldText(header->creator) != kCreator)
    return false;
  return fieldText(header->type) == expectedType;
}

std::vector<RecordListEntry> readRecordList(ByteReader& in, uint16_t recordCount) {
  std::vector<RecordListEntry> entries;
  entries.reserve(recordCount);
  for (uint16_t i = 0; i < recordCount; ++i) {
    RecordListEntry entry;
    if (!in.readU32(&entry.dataOffset) || !in.readU32(&entry.attributesAndUniqueId))
      break;
    entries.push_back(entry);
  }
  if (recordCount != 0)
    in.skip(2);
  return entries;
}

bool readStructure(const std::vector<uint8_t>& image, const char* expectedType, PdbHeader* header,
                   uint8_t* block, size_t blockSize, std::vector<RecordListEntry>* entries,
                   DamageReport* damage) {
  ByteReader in(image);
  if (!openDatabase(in, expectedType, header))
    return false;
  *entries = readRecordList(in, header->recordCount);
  in.readBytes(block, blockSize);
  damage->recordCount = header->recordCount;
  damage->structureCutOff = in.failed;
  damage->unreadableRecords = static_cast<uint32_t>(header->recordCount - entries->size());
  return true;
}

ByteReader recordReader(const std::vector<uint8_t>& image, const RecordListEntry& entry) {
  ByteReader in(image);
  in.seek(entry.dataOffset);
  return in;
}
