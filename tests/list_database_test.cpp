#include "pdb/list_database.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pdb_builder.h"

namespace {

using fixture::Bytes;

ListDatabase readList(const fixture::PdbFile& file) {
  ListDatabase db;
  EXPECT_TRUE(db.readImage(file.build()));
  return db;
}

TEST(ListDatabaseTest, ReadsEveryRecordKindWithItsFields) {
  fixture::PdbFile file = fixture::listFile("No account");
  file.addRecord(fixture::accountRecord(0x000201, "US Checking", "Main account"), 0x000101);
  file.addRecord(fixture::labelRecord("Business"), 0x000102);
  file.addRecord(fixture::currencyRecord(false, true, "JPY", 110.5, 0.25), 0x000201);
  file.addRecord(fixture::categoryRecord("Groceries"), 0x000301);
  ListDatabase db = readList(file);
  EXPECT_FALSE(db.damage.damaged());
  EXPECT_EQ(db.damage.recordCount, 4u);
  EXPECT_EQ(db.noAccountName(), "No account");

  ASSERT_EQ(db.accounts.size(), 1u);
  const AccountRecord& account = db.accounts[0];
  EXPECT_EQ(account.uniqueId, 0x000101u);
  EXPECT_EQ(account.kind, 0);
  EXPECT_EQ(account.auxValue1, 0x11111111u);
  EXPECT_EQ(account.currencyId, 0x000201u);
  EXPECT_EQ(account.creditLimit, 2500.0);
  EXPECT_EQ(account.auxValue2, 0x22222222u);
  EXPECT_EQ(fieldText(account.name), "US Checking");
  EXPECT_EQ(fieldText(account.extraText), "Main account");

  ASSERT_EQ(db.labels.size(), 1u);
  EXPECT_EQ(db.labels[0].uniqueId, 0x000102u);
  EXPECT_EQ(db.labels[0].kind, 1);
  EXPECT_EQ(fieldText(db.labels[0].label), "Business");

  ASSERT_EQ(db.currencies.size(), 1u);
  const CurrencyRecord& currency = db.currencies[0];
  EXPECT_EQ(currency.uniqueId, 0x000201u);
  EXPECT_EQ(currency.kind, 2);
  EXPECT_EQ(currency.hasDecimals, 0);
  EXPECT_EQ(currency.isHome, 1);
  EXPECT_EQ(currency.rateA, 110.5);
  EXPECT_EQ(currency.rateB, 0.25);
  EXPECT_EQ(fieldText(currency.code), "JPY");

  ASSERT_EQ(db.categories.size(), 1u);
  EXPECT_EQ(db.categories[0].uniqueId, 0x000301u);
  EXPECT_EQ(db.categories[0].kind, 3);
  EXPECT_EQ(db.categories[0].attributeBytes, (std::array<uint8_t, 3>{1, 2, 3}));
  EXPECT_EQ(fieldText(db.categories[0].name), "Groceries");

  EXPECT_EQ(db.findAccount(0x000101), 0u);
  EXPECT_EQ(db.findCurrency(0x000201), 0u);
  EXPECT_EQ(db.findCategory(0x000301), 0u);
  EXPECT_EQ(db.findHomeCurrency(), 0u);
  EXPECT_EQ(db.findAccount(0x000102), 1u);  // a label's ID names no account
}

TEST(ListDatabaseTest, CurrencyFromItsRawBytes) {
  const Bytes record = {0x00, 0x02, 0x01, 0x01, 0x3F, 0xF0, 0,    0,    0,    0, 0, 0, 0x40, 0,
                        0,    0,    0,    0,    0,    0,    0x55, 0x53, 0x44, 0, 0, 0, 0,    0};
  fixture::PdbFile file = fixture::listFile();
  file.addRecord(record, 7);
  ListDatabase db = readList(file);
  ASSERT_EQ(db.currencies.size(), 1u);
  EXPECT_EQ(db.currencies[0].hasDecimals, 1);
  EXPECT_EQ(db.currencies[0].isHome, 1);
  EXPECT_EQ(db.currencies[0].rateA, 1.0);
  EXPECT_EQ(db.currencies[0].rateB, 2.0);
  EXPECT_EQ(fieldText(db.currencies[0].code), "USD");
}

TEST(ListDatabaseTest, CurrencyCodeOfEightCharacters) {
  fixture::PdbFile file = fixture::listFile();
  file.addRecord(fixture::currencyRecord(true, false, "ABCDEFGH"), 7);
  EXPECT_EQ(fieldText(readList(file).currencies[0].code), "ABCDEFGH");
}

TEST(ListDatabaseTest, OtherRecordKindsArePassedOverSilently) {
  const Bytes kinds[] = {{0x00, 0x04}, {0xFF, 0xFF}, {0x80, 0x00}, {0x01, 0x00}};
  for (const Bytes& kind : kinds) {
    SCOPED_TRACE(kind[0] * 256 + kind[1]);
    fixture::PdbFile file = fixture::listFile();
    file.addRecord(fixture::accountRecord(0, "Before"), 1);
    Bytes other = kind;
    other.insert(other.end(), 40, 'x');
    file.addRecord(other, 2);
    file.addRecord(fixture::categoryRecord("After"), 3);
    ListDatabase db = readList(file);
    EXPECT_EQ(db.accounts.size(), 1u);
    EXPECT_EQ(db.categories.size(), 1u);
    EXPECT_TRUE(db.labels.empty());
    EXPECT_TRUE(db.currencies.empty());
    EXPECT_FALSE(db.damage.damaged());
  }
}

TEST(ListDatabaseTest, OtherKindAtTheVeryEndIsPassedOverToo) {
  fixture::PdbFile file = fixture::listFile();
  file.addRecord({0x00, 0x04}, 1);  // only its kind is in the file
  ListDatabase db = readList(file);
  EXPECT_FALSE(db.damage.damaged());
}

TEST(ListDatabaseTest, FirstOfDuplicateIdsWinsTheLookUps) {
  fixture::PdbFile file = fixture::listFile();
  file.addRecord(fixture::accountRecord(0, "First"), 5);
  file.addRecord(fixture::accountRecord(0, "Second"), 5);
  file.addRecord(fixture::currencyRecord(true, false, "AAA"), 6);
  file.addRecord(fixture::currencyRecord(true, false, "BBB"), 6);
  file.addRecord(fixture::categoryRecord("One"), 8);
  file.addRecord(fixture::categoryRecord("Two"), 8);
  ListDatabase db = readList(file);
  ASSERT_EQ(db.accounts.size(), 2u);
  EXPECT_EQ(fieldText(db.accounts[db.findAccount(5)].name), "First");
  EXPECT_EQ(fieldText(db.currencies[db.findCurrency(6)].code), "AAA");
  EXPECT_EQ(fieldText(db.categories[db.findCategory(8)].name), "One");
  EXPECT_EQ(db.findAccount(0), 2u);  // ID 0 is only found when a record has it
  EXPECT_EQ(db.findHomeCurrency(), 2u);
}

TEST(ListDatabaseTest, FirstHomeCurrencyAndIdZero) {
  fixture::PdbFile file = fixture::listFile();
  file.addRecord(fixture::currencyRecord(true, false, "AAA"), 1);
  file.addRecord(fixture::currencyRecord(true, true, "BBB"), 2);
  file.addRecord(fixture::currencyRecord(true, true, "CCC"), 3);
  file.addRecord(fixture::accountRecord(0, "Zero"), 0);
  ListDatabase db = readList(file);
  EXPECT_EQ(db.findHomeCurrency(), 1u);
  EXPECT_EQ(db.findAccount(0), 0u);
}

TEST(ListDatabaseTest, EmptyDatabaseLooksUpNothing) {
  ListDatabase db = readList(fixture::listFile());
  EXPECT_TRUE(db.accounts.empty());
  EXPECT_TRUE(db.labels.empty());
  EXPECT_TRUE(db.currencies.empty());
  EXPECT_TRUE(db.categories.empty());
  EXPECT_EQ(db.findAccount(1), 0u);
  EXPECT_EQ(db.findCurrency(1), 0u);
  EXPECT_EQ(db.findCategory(1), 0u);
  EXPECT_EQ(db.findHomeCurrency(), 0u);
  EXPECT_EQ(db.noAccountName(), "Unfiled");
}

TEST(ListDatabaseTest, NoAccountNameHoldsAtMost29Characters) {
  ListDatabase db = readList(fixture::listFile(std::string(30, 'N')));
  EXPECT_EQ(db.noAccountName(), std::string(29, 'N'));
  EXPECT_EQ(db.appInfo.noAccountName[29], '\0');
}

TEST(ListDatabaseTest, BlockIsKeptAsRead) {
  fixture::PdbFile file = fixture::listFile("Cash");
  file.appInfo[0] = 0xAB;
  file.appInfo[291] = 0xCD;
  file.appInfoOffset = 5000;  // not where the block is
  ListDatabase db = readList(file);
  EXPECT_EQ(db.appInfo.reserved[0], 0xAB);
  EXPECT_EQ(db.appInfo.reserved[291], 0xCD);
  EXPECT_EQ(db.noAccountName(), "Cash");
}

TEST(ListDatabaseTest, RecordsComeInRecordListOrder) {
  fixture::PdbFile file = fixture::listFile();
  file.addRecord(fixture::accountRecord(0, "Stored first"), 1);
  file.addRecord(fixture::accountRecord(0, "Stored second"), 2, 0x80);  // deleted
  std::swap(file.entries[0], file.entries[1]);
  file.entries.push_back(file.entries[0]);  // the same record listed twice
  file.entries.back().uniqueId = 3;
  file.entries.back().attributes = 0x40;
  ListDatabase db = readList(file);
  ASSERT_EQ(db.accounts.size(), 3u);
  EXPECT_EQ(fieldText(db.accounts[0].name), "Stored second");
  EXPECT_EQ(db.accounts[0].uniqueId, 2u);
  EXPECT_EQ(fieldText(db.accounts[1].name), "Stored first");
  EXPECT_EQ(fieldText(db.accounts[2].name), "Stored second");
  EXPECT_EQ(db.accounts[2].uniqueId, 3u);
  EXPECT_EQ(db.findAccount(1), 1u);
}

TEST(ListDatabaseTest, OverlongTextsAreCutAndTheNextTextStaysInStep) {
  fixture::PdbFile file = fixture::listFile();
  file.addRecord(fixture::accountRecord(0, std::string(80, 'a'), std::string(400, 'e')), 1);
  file.addRecord(fixture::accountRecord(0, std::string(49, 'b'), "extra"), 2);
  file.addRecord(fixture::labelRecord(std::string(52, 'l')), 3);
  file.addRecord(fixture::categoryRecord(std::string(51, 'c')), 4);
  ListDatabase db = readList(file);
  ASSERT_EQ(db.accounts.size(), 2u);
  EXPECT_EQ(fieldText(db.accounts[0].name), std::string(49, 'a'));
  EXPECT_EQ(fieldText(db.accounts[0].extraText), std::string(303, 'e'));
  EXPECT_EQ(fieldText(db.accounts[1].name), std::string(49, 'b'));
  EXPECT_EQ(fieldText(db.accounts[1].extraText), "extra");
  EXPECT_EQ(fieldText(db.labels[0].label), std::string(51, 'l'));
  EXPECT_EQ(fieldText(db.categories[0].name), std::string(50, 'c'));
  EXPECT_FALSE(db.damage.damaged());
}

struct RecordCut {
  const char* where;
  Bytes record;  // the last record of the file
  size_t keep;   // its bytes left in the file
  bool readable;
};

TEST(ListDatabaseTest, RecordsCutOffByTheEndOfTheFileAreUnreadable) {
  const Bytes account = fixture::accountRecord(0, "Name", "Extra");   // 24 + 5 + 6 bytes
  const Bytes currency = fixture::currencyRecord(true, true, "USD");  // 28 bytes
  const Bytes category = fixture::categoryRecord("Food");             // 5 + 5 bytes
  const Bytes label = fixture::labelRecord("Tag");                    // 4 + 4 bytes
  const RecordCut cases[] = {
      {"account kind cut", account, 1, false},
      {"account fixed part cut", account, 20, false},
      {"account name cut", account, 27, false},
      {"account extra text cut", account, 34, false},
      {"account whole", account, 35, true},
      {"currency fixed part cut", currency, 27, false},
      {"currency whole", currency, 28, true},
      {"category attribute bytes cut", category, 4, false},
      {"category name unterminated", category, 9, false},
      {"category whole", category, 10, true},
      {"label name cut", label, 6, false},
      {"label whole", label, 8, true},
  };
  for (const RecordCut& c : cases) {
    SCOPED_TRACE(c.where);
    fixture::PdbFile file = fixture::listFile();
    file.addRecord(fixture::accountRecord(0, "Kept"), 1);
    file.addRecord(c.record, 2);
    Bytes image = file.build();
    image.resize(image.size() - (c.record.size() - c.keep));
    ListDatabase db;
    EXPECT_TRUE(db.readImage(image));
    EXPECT_EQ(db.accounts.size() + db.labels.size() + db.currencies.size() + db.categories.size(),
              c.readable ? 2u : 1u);
    EXPECT_EQ(db.damage.unreadableRecords, c.readable ? 0u : 1u);
    EXPECT_FALSE(db.damage.structureCutOff);
    EXPECT_EQ(db.findAccount(1), 0u);
  }
}

TEST(ListDatabaseTest, RecordBeyondTheEndDoesNotStopTheNextOne) {
  fixture::PdbFile file = fixture::listFile();
  file.addRecord(fixture::accountRecord(0, "Last"), 3);
  file.addRecord(fixture::accountRecord(0, "Unterminated"), 1);
  file.data.pop_back();  // its extra text loses its NUL and runs to the end of the file
  // Listed: the unterminated record, an offset beyond the end, then "Last".
  file.entries = {file.entries[1], {0xFFFFFFF0u, false, 0, 2}, file.entries[0]};
  ListDatabase db = readList(file);
  ASSERT_EQ(db.accounts.size(), 1u);
  EXPECT_EQ(fieldText(db.accounts[0].name), "Last");
  EXPECT_EQ(db.damage.unreadableRecords, 2u);
  EXPECT_EQ(db.damage.recordCount, 3u);
  EXPECT_TRUE(db.damage.damaged());
}

TEST(ListDatabaseTest, ReadsFromDiskAndResetsOnFailure) {
  fixture::PdbFile file = fixture::listFile("Nobody");
  file.addRecord(fixture::accountRecord(0, "Savings"), 9);
  file.addRecord(fixture::currencyRecord(true, true, "EUR"), 10);
  const std::string path = ::testing::TempDir() + "/QMXListDB.pdb";
  ASSERT_TRUE(fixture::writeFile(path, file.build()));
  ListDatabase db;
  ASSERT_TRUE(db.read(path));
  EXPECT_EQ(db.findAccount(9), 0u);
  EXPECT_EQ(db.noAccountName(), "Nobody");

  fixture::PdbFile foreign = fixture::transactionFile();
  foreign.addRecord(fixture::transactionRecord({}), 1);
  ASSERT_TRUE(fixture::writeFile(path, foreign.build()));
  EXPECT_FALSE(db.read(path));
  EXPECT_EQ(fieldText(db.header.type), "Dat2");  // the header as read
  EXPECT_TRUE(db.accounts.empty());
  EXPECT_TRUE(db.currencies.empty());
  EXPECT_EQ(db.noAccountName(), "");
  EXPECT_EQ(db.appInfo.reserved, (std::array<uint8_t, 292>{}));
  EXPECT_EQ(db.findAccount(9), 0u);
  EXPECT_EQ(db.findHomeCurrency(), 0u);

  ASSERT_TRUE(db.readImage(file.build()));
  EXPECT_FALSE(db.read(::testing::TempDir() + "/missing/QMXListDB.pdb"));
  EXPECT_TRUE(db.accounts.empty());
  EXPECT_EQ(db.header.recordCount, 0);
}

}  // namespace
