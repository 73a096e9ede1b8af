#include "pdb/container.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "pdb/byte_reader.h"
#include "pdb/list_database.h"
#include "pdb/transaction_database.h"
#include "pdb_builder.h"

namespace {

using fixture::Bytes;

TEST(ByteReaderTest, NumbersAreBigEndian) {
  const Bytes bytes = {0x12, 0x34, 0x89, 0xAB, 0xCD, 0xEF, 0xFF, 0xFE, 0x80,
                       0x40, 0x59, 0,    0,    0,    0,    0,    0};
  ByteReader in(bytes);
  uint16_t u16 = 0;
  uint32_t u32 = 0;
  int16_t i16 = 0;
  int8_t i8 = 0;
  double f64 = 0;
  EXPECT_TRUE(in.readU16(&u16));
  EXPECT_TRUE(in.readU32(&u32));
  EXPECT_TRUE(in.readI16(&i16));
  EXPECT_TRUE(in.readI8(&i8));
  EXPECT_TRUE(in.readF64(&f64));
  EXPECT_EQ(u16, 0x1234);
  EXPECT_EQ(u32, 0x89ABCDEFu);
  EXPECT_EQ(i16, -2);
  EXPECT_EQ(i8, -128);
  EXPECT_EQ(f64, 100.0);
  EXPECT_EQ(in.position, bytes.size());
  EXPECT_FALSE(in.failed);
}

TEST(ByteReaderTest, ReadPastEndFailsAndStaysFailed) {
  const Bytes bytes = {1, 2, 3};
  ByteReader in(bytes);
  uint32_t value = 0xDEADBEEF;
  EXPECT_FALSE(in.readU32(&value));
  EXPECT_EQ(value, 0xDEADBEEFu);  // nothing of the three existing bytes stored
  EXPECT_TRUE(in.failed);
  uint8_t byte = 0;
  EXPECT_FALSE(in.readU8(&byte));  // would fit, but the reader has failed
  in.seek(0);
  EXPECT_FALSE(in.readU8(&byte));
  EXPECT_EQ(byte, 0);
}

TEST(ByteReaderTest, SeekUpToTheEndOnly) {
  const Bytes bytes = {1, 2, 3};
  ByteReader in(bytes);
  in.seek(3);
  EXPECT_FALSE(in.failed);
  uint8_t byte = 0;
  EXPECT_FALSE(in.readU8(&byte));

  ByteReader far(bytes);
  far.seek(0xFFFFFFFFu);
  EXPECT_TRUE(far.failed);
  EXPECT_EQ(far.position, 0u);

  ByteReader skipper(bytes);
  EXPECT_TRUE(skipper.skip(3));
  EXPECT_FALSE(skipper.skip(1));
}

struct TextCase {
  const char* what;
  std::string bytes;  // the file's bytes, NULs included
  bool ok;
  std::string first;   // the text stored in a 6-byte field
  std::string second;  // then in a second 6-byte field
};

TEST(ByteReaderTest, TextsKeepTheirFieldTerminatedAndInStep) {
  using namespace std::string_literals;
  const TextCase cases[] = {
      {"short texts", "ab\0cd\0"s, true, "ab", "cd"},
      {"empty texts", "\0\0"s, true, "", ""},
      {"five fit", "abcde\0x\0"s, true, "abcde", "x"},
      {"six are cut to five", "abcdef\0x\0"s, true, "abcde", "x"},
      {"long surplus consumed", "abcdefghijklmnop\0xyz\0"s, true, "abcde", "xyz"},
      {"second unterminated", "ab\0cd"s, false, "ab", "cd"},
      {"second missing", "ab\0"s, false, "ab", ""},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes bytes(c.bytes.begin(), c.bytes.end());
    ByteReader in(bytes);
    std::array<char, 6> first{}, second{};
    second.fill('!');  // the reader zero-fills the field itself
    bool ok = in.readText(&first) && in.readText(&second);
    EXPECT_EQ(ok, c.ok);
    EXPECT_EQ(fieldText(first), c.first);
    EXPECT_EQ(fieldText(second), c.second);
    EXPECT_EQ(first.back(), '\0');
    EXPECT_EQ(second.back(), '\0');
  }
}

TEST(ByteReaderTest, FieldTextTakesAllBytesWithoutNul) {
  EXPECT_EQ(fieldText(std::array<char, 4>{'Q', 'Z', '0', '5'}), "QZ05");
  EXPECT_EQ(fieldText(std::array<char, 4>{'Q', 0, '0', '5'}), "Q");
}

TEST(ReadWholeFileTest, ReadsBytesAndFailsForMissingFileOrFolder) {
  const std::string dir = ::testing::TempDir();
  Bytes bytes;
  for (int i = 0; i < 70000; ++i)
    bytes.push_back(static_cast<uint8_t>(i * 7));
  bytes[10] = 0x1A;  // no text-mode translation of any byte
  bytes[11] = '\r';
  bytes[12] = '\n';
  const std::string path = dir + "/whole_file.bin";
  ASSERT_TRUE(fixture::writeFile(path, bytes));
  Bytes read = {9};
  EXPECT_TRUE(readWholeFile(path, &read));
  EXPECT_EQ(read, bytes);

  ASSERT_TRUE(fixture::writeFile(path, {}));
  EXPECT_TRUE(readWholeFile(path, &read));
  EXPECT_TRUE(read.empty());

  EXPECT_FALSE(readWholeFile(dir + "/no_such_file.pdb", &read));
  EXPECT_FALSE(readWholeFile(dir, &read));
  EXPECT_TRUE(read.empty());
}

// ---- The structure both databases share ----

struct Structure {
  bool identified = false;
  PdbHeader header;
  std::array<uint8_t, 4> block{};
  std::vector<RecordListEntry> entries;
  DamageReport damage;
};

Structure readFile(const Bytes& image, const char* expectedType = "Dat1") {
  Structure s;
  s.identified = readStructure(image, expectedType, &s.header, s.block.data(), s.block.size(),
                               &s.entries, &s.damage);
  return s;
}

fixture::PdbFile smallFile() {
  fixture::PdbFile file;
  file.type = "Dat1";
  file.appInfo = {0xA1, 0xA2, 0xA3, 0xA4};
  file.addRecord({1, 2, 3}, 0x000101);
  file.addRecord({4, 5, 6}, 0x000102);
  return file;
}

TEST(ContainerTest, ReadsHeaderRecordListAndBlock) {
  fixture::PdbFile file = smallFile();
  file.entries[1].attributes = 0x80;  // deleted
  const Bytes image = file.build();
  Structure s = readFile(image);
  ASSERT_TRUE(s.identified);
  EXPECT_EQ(fieldText(s.header.name), "QMX test");
  EXPECT_EQ(s.header.attributes, 0x0008);
  EXPECT_EQ(s.header.version, 1);
  EXPECT_EQ(s.header.creationDate, 0xB5A3C2D1u);
  EXPECT_EQ(s.header.modificationDate, 0xB5A3C2D2u);
  EXPECT_EQ(s.header.modificationNumber, 7u);
  EXPECT_EQ(s.header.appInfoOffset, 78u + 16 + 2);
  EXPECT_EQ(s.header.uniqueIdSeed, 0x00100000u);
  EXPECT_EQ(s.header.recordCount, 2);
  EXPECT_EQ(s.block, (std::array<uint8_t, 4>{0xA1, 0xA2, 0xA3, 0xA4}));
  ASSERT_EQ(s.entries.size(), 2u);
  EXPECT_EQ(s.entries[0].dataOffset, file.dataStart());
  EXPECT_EQ(s.entries[1].dataOffset, file.dataStart() + 3);
  EXPECT_EQ(s.entries[1].attributesAndUniqueId, 0x80000102u);
  EXPECT_EQ(s.entries[1].uniqueId(), 0x000102u);
  EXPECT_FALSE(s.damage.damaged());
  EXPECT_EQ(s.damage.recordCount, 2u);
}

TEST(ContainerTest, UniqueIdIgnoresTheAttributeByte) {
  fixture::PdbFile file = smallFile();
  file.entries[0].attributes = 0x00;
  file.entries[1].attributes = 0xFF;
  file.entries[1].uniqueId = file.entries[0].uniqueId;
  Structure s = readFile(file.build());
  ASSERT_EQ(s.entries.size(), 2u);
  EXPECT_NE(s.entries[0].attributesAndUniqueId, s.entries[1].attributesAndUniqueId);
  EXPECT_EQ(s.entries[0].uniqueId(), s.entries[1].uniqueId());
}

TEST(ContainerTest, NoRecordsTakesTheBlockFromOffset80) {
  fixture::PdbFile file = smallFile();
  file.entries.clear();
  file.data.clear();
  file.gap = {0xEE, 0xEE};  // the gap's value is never checked
  const Bytes image = file.build();
  ASSERT_EQ(image.size(), 84u);
  Structure s = readFile(image);
  ASSERT_TRUE(s.identified);
  EXPECT_TRUE(s.entries.empty());
  EXPECT_EQ(s.block, (std::array<uint8_t, 4>{0xA1, 0xA2, 0xA3, 0xA4}));
  EXPECT_FALSE(s.damage.damaged());
}

TEST(ContainerTest, BlockFollowsTheGapWhereverAppInfoOffsetPoints) {
  fixture::PdbFile file = smallFile();
  file.appInfoOffset = file.dataStart();  // points at the first record
  Structure s = readFile(file.build());
  EXPECT_EQ(s.header.appInfoOffset, file.dataStart());
  EXPECT_EQ(s.block, (std::array<uint8_t, 4>{0xA1, 0xA2, 0xA3, 0xA4}));
}

struct IdentityCase {
  const char* creator;
  const char* type;
  bool identified;
};

TEST(ContainerTest, IdentityIsCreatorAndTypeAsCaseSensitiveText) {
  const IdentityCase cases[] = {
      {"QZ05", "Dat1", true},  {"qz05", "Dat1", false}, {"Qz05", "Dat1", false},
      {"QZ05", "dat1", false}, {"QZ05", "DAT1", false}, {"QZ05", "Dat2", false},
      {"QZ0", "Dat1", false},  {"QZ05", "Dat", false},  {"", "", false},
      {"Dat1", "QZ05", false},
  };
  for (const IdentityCase& c : cases) {
    SCOPED_TRACE(std::string(c.creator) + "/" + c.type);
    fixture::PdbFile file = smallFile();
    file.creator = c.creator;
    file.type = c.type;
    Structure s = readFile(file.build());
    EXPECT_EQ(s.identified, c.identified);
    // The header is read whole before the check, whatever its outcome.
    EXPECT_EQ(s.header.recordCount, 2);
    if (!c.identified) {
      EXPECT_TRUE(s.entries.empty());
      EXPECT_EQ(s.block, (std::array<uint8_t, 4>{}));
    }
  }
}

TEST(ContainerTest, CreatorWithBytesAfterANulNeverMatches) {
  Bytes image = smallFile().build();
  image[67] = 0;  // "QZ0" and a NUL
  EXPECT_FALSE(readFile(image).identified);
}

struct CutCase {
  const char* where;
  size_t length;
  bool identified;
  bool structureCutOff;
  uint32_t recordCount;
  size_t entries;
  uint32_t missingEntries;
};

TEST(ContainerTest, CutOffFilesReportTheirDamage) {
  // Two entries: header 0..77, list 78..93, gap 94..95, block 96..99, data.
  const Bytes image = smallFile().build();
  const CutCase cases[] = {
      {"empty file", 0, false, false, 0, 0, 0},
      {"inside the type", 62, false, false, 0, 0, 0},
      {"inside the creator", 67, false, false, 0, 0, 0},
      {"right after the creator", 68, true, true, 0, 0, 0},
      {"inside the record count", 77, true, true, 0, 0, 0},
      {"right after the header", 78, true, true, 2, 0, 2},
      {"inside the first entry", 85, true, true, 2, 0, 2},
      {"inside the second entry", 93, true, true, 2, 1, 1},
      {"inside the gap", 95, true, true, 2, 2, 0},
      {"inside the block", 99, true, true, 2, 2, 0},
      {"right after the block", 100, true, false, 2, 2, 0},
  };
  for (const CutCase& c : cases) {
    SCOPED_TRACE(c.where);
    Structure s = readFile(Bytes(image.begin(), image.begin() + c.length));
    EXPECT_EQ(s.identified, c.identified);
    EXPECT_EQ(s.damage.structureCutOff, c.structureCutOff);
    EXPECT_EQ(s.damage.recordCount, c.recordCount);
    EXPECT_EQ(s.entries.size(), c.entries);
    EXPECT_EQ(s.damage.unreadableRecords, c.missingEntries);
    if (c.structureCutOff) {
      EXPECT_EQ(s.block, (std::array<uint8_t, 4>{}));
    }
  }
}

TEST(ContainerTest, CutOffGapOfAnEmptyDatabase) {
  fixture::PdbFile file = smallFile();
  file.entries.clear();
  const Bytes image = file.build();
  Structure s = readFile(Bytes(image.begin(), image.begin() + 79));
  EXPECT_TRUE(s.identified);
  EXPECT_TRUE(s.damage.structureCutOff);
  EXPECT_EQ(s.damage.unreadableRecords, 0u);
}

TEST(ContainerTest, RecordReaderStartsFreshAtEachOffset) {
  const Bytes image = {10, 11, 12};
  ByteReader beyond = recordReader(image, {4, 0});
  EXPECT_TRUE(beyond.failed);
  ByteReader inside = recordReader(image, {2, 0});
  uint8_t byte = 0;
  EXPECT_TRUE(inside.readU8(&byte));
  EXPECT_EQ(byte, 12);
}

// ---- Both readers on damaged and arbitrary bytes ----

// Records stored by each reader: whatever the bytes, never more than listed.
size_t storedRecords(const ListDatabase& db) {
  return db.accounts.size() + db.labels.size() + db.currencies.size() + db.categories.size();
}
size_t storedRecords(const TransactionDatabase& db) {
  return db.kind0Entries.size() + db.kind1Entries.size() + db.transactions.size();
}

template <typename Database>
void expectSane(const Bytes& image) {
  Database db;
  bool identified = db.readImage(image);
  size_t stored = storedRecords(db);
  EXPECT_LE(stored + db.damage.unreadableRecords, db.header.recordCount);
  if (identified) {
    EXPECT_EQ(db.damage.recordCount, db.header.recordCount);
  } else {
    EXPECT_EQ(stored, 0u);
    EXPECT_FALSE(db.damage.damaged());
  }
}

Bytes smallListFile() {
  fixture::PdbFile file = fixture::listFile("No account");
  file.addRecord(fixture::currencyRecord(true, true, "EUR"), 1);
  file.addRecord(fixture::accountRecord(1, "Checking", "extra"), 2);
  file.addRecord(fixture::labelRecord("Label"), 3);
  file.addRecord(fixture::categoryRecord("Food"), 4);
  return file.build();
}

Bytes smallTransactionFile() {
  fixture::PdbFile file = fixture::transactionFile();
  fixture::Txn txn;
  txn.payee = "Shop";
  txn.checkNumber = "12";
  txn.memo = "Line one\nline two";
  file.addRecord(fixture::transactionRecord(txn), 1);
  txn.entryKind = 0;
  file.addRecord(fixture::transactionRecord(txn), 2);
  txn.entryKind = 1;
  file.addRecord(fixture::transactionRecord(txn), 3);
  return file.build();
}

template <typename Database>
void feedTruncationsAndMutations(const Bytes& image) {
  for (size_t length = 0; length <= image.size(); ++length) {
    SCOPED_TRACE(length);
    Bytes cut(image.begin(), image.begin() + length);
    Database db;
    EXPECT_EQ(db.readImage(cut), length >= 68);
    expectSane<Database>(cut);
  }
  std::mt19937 random(20040101);
  for (int round = 0; round < 5000; ++round) {
    Bytes mutated = image;
    int changes = 1 + static_cast<int>(random() % 6);
    for (int i = 0; i < changes; ++i) {
      // Mostly the header and record list, where one byte moves everything.
      size_t span = random() % 2 == 0 ? std::min<size_t>(mutated.size(), 120) : mutated.size();
      mutated[random() % span] = static_cast<uint8_t>(random());
    }
    if (random() % 4 == 0)
      mutated.resize(random() % (mutated.size() + 1));
    expectSane<Database>(mutated);
  }
}

TEST(ReaderRobustnessTest, ListDatabaseSurvivesEveryCutAndRandomBytes) {
  feedTruncationsAndMutations<ListDatabase>(smallListFile());
}

TEST(ReaderRobustnessTest, TransactionDatabaseSurvivesEveryCutAndRandomBytes) {
  feedTruncationsAndMutations<TransactionDatabase>(smallTransactionFile());
}

TEST(ReaderRobustnessTest, HugeRecordCountInATinyFile) {
  fixture::PdbFile file = fixture::transactionFile();
  file.recordCount = 0xFFFF;
  file.gap.clear();
  file.appInfo.clear();  // the file ends with its header
  Bytes image = file.build();
  TransactionDatabase db;
  EXPECT_TRUE(db.readImage(image));
  EXPECT_TRUE(db.damage.structureCutOff);
  EXPECT_EQ(db.damage.recordCount, 0xFFFFu);
  EXPECT_EQ(db.damage.unreadableRecords, 0xFFFFu);
  EXPECT_TRUE(db.transactions.empty());
}

}  // namespace
