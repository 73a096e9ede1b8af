#include "render/row.h"

#include "render/amounts.h"
#include "render/dates.h"
#include "render/text_encoding.h"

namespace {

const char kNotFound[] = "???";

// The account text for an account ID: noAccountName for 0, "???" when no
// account has the ID. *found is the account's position, or the collection's
// size when there is none.
std::string accountText(const ListDatabase& listDatabase, uint32_t id, size_t* found) {
  *found = listDatabase.accounts.size();
  if (id == 0)
    return listDatabase.noAccountName();
  *found = listDatabase.findAccount(id);
  if (*found == listDatabase.accounts.size())
    return kNotFound;
  return fieldText(listDatabase.accounts[*found].name);
}

// The currency with the given ID, or the default currency.
CurrencyRecord currencyById(const ListDatabase& listDatabase, uint32_t id) {
  const size_t index = listDatabase.findCurrency(id);
  return index < listDatabase.currencies.size() ? listDatabase.currencies[index]
                                                : defaultCurrency();
}

std::string categoryText(const ListDatabase& listDatabase, uint32_t id,
                         const std::string& defaultCategory) {
  if (id == 0)
    return defaultCategory;
  const size_t index = listDatabase.findCategory(id);
  if (index == listDatabase.categories.size())
    return kNotFound;
  return fieldText(listDatabase.categories[index].name);
}

// Line feeds become spaces so that a memo stays on one line.
std::string memoText(const TransactionRecord& record) {
  std::string memo = fieldText(record.memo);
  for (char& c : memo) {
    if (c == '\n')
      c = ' ';
  }
  return memo;
}

const char* flagText(uint8_t flag, const char* word) {
  return flag != 0 ? word : "";
}

// With -u the account filter also takes the account name in UTF-8, the form
// a UTF-8 terminal passes.
bool isChosenAccount(const std::string& account, const RunOptions& options) {
  return isAllAccounts(options.accountName) || account == options.accountName ||
         (options.utf8Output && windows1252ToUtf8(account) == options.accountName);
}

// With -u every text taken from the databases becomes UTF-8; the fixed texts
// are ASCII and stay as they are.
void convertDatabaseTexts(TransactionRow& row) {
  for (std::string* text : {&row.account, &row.payee, &row.currency, &row.accountCurrency,
                            &row.checkNumber, &row.category, &row.transferAccount, &row.memo}) {
    *text = windows1252ToUtf8(*text);
  }
}

}  // namespace

bool isAllAccounts(const std::string& accountName) {
  return accountName == "all" || accountName == "All" || accountName == "ALL";
}

bool renderTransactionRow(const ListDatabase& listDatabase, const CurrencyRecord& homeCurrency,
                          const std::string& defaultCategory, const RunOptions& options,
                          const TransactionRecord& record, TransactionRow& row) {
  size_t account = 0;
  row.account = accountText(listDatabase, record.accountId, &account);
  if (!isChosenAccount(row.account, options))
    return false;
  const CurrencyRecord accountCurrency =
      account < listDatabase.accounts.size()
          ? currencyById(listDatabase, listDatabase.accounts[account].currencyId)
          : homeCurrency;
  size_t transferAccount = 0;
  row.transferAccount = accountText(listDatabase, record.transferAccountId, &transferAccount);
  const CurrencyRecord currency = currencyById(listDatabase, record.currencyId);
  row.category = categoryText(listDatabase, record.categoryId, defaultCategory);

  row.date = formatDate(record.month, record.day, record.year, options.monthFirst,
                        options.dateSeparator, options.twoDigitYear);
  row.time = formatTime(record.hour, record.minute, options.timeSeparator);
  row.payee = fieldText(record.payee);
  row.debitCredit = record.isDebit != 0 ? "Debit" : "Credit";
  row.amount = formatAmount(record.amount, currency, options.decimalSymbol);
  row.currency = fieldText(currency.code);
  // A zero amount (either sign) has no rate; it counts as one to one.
  const double rate = record.amount == 0.0 ? 1.0 : record.accountAmount / record.amount;
  row.exchangeRate = formatRate(rate, options.decimalSymbol);
  row.accountAmount = formatAmount(record.accountAmount, accountCurrency, options.decimalSymbol);
  row.accountCurrency = fieldText(accountCurrency.code);
  row.checkNumber = fieldText(record.checkNumber);
  row.tax = flagText(record.isTax, "Tax");
  row.cleared = flagText(record.isCleared, "Cleared");
  row.reconciled = flagText(record.isReconciled, "Reconciled");
  row.memo = memoText(record);
  if (options.utf8Output)
    convertDatabaseTexts(row);
  return true;
}
