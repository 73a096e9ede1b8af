// One transaction as the 17 texts that the writers print: references into
// the list database resolved to names and codes, numbers formatted, flags
// turned into words; also applies the account filter of -a.
#ifndef QMX_RENDER_ROW_H_
#define QMX_RENDER_ROW_H_

#include <array>
#include <string>

#include "frontend/run_options.h"
#include "pdb/list_database.h"
#include "pdb/transaction_database.h"

struct TransactionRow {
  std::string date;
  std::string time;
  std::string account;
  std::string payee;
  std::string debitCredit;
  std::string amount;
  std::string currency;
  std::string exchangeRate;
  std::string accountAmount;
  std::string accountCurrency;
  std::string checkNumber;
  std::string category;
  std::string transferAccount;
  std::string tax;
  std::string cleared;
  std::string reconciled;
  std::string memo;
};

// Pointers to the 17 fields in column order, for a TransactionRow or a
// const TransactionRow.
template <typename Row>
auto fieldsInOrder(Row& row) {
  return std::array{&row.date,
                    &row.time,
                    &row.account,
                    &row.payee,
                    &row.debitCredit,
                    &row.amount,
                    &row.currency,
                    &row.exchangeRate,
                    &row.accountAmount,
                    &row.accountCurrency,
                    &row.checkNumber,
                    &row.category,
                    &row.transferAccount,
                    &row.tax,
                    &row.cleared,
                    &row.reconciled,
                    &row.memo};
}

// True when "all", "All" or "ALL": every account is exported.
bool isAllAccounts(const std::string& accountName);

// Fills row and returns true; false (only `account` assigned) when the
// transaction belongs to another account than options.accountName.
bool renderTransactionRow(const ListDatabase& listDatabase, const CurrencyRecord& homeCurrency,
                          const std::string& defaultCategory, const RunOptions& options,
                          const TransactionRecord& record, TransactionRow& row);

#endif  // QMX_RENDER_ROW_H_
