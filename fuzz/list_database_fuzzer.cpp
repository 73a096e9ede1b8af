// Arbitrary bytes as a list database file: the reader must stay inside the
// image, keep every text terminated, store nothing for a foreign file and
// report a damage count that fits the record list.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_checks.h"
#include "pdb/list_database.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> image(data, data + size);
  ListDatabase database;
  const bool identified = database.readImage(image);
  const size_t stored = database.accounts.size() + database.labels.size() +
                        database.currencies.size() + database.categories.size();
  expect(identified || stored == 0);
  expect(stored <= database.header.recordCount);
  expect(database.damage.unreadableRecords <= database.damage.recordCount);
  expect(database.noAccountName().size() < database.appInfo.noAccountName.size());

  for (const AccountRecord& account : database.accounts) {
    expect(terminated(account.name) && terminated(account.extraText));
    expect(database.findAccount(account.uniqueId) < database.accounts.size());
    expect(database.findCurrency(account.currencyId) <= database.currencies.size());
  }
  for (const LabelRecord& label : database.labels)
    expect(terminated(label.label));
  for (const CategoryRecord& category : database.categories) {
    expect(terminated(category.name));
    expect(database.findCategory(category.uniqueId) < database.categories.size());
  }
  expect(database.findHomeCurrency() <= database.currencies.size());
  return 0;
}
