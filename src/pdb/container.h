// The Palm database container shared by both backup files: the 78-byte
// header, the record list with its two-byte gap, the identity check on
// creator and type, and the bookkeeping of records that could not be read.
#ifndef QMX_PDB_CONTAINER_H_
#define QMX_PDB_CONTAINER_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pdb/byte_reader.h"

struct PdbHeader {
  std::array<char, 32> name{};
  uint16_t attributes = 0;
  uint16_t version = 0;
  uint32_t creationDate = 0;
  uint32_t modificationDate = 0;
  uint32_t lastBackupDate = 0;
  uint32_t modificationNumber = 0;
  uint32_t appInfoOffset = 0;
  uint32_t sortInfoOffset = 0;
  std::array<char, 4> type{};
  std::array<char, 4> creator{};
  uint32_t uniqueIdSeed = 0;
  uint32_t nextRecordListId = 0;
  uint16_t recordCount = 0;

  // Reads the 78 header bytes field by field; fields past the end of the
  // file keep their previous (zero) contents. When recordCount is 0 the
  // two-byte gap is consumed as well.
  void readHeader(ByteReader& in);
};

struct RecordListEntry {
  uint32_t dataOffset = 0;
  uint32_t attributesAndUniqueId = 0;

  // The low 24 bits; the attribute byte above them is ignored.
  uint32_t uniqueId() const { return attributesAndUniqueId & 0xFFFFFFu; }
};

// The creator every backup of the finance application carries.
extern const char kCreator[];

// Reads the header and checks creator, then type, as texts up to their first
// NUL, case-sensitively. False for a foreign file.
bool openDatabase(ByteReader& in, const char* expectedType, PdbHeader* header);

// Reads recordCount entries, then the gap when recordCount is not 0. Stops
// at the end of the file: the entries that were read whole are returned.
std::vector<RecordListEntry> readRecordList(ByteReader& in, uint16_t recordCount);

// How much of a file could not be read. A database is damaged when its
// header, record list, gap or application-info block is cut off, or when
// records lie (partly) past the end of the file.
struct DamageReport {
  bool structureCutOff = false;
  uint32_t recordCount = 0;        // as the header says
  uint32_t unreadableRecords = 0;  // listed, but not (wholly) in the file

  bool damaged() const { return structureCutOff || unreadableRecords > 0; }
};

// Everything of a file image before its records: the header with the identity
// check, the record list, the gap and the application-info block of
// blockSize bytes, which stays zero unless it is wholly in the file. False
// for a foreign file. On true, damage holds the record count, whether the
// structure is cut off, and the listed entries missing from the record list.
bool readStructure(const std::vector<uint8_t>& image, const char* expectedType, PdbHeader* header,
                   uint8_t* block, size_t blockSize, std::vector<RecordListEntry>* entries,
                   DamageReport* damage);

// A fresh reader at the record's first byte. Each record gets its own, so a
// record that runs past the end of the file leaves the others readable.
ByteReader recordReader(const std::vector<uint8_t>& image, const RecordListEntry& entry);

#endif  // QMX_PDB_CONTAINER_H_
