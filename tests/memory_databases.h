// Databases built in memory for the rendering and export tests: records are
// pushed into the collections directly, without a file in between.
#ifndef QMX_TESTS_MEMORY_DATABASES_H_
#define QMX_TESTS_MEMORY_DATABASES_H_

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "pdb/list_database.h"
#include "pdb/transaction_database.h"

namespace memory {

// Copies text into a fixed field, cut so that a NUL always follows.
template <size_t N>
void setText(std::array<char, N>& field, const std::string& text) {
  field.fill('\0');
  std::copy_n(text.begin(), std::min(text.size(), N - 1), field.begin());
}

struct ListBuilder {
  ListDatabase list;

  explicit ListBuilder(const std::string& noAccountName = "Unfiled") {
    setText(list.appInfo.noAccountName, noAccountName);
  }
  ListBuilder& account(uint32_t id, const std::string& name, uint32_t currencyId) {
    AccountRecord record;
    record.uniqueId = id;
    record.currencyId = currencyId;
    setText(record.name, name);
    list.accounts.push_back(record);
    return *this;
  }
  ListBuilder& currency(uint32_t id, const std::string& code, bool hasDecimals,
                        bool isHome = false) {
    CurrencyRecord record;
    record.uniqueId = id;
    record.hasDecimals = hasDecimals ? 1 : 0;
    record.isHome = isHome ? 1 : 0;
    setText(record.code, code);
    list.currencies.push_back(record);
    return *this;
  }
  ListBuilder& category(uint32_t id, const std::string& name) {
    CategoryRecord record;
    record.uniqueId = id;
    setText(record.name, name);
    list.categories.push_back(record);
    return *this;
  }
  ListDatabase build() {
    list.buildIndexes();
    return list;
  }
};

// A regular transaction on 15 January 2003, 10:30, of the given account.
inline TransactionRecord transaction(uint32_t accountId, double amount = 10.0) {
  TransactionRecord record;
  record.day = 15;
  record.month = 1;
  record.year = 2003;
  record.hour = 10;
  record.minute = 30;
  record.entryKind = 2;
  record.accountId = accountId;
  record.amount = amount;
  record.accountAmount = amount;
  return record;
}

}  // namespace memory

#endif  // QMX_TESTS_MEMORY_DATABASES_H_
