#include "export/qif_writer.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TransactionRow entryRow() {
  TransactionRow row;
  row.date = "01/15/2003";
  row.time = "10:30";
  row.account = "Checking";
  row.payee = "Shop";
  row.debitCredit = "Credit";
  row.amount = "99.99";
  row.currency = "EUR";
  row.exchangeRate = "0.125";
  row.accountAmount = "12.50";
  row.accountCurrency = "USD";
  row.category = "Food";
  row.transferAccount = "Savings";
  row.tax = "Tax";
  row.memo = "note";
  return row;
}

std::string entryText(const TransactionRow& row) {
  std::ostringstream out;
  writeQifEntry(out, row);
  return out.str();
}

TEST(QifWriterTest, EntryLines) {
  const struct {
    const char* what;
    const char* debitCredit;
    const char* cleared;
    const char* reconciled;
    const char* checkNumber;
    const char* expected;
  } cases[] = {
      {"credit", "Credit", "", "", "", "D01/15/2003\nT12.50\nPShop\nMnote\nLFood\n^\n"},
      {"debit", "Debit", "", "", "", "D01/15/2003\nT-12.50\nPShop\nMnote\nLFood\n^\n"},
      {"cleared", "Credit", "Cleared", "", "", "D01/15/2003\nT12.50\nC*\nPShop\nMnote\nLFood\n^\n"},
      {"reconciled", "Credit", "", "Reconciled", "",
       "D01/15/2003\nT12.50\nCX\nPShop\nMnote\nLFood\n^\n"},
      {"both", "Debit", "Cleared", "Reconciled", "",
       "D01/15/2003\nT-12.50\nCX\nPShop\nMnote\nLFood\n^\n"},
      {"check number", "Credit", "", "", "1001",
       "D01/15/2003\nT12.50\nN1001\nPShop\nMnote\nLFood\n^\n"},
      {"debit in other words", "debit", "", "", "",
       "D01/15/2003\nT12.50\nPShop\nMnote\nLFood\n^\n"},
  };
  for (const auto& c : cases) {
    TransactionRow row = entryRow();
    row.debitCredit = c.debitCredit;
    row.cleared = c.cleared;
    row.reconciled = c.reconciled;
    row.checkNumber = c.checkNumber;
    EXPECT_EQ(entryText(row), c.expected) << c.what;
  }
}

TEST(QifWriterTest, EmptyPayeeMemoAndCategoryKeepTheirLines) {
  TransactionRow row;
  row.date = "01/15/2003";
  row.accountAmount = "0.00";
  EXPECT_EQ(entryText(row), "D01/15/2003\nT0.00\nP\nM\nL\n^\n");
}

TEST(QifWriterTest, LineBreaksInTextsBecomeSpaces) {
  TransactionRow row = entryRow();
  row.date = "01\n15";
  row.accountAmount = "1\r2";
  row.checkNumber = "\n";
  row.payee = "Shop\r\nLtd";
  row.memo = "a\rb";
  row.category = "x\n";
  EXPECT_EQ(entryText(row), "D01 15\nT1 2\nN \nPShop  Ltd\nMa b\nLx \n^\n");

  std::ostringstream out;
  writeQifAccountList(out, {"Two\nLines"});
  writeQifAccountHeader(out, "Cash\r");
  EXPECT_EQ(out.str(),
            "!Option:AutoSwitch\n!Account\nNTwo Lines\nTBank\n^\n!Clear:AutoSwitch\n"
            "!Option:AutoSwitch\n!Account\nNCash \nTBank\n^\n!Type:Bank\n");
}

TEST(QifWriterTest, AccountListDeclaresEveryName) {
  std::ostringstream out;
  writeQifAccountList(out, {"A", "B", "Unfiled Account"});
  EXPECT_EQ(out.str(),
            "!Option:AutoSwitch\n"
            "!Account\n"
            "NA\nTBank\n^\n"
            "NB\nTBank\n^\n"
            "NUnfiled Account\nTBank\n^\n"
            "!Clear:AutoSwitch\n"
            "!Option:AutoSwitch\n");
}

TEST(QifWriterTest, AccountListWithoutAccounts) {
  std::ostringstream out;
  writeQifAccountList(out, {});
  EXPECT_EQ(out.str(), "!Option:AutoSwitch\n!Account\n!Clear:AutoSwitch\n!Option:AutoSwitch\n");
}

TEST(QifWriterTest, HeadersAndTypeLine) {
  std::ostringstream out;
  writeQifAccountHeader(out, "US Checking");
  writeQifTypeHeader(out);
  EXPECT_EQ(out.str(), "!Account\nNUS Checking\nTBank\n^\n!Type:Bank\n!Type:Bank\n");
}

TEST(QifWriterTest, TextsOtherwiseGoOutByteForByte) {
  TransactionRow row = entryRow();
  row.payee = " \"Caf\xe9\", \t ";
  EXPECT_NE(entryText(row).find("\nP \"Caf\xe9\", \t \n"), std::string::npos);
}

}  // namespace
