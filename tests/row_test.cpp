#include "render/row.h"

#include <gtest/gtest.h>

#include "memory_databases.h"

namespace {

using memory::setText;

// Accounts 1 "US Checking" (USD, two decimals), 2 "Euro Cash" (EUR), 3 "aLL",
// 4 "Orphan" (a currency that does not exist); JPY without decimals; home
// currency CHF, which no account uses.
ListDatabase sampleList() {
  return memory::ListBuilder("Unfiled")
      .currency(10, "USD", true)
      .currency(11, "EUR", true)
      .currency(12, "JPY", false)
      .currency(13, "CHF", true, true)
      .account(1, "US Checking", 10)
      .account(2, "Euro Cash", 11)
      .account(3, "aLL", 10)
      .account(4, "Orphan", 99)
      .category(20, "Groceries")
      .build();
}

CurrencyRecord homeOf(const ListDatabase& list) {
  return list.currencies[list.findHomeCurrency()];
}

struct Rendered {
  bool accepted;
  TransactionRow row;
};

Rendered render(const TransactionRecord& record, const RunOptions& options = RunOptions()) {
  const ListDatabase list = sampleList();
  Rendered result;
  result.accepted =
      renderTransactionRow(list, homeOf(list), "Unfiled", options, record, result.row);
  return result;
}

TEST(IsAllAccountsTest, OnlyThreeSpellings) {
  for (const char* name : {"all", "All", "ALL"})
    EXPECT_TRUE(isAllAccounts(name)) << name;
  for (const char* name : {"aLL", "alL", "all ", " All", "", "Alle"}) {
    EXPECT_FALSE(isAllAccounts(name)) << '"' << name << '"';
  }
}

TEST(RenderRowTest, FillsEveryFieldOfARegularTransaction) {
  TransactionRecord record = memory::transaction(1, 1234.5);
  record.currencyId = 10;
  record.categoryId = 20;
  record.transferAccountId = 2;
  record.isDebit = 1;
  record.isTax = 1;
  record.isCleared = 1;
  record.isReconciled = 1;
  setText(record.payee, "Corner Shop, \"Ltd\"");
  setText(record.checkNumber, "1001");
  setText(record.memo, "first\r\nsecond\tthird\n");
  const Rendered r = render(record);
  ASSERT_TRUE(r.accepted);
  EXPECT_EQ(r.row.date, "01/15/2003");
  EXPECT_EQ(r.row.time, "10:30");
  EXPECT_EQ(r.row.account, "US Checking");
  EXPECT_EQ(r.row.payee, "Corner Shop, \"Ltd\"");
  EXPECT_EQ(r.row.debitCredit, "Debit");
  EXPECT_EQ(r.row.amount, "1234.50");  // never signed
  EXPECT_EQ(r.row.currency, "USD");
  EXPECT_EQ(r.row.exchangeRate, "1");
  EXPECT_EQ(r.row.accountAmount, "1234.50");
  EXPECT_EQ(r.row.accountCurrency, "USD");
  EXPECT_EQ(r.row.checkNumber, "1001");
  EXPECT_EQ(r.row.category, "Groceries");
  EXPECT_EQ(r.row.transferAccount, "Euro Cash");
  EXPECT_EQ(r.row.tax, "Tax");
  EXPECT_EQ(r.row.cleared, "Cleared");
  EXPECT_EQ(r.row.reconciled, "Reconciled");
  EXPECT_EQ(r.row.memo, "first\r second\tthird ");
}

TEST(RenderRowTest, ClearFlagsGiveEmptyTexts) {
  const Rendered r = render(memory::transaction(1));
  ASSERT_TRUE(r.accepted);
  EXPECT_EQ(r.row.debitCredit, "Credit");
  EXPECT_EQ(r.row.tax, "");
  EXPECT_EQ(r.row.cleared, "");
  EXPECT_EQ(r.row.reconciled, "");
  EXPECT_EQ(r.row.checkNumber, "");
  EXPECT_EQ(r.row.category, "Unfiled");
}

TEST(RenderRowTest, UsesTheNotationOfTheOptions) {
  RunOptions options;
  options.monthFirst = false;
  options.dateSeparator = ".";
  options.twoDigitYear = true;
  options.timeSeparator = ",";
  options.decimalSymbol = ",";
  TransactionRecord record = memory::transaction(1, 10.0);
  record.accountAmount = 15.0;
  const Rendered r = render(record, options);
  EXPECT_EQ(r.row.date, "15.01.03");
  EXPECT_EQ(r.row.time, "10,30");
  EXPECT_EQ(r.row.amount, "10,00");
  EXPECT_EQ(r.row.exchangeRate, "1,5");
}

struct ReferenceCase {
  const char* what;
  uint32_t accountId;
  uint32_t currencyId;
  const char* account;
  const char* amount;
  const char* currency;
  const char* accountAmount;
  const char* accountCurrency;
};

// The transaction currency follows the record's own ID (the default
// currency when it is missing); the account currency follows the account
// (the home currency when there is no account or it is missing, the default
// when the account's currency is missing).
TEST(RenderRowTest, ResolvesAccountsAndCurrencies) {
  const ReferenceCase cases[] = {
      {"own account", 1, 10, "US Checking", "1234.50", "USD", "1234.50", "USD"},
      {"foreign currency", 1, 12, "US Checking", "1235", "JPY", "1234.50", "USD"},
      {"no account", 0, 10, "Unfiled", "1234.50", "USD", "1234.50", "CHF"},
      {"missing account", 77, 12, "???", "1235", "JPY", "1234.50", "CHF"},
      {"missing currency", 2, 55, "Euro Cash", "1234.50", "???", "1234.50", "EUR"},
      {"account currency missing", 4, 12, "Orphan", "1235", "JPY", "1234.50", "???"},
  };
  for (const ReferenceCase& c : cases) {
    TransactionRecord record = memory::transaction(c.accountId, 1234.5);
    record.currencyId = c.currencyId;
    const Rendered r = render(record);
    ASSERT_TRUE(r.accepted) << c.what;
    EXPECT_EQ(r.row.account, c.account) << c.what;
    EXPECT_EQ(r.row.amount, c.amount) << c.what;
    EXPECT_EQ(r.row.currency, c.currency) << c.what;
    EXPECT_EQ(r.row.accountAmount, c.accountAmount) << c.what;
    EXPECT_EQ(r.row.accountCurrency, c.accountCurrency) << c.what;
  }
}

TEST(RenderRowTest, AccountCurrencyWithoutDecimals) {
  const ListDatabase list =
      memory::ListBuilder().currency(12, "JPY", false, true).account(1, "Yen Wallet", 12).build();
  TransactionRecord record = memory::transaction(1, 1234.5);
  record.currencyId = 12;
  TransactionRow row;
  ASSERT_TRUE(renderTransactionRow(list, defaultCurrency(), "Unfiled", RunOptions(), record, row));
  EXPECT_EQ(row.accountAmount, "1235");
  EXPECT_EQ(row.accountCurrency, "JPY");
}

TEST(RenderRowTest, ResolvesTransferAccountsAndCategories) {
  const struct {
    uint32_t transferAccountId;
    uint32_t categoryId;
    const char* transferAccount;
    const char* category;
  } cases[] = {
      {2, 20, "Euro Cash", "Groceries"},
      {0, 0, "Unfiled", "Unfiled"},
      {88, 21, "???", "???"},
  };
  for (const auto& c : cases) {
    TransactionRecord record = memory::transaction(1);
    record.transferAccountId = c.transferAccountId;
    record.categoryId = c.categoryId;
    const Rendered r = render(record);
    EXPECT_EQ(r.row.transferAccount, c.transferAccount);
    EXPECT_EQ(r.row.category, c.category);
  }
}

TEST(RenderRowTest, EmptyListDatabaseFindsNothing) {
  ListDatabase list = memory::ListBuilder("None").build();
  TransactionRecord record = memory::transaction(1);
  record.currencyId = 1;
  record.categoryId = 1;
  record.transferAccountId = 0;
  TransactionRow row;
  ASSERT_TRUE(renderTransactionRow(list, defaultCurrency(), "Unfiled", RunOptions(), record, row));
  EXPECT_EQ(row.account, "???");
  EXPECT_EQ(row.transferAccount, "None");
  EXPECT_EQ(row.currency, "???");
  EXPECT_EQ(row.accountCurrency, "???");
  EXPECT_EQ(row.category, "???");
}

TEST(RenderRowTest, ExchangeRateIsAccountAmountOverAmount) {
  const struct {
    double amount;
    double accountAmount;
    const char* rate;
  } cases[] = {
      {10.0, 15.0, "1.5"},    {0.0, 12.34, "1"},   {-0.0, 12.34, "1"},
      {3.0, 1.0, "0.333333"}, {-2.0, 5.0, "-2.5"}, {1e-300, 1e300, "inf"},
  };
  for (const auto& c : cases) {
    TransactionRecord record = memory::transaction(1, c.amount);
    record.accountAmount = c.accountAmount;
    EXPECT_EQ(render(record).row.exchangeRate, c.rate) << c.amount << " " << c.accountAmount;
  }
}

struct FilterCase {
  const char* accountName;
  uint32_t accountId;
  bool accepted;
};

TEST(RenderRowTest, AccountFilterComparesWholeTextsExactly) {
  const FilterCase cases[] = {
      {"US Checking", 1, true},  {"us checking", 1, false}, {"US Checking ", 1, false},
      {"US Checking", 2, false}, {"all", 2, true},          {"All", 0, true},
      {"ALL", 77, true},         {"aLL", 3, true},          {"aLL", 1, false},
      {"Unfiled", 0, true},      {"Unfiled", 1, false},     {"???", 77, true},
      {"???", 0, false},
  };
  for (const FilterCase& c : cases) {
    RunOptions options;
    options.accountName = c.accountName;
    const Rendered r = render(memory::transaction(c.accountId), options);
    EXPECT_EQ(r.accepted, c.accepted) << c.accountName << " / " << c.accountId;
  }
}

TEST(RenderRowTest, RejectedRowHoldsOnlyTheAccount) {
  RunOptions options;
  options.accountName = "Euro Cash";
  TransactionRecord record = memory::transaction(1);
  record.categoryId = 20;
  setText(record.payee, "Someone");
  const Rendered r = render(record, options);
  EXPECT_FALSE(r.accepted);
  EXPECT_EQ(r.row.account, "US Checking");
  EXPECT_EQ(r.row.payee, "");
  EXPECT_EQ(r.row.date, "");
  EXPECT_EQ(r.row.category, "");
}

TEST(RenderRowTest, TextsFillingTheirWholeFieldAreKept) {
  TransactionRecord record = memory::transaction(1);
  record.payee.fill('p');  // no NUL at all: the text ends with the field
  record.memo.fill('m');
  const Rendered r = render(record);
  EXPECT_EQ(r.row.payee, std::string(100, 'p'));
  EXPECT_EQ(r.row.memo, std::string(305, 'm'));
}

}  // namespace
