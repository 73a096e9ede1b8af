#include "pdb/list_database.h"

CurrencyRecord defaultCurrency() {
  CurrencyRecord currency;
  currency.uniqueId = 0;
  currency.kind = 2;
  currency.hasDecimals = 1;
  currency.isHome = 0;
  currency.rateA = 1.0;
  currency.rateB = 1.0;
  currency.code = {'?', '?', '?', 0, 0, 0, 0, 0};
  return currency;
}

namespace {

// First record of each unique ID, in record-list order.
template <typename Record>
std::unordered_map<uint32_t, size_t> indexById(const std::vector<Record>& records) {
  std::unordered_map<uint32_t, size_t> index;
  index.reserve(records.size());
  for (size_t i = 0; i < records.size(); ++i) index.emplace(records[i].uniqueId, i);
  return index;
}

size_t lookUp(const std::unordered_map<uint32_t, size_t>& index, uint32_t id, size_t absent) {
  auto found = index.find(id);
  return found == index.end() ? absent : found->second;
}

}  // namespace

void ListDatabase::buildIndexes() {
  accountIndex_ = indexById(accounts);
  currencyIndex_ = indexById(currencies);
  categoryIndex_ = indexById(categories);
  homeCurrencyIndex_ = currencies.size();
  for (size_t i = 0; i < currencies.size(); ++i) {
    if (currencies[i].isHome != 0) {
      homeCurrencyIndex_ = i;
      break;
    }
  }
}

size_t ListDatabase::findAccount(uint32_t id) const {
  return lookUp(accountIndex_, id, accounts.size());
}

size_t ListDatabase::findCurrency(uint32_t id) const {
  return lookUp(currencyIndex_, id, currencies.size());
}

size_t ListDatabase::findHomeCurrency() const { return homeCurrencyIndex_; }

size_t ListDatabase::findCategory(uint32_t id) const {
  return lookUp(categoryIndex_, id, categories.size());
}

// ---- Reading (record readers and read/readImage) follows. ----
