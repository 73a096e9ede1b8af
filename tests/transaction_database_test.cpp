#include "pdb/transaction_database.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdb_builder.h"

namespace {

using fixture::Bytes;

TransactionDatabase readTransactions(const fixture::PdbFile& file) {
  TransactionDatabase db;
  EXPECT_TRUE(db.readImage(file.build()));
  return db;
}

fixture::Txn sampleTxn() {
  fixture::Txn txn;
  txn.day = 31;
  txn.month = 12;
  txn.year = 2003;
  txn.hour = 23;
  txn.minute = 59;
  txn.accountId = 0x000101;
  txn.transferAccountId = 0x000102;
  txn.categoryId = 0x000301;
  txn.currencyId = 0x000201;
  txn.amount = -12.34;
  txn.accountAmount = 1e9 + 0.5;
  txn.debit = true;
  txn.tax = true;
  txn.cleared = true;
  txn.reconciled = false;
  txn.payee = "Corner Shop";
  txn.checkNumber = "1042";
  txn.memo = "first line\nsecond line";
  return txn;
}

TEST(TransactionDatabaseTest, ReadsEveryField) {
  fixture::PdbFile file = fixture::transactionFile();
  file.appInfo[0] = 0x12;
  file.appInfo[275] = 0x34;
  file.addRecord(fixture::transactionRecord(sampleTxn()), 0x000501);
  TransactionDatabase db = readTransactions(file);
  EXPECT_FALSE(db.damage.damaged());
  EXPECT_EQ(db.appInfo[0], 0x12);
  EXPECT_EQ(db.appInfo[275], 0x34);
  ASSERT_EQ(db.transactions.size(), 1u);
  const TransactionRecord& t = db.transactions[0];
  EXPECT_EQ(t.day, 31);
  EXPECT_EQ(t.month, 12);
  EXPECT_EQ(t.year, 2003);
  EXPECT_EQ(t.hour, 23);
  EXPECT_EQ(t.minute, 59);
  EXPECT_EQ(t.entryKind, 2);
  EXPECT_EQ(t.accountId, 0x000101u);
  EXPECT_EQ(t.transferAccountId, 0x000102u);
  EXPECT_EQ(t.categoryId, 0x000301u);
  EXPECT_EQ(t.currencyId, 0x000201u);
  EXPECT_EQ(t.amount, -12.34);
  EXPECT_EQ(t.accountAmount, 1e9 + 0.5);
  EXPECT_EQ(t.isDebit, 1);
  EXPECT_EQ(t.auxByte1, 0x5A);
  EXPECT_EQ(t.auxValue, 0x01020304u);  // at record offset 42, unaligned
  EXPECT_EQ(t.auxWord, 0x0506);
  EXPECT_EQ(t.isTax, 1);
  EXPECT_EQ(t.isCleared, 1);
  EXPECT_EQ(t.isReconciled, 0);
  EXPECT_EQ(fieldText(t.payee), "Corner Shop");
  EXPECT_EQ(fieldText(t.checkNumber), "1042");
  EXPECT_EQ(fieldText(t.memo), "first line\nsecond line");  // line feeds kept
  EXPECT_TRUE(db.kind0Entries.empty());
  EXPECT_TRUE(db.kind1Entries.empty());
}

TEST(TransactionDatabaseTest, YearAndAmountFromTheirRawBytes) {
  Bytes record = fixture::transactionRecord({});
  record[2] = 0x07;
  record[3] = 0xD2;
  const uint8_t amount[8] = {0x40, 0x59, 0, 0, 0, 0, 0, 0};
  std::copy(std::begin(amount), std::end(amount), record.begin() + 24);
  record[9] = 0x80;  // account ID 00 80 00 00
  fixture::PdbFile file = fixture::transactionFile();
  file.addRecord(record, 1);
  TransactionDatabase db = readTransactions(file);
  ASSERT_EQ(db.transactions.size(), 1u);
  EXPECT_EQ(db.transactions[0].year, 2002);
  EXPECT_EQ(db.transactions[0].amount, 100.0);
  EXPECT_EQ(db.transactions[0].accountId, 0x00800000u);
}

TEST(TransactionDatabaseTest, SignedDateBytes) {
  Bytes record = fixture::transactionRecord({});
  record[0] = 0xFF;  // day -1
  record[2] = 0xFF;  // year -2
  record[3] = 0xFE;
  fixture::PdbFile file = fixture::transactionFile();
  file.addRecord(record, 1);
  TransactionDatabase db = readTransactions(file);
  ASSERT_EQ(db.transactions.size(), 1u);
  EXPECT_EQ(db.transactions[0].day, -1);
  EXPECT_EQ(db.transactions[0].year, -2);
}

struct KindCase {
  uint8_t high, low;
  size_t kind0, kind1, regular;
};

TEST(TransactionDatabaseTest, EntryKindDecidesTheCollection) {
  const KindCase cases[] = {
      {0x00, 0x00, 1, 0, 0}, {0x00, 0x01, 0, 1, 0}, {0x00, 0x02, 0, 0, 1}, {0x00, 0x03, 0, 0, 0},
      {0x01, 0x00, 0, 0, 0}, {0x02, 0x02, 0, 0, 0}, {0xFF, 0xFF, 0, 0, 0},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.high * 256 + c.low);
    Bytes record = fixture::transactionRecord({});
    record[6] = c.high;
    record[7] = c.low;
    fixture::PdbFile file = fixture::transactionFile();
    file.addRecord(record, 1);
    TransactionDatabase db = readTransactions(file);
    EXPECT_EQ(db.kind0Entries.size(), c.kind0);
    EXPECT_EQ(db.kind1Entries.size(), c.kind1);
    EXPECT_EQ(db.transactions.size(), c.regular);
    EXPECT_FALSE(db.damage.damaged());  // dropped kinds are not damage
  }
}

TEST(TransactionDatabaseTest, RecordListOrderDuplicatesAndSharedOffsets) {
  fixture::PdbFile file = fixture::transactionFile();
  fixture::Txn txn;
  txn.year = 2005;
  txn.payee = "late";
  file.addRecord(fixture::transactionRecord(txn), 7);
  txn.year = 2001;
  txn.payee = "early";
  file.addRecord(fixture::transactionRecord(txn), 7, 0x80);  // same ID, deleted
  file.entries.push_back(file.entries[0]);                   // the first record again
  std::swap(file.entries[0], file.entries[1]);
  TransactionDatabase db = readTransactions(file);
  ASSERT_EQ(db.transactions.size(), 3u);
  EXPECT_EQ(fieldText(db.transactions[0].payee), "early");
  EXPECT_EQ(fieldText(db.transactions[1].payee), "late");
  EXPECT_EQ(fieldText(db.transactions[2].payee), "late");
}

TEST(TransactionDatabaseTest, NoRecords) {
  TransactionDatabase db = readTransactions(fixture::transactionFile());
  EXPECT_TRUE(db.transactions.empty());
  EXPECT_TRUE(db.kind0Entries.empty());
  EXPECT_TRUE(db.kind1Entries.empty());
  EXPECT_FALSE(db.damage.damaged());
}

TEST(TransactionDatabaseTest, OverlongTextsAreCutAndTheNextTextStaysInStep) {
  fixture::PdbFile file = fixture::transactionFile();
  fixture::Txn txn;
  txn.payee = std::string(150, 'p');
  txn.checkNumber = std::string(25, 'c');
  txn.memo = std::string(500, 'm');
  file.addRecord(fixture::transactionRecord(txn), 1);
  txn.payee = std::string(99, 'P');
  txn.checkNumber = std::string(19, 'C');
  txn.memo = std::string(304, 'M');
  file.addRecord(fixture::transactionRecord(txn), 2);
  TransactionDatabase db = readTransactions(file);
  ASSERT_EQ(db.transactions.size(), 2u);
  const char letters[2][3] = {{'p', 'c', 'm'}, {'P', 'C', 'M'}};
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(fieldText(db.transactions[i].payee), std::string(99, letters[i][0]));
    EXPECT_EQ(fieldText(db.transactions[i].checkNumber), std::string(19, letters[i][1]));
    EXPECT_EQ(fieldText(db.transactions[i].memo), std::string(304, letters[i][2]));
  }
}

struct CutCase {
  const char* where;
  size_t keep;  // bytes of the last record left in the file
  bool readable;
};

TEST(TransactionDatabaseTest, RecordsCutOffByTheEndOfTheFileAreUnreadable) {
  fixture::Txn txn;
  txn.payee = "Pay";      // record offsets 53..56
  txn.checkNumber = "7";  // 57..58
  txn.memo = "Memo";      // 59..63
  const Bytes last = fixture::transactionRecord(txn);
  ASSERT_EQ(last.size(), 64u);
  const CutCase cases[] = {
      {"nothing of it", 0, false},
      {"inside the date", 3, false},
      {"inside auxValue", 44, false},
      {"end of the fixed part", 53, false},
      {"inside the payee", 55, false},
      {"payee without its NUL", 56, false},
      {"inside the check number", 58, false},
      {"inside the memo", 61, false},
      {"memo without its NUL", 63, false},
      {"whole, ending the file", 64, true},
  };
  for (const CutCase& c : cases) {
    SCOPED_TRACE(c.where);
    fixture::PdbFile file = fixture::transactionFile();
    file.addRecord(fixture::transactionRecord(sampleTxn()), 1);
    file.addRecord(last, 2);
    Bytes image = file.build();
    image.resize(image.size() - (last.size() - c.keep));
    TransactionDatabase db;
    EXPECT_TRUE(db.readImage(image));
    ASSERT_EQ(db.transactions.size(), c.readable ? 2u : 1u);
    EXPECT_EQ(fieldText(db.transactions[0].payee), "Corner Shop");
    EXPECT_EQ(db.damage.unreadableRecords, c.readable ? 0u : 1u);
    EXPECT_FALSE(db.damage.structureCutOff);
  }
}

TEST(TransactionDatabaseTest, EmptyTextsEndRightAfterTheFixedPart) {
  const Bytes record = fixture::transactionRecord({});
  ASSERT_EQ(record.size(), 56u);
  fixture::PdbFile file = fixture::transactionFile();
  file.addRecord(record, 1);
  TransactionDatabase db = readTransactions(file);
  ASSERT_EQ(db.transactions.size(), 1u);
  EXPECT_EQ(fieldText(db.transactions[0].payee), "");
  EXPECT_EQ(fieldText(db.transactions[0].memo), "");
}

TEST(TransactionDatabaseTest, UnreadableRecordsDoNotStopTheFollowingOnes) {
  fixture::PdbFile file = fixture::transactionFile();
  fixture::Txn txn;
  txn.payee = "good";
  file.addRecord(fixture::transactionRecord(txn), 1);
  file.entries.insert(file.entries.begin(), {0xFFFFFFFFu, false, 0, 2});
  file.entries.insert(file.entries.begin(), {1u << 31, false, 0, 3});
  TransactionDatabase db = readTransactions(file);
  ASSERT_EQ(db.transactions.size(), 1u);
  EXPECT_EQ(fieldText(db.transactions[0].payee), "good");
  EXPECT_EQ(db.damage.unreadableRecords, 2u);
  EXPECT_EQ(db.damage.recordCount, 3u);
}

TEST(TransactionDatabaseTest, LargestRecordCountIsReadWhole) {
  fixture::PdbFile file = fixture::transactionFile();
  fixture::Txn txn;
  for (uint32_t i = 0; i < 0xFFFF; ++i) {
    txn.day = 1 + static_cast<int>(i % 28);
    txn.accountId = i;
    file.addRecord(fixture::transactionRecord(txn), i);
  }
  TransactionDatabase db = readTransactions(file);
  ASSERT_EQ(db.transactions.size(), 0xFFFFu);
  EXPECT_EQ(db.transactions.capacity(), 0xFFFFu);  // reserved once, never regrown
  EXPECT_EQ(db.transactions[0xFFFE].accountId, 0xFFFEu);
  EXPECT_EQ(db.transactions[0xFFFE].day, 1 + 0xFFFE % 28);
  EXPECT_FALSE(db.damage.damaged());
}

struct FailureCase {
  const char* what;
  Bytes image;
};

TEST(TransactionDatabaseTest, ForeignFilesLeaveNothingBehind) {
  fixture::PdbFile good = fixture::transactionFile();
  good.appInfo.assign(276, 0x77);
  good.addRecord(fixture::transactionRecord(sampleTxn()), 1);
  fixture::PdbFile listType = good;
  listType.type = "Dat1";
  fixture::PdbFile lowerType = good;
  lowerType.type = "dat2";
  fixture::PdbFile otherCreator = good;
  otherCreator.creator = "qz05";
  const Bytes whole = good.build();
  const FailureCase cases[] = {
      {"empty file", {}},
      {"67 bytes", Bytes(whole.begin(), whole.begin() + 67)},
      {"list database", listType.build()},
      {"type in lower case", lowerType.build()},
      {"creator in lower case", otherCreator.build()},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.what);
    TransactionDatabase db;
    ASSERT_TRUE(db.readImage(whole));
    EXPECT_FALSE(db.readImage(c.image));
    EXPECT_TRUE(db.transactions.empty());
    EXPECT_TRUE(db.kind0Entries.empty());
    EXPECT_TRUE(db.kind1Entries.empty());
    EXPECT_EQ(db.appInfo, (std::array<uint8_t, 276>{}));
    EXPECT_FALSE(db.damage.damaged());
  }
}

TEST(TransactionDatabaseTest, ReadsFromDiskAndFailsForMissingFile) {
  fixture::PdbFile file = fixture::transactionFile();
  file.addRecord(fixture::transactionRecord(sampleTxn()), 1);
  const std::string path = ::testing::TempDir() + "/QMXTransDB.pdb";
  ASSERT_TRUE(fixture::writeFile(path, file.build()));
  TransactionDatabase db;
  ASSERT_TRUE(db.read(path));
  ASSERT_EQ(db.transactions.size(), 1u);
  EXPECT_EQ(fieldText(db.transactions[0].memo), "first line\nsecond line");
  EXPECT_FALSE(db.read(::testing::TempDir() + "/no_such_QMXTransDB.pdb"));
  EXPECT_TRUE(db.transactions.empty());
  EXPECT_FALSE(db.read(::testing::TempDir()));  // a folder
}

}  // namespace
