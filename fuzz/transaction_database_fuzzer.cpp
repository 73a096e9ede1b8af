// Arbitrary bytes as a transaction database file: the reader must stay
// inside the image, keep every text terminated, sort each record into the
// collection of its entry kind and report a damage count that fits.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz_checks.h"
#include "pdb/transaction_database.h"

namespace {

void expectKind(const std::vector<TransactionRecord>& records, uint16_t entryKind) {
  for (const TransactionRecord& record : records) {
    expect(record.entryKind == entryKind);
    expect(terminated(record.payee) && terminated(record.checkNumber) && terminated(record.memo));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> image(data, data + size);
  TransactionDatabase database;
  const bool identified = database.readImage(image);
  const size_t stored =
      database.kind0Entries.size() + database.kind1Entries.size() + database.transactions.size();
  expect(identified || stored == 0);
  expect(stored <= database.header.recordCount);
  expect(database.damage.unreadableRecords <= database.damage.recordCount);
  expectKind(database.kind0Entries, 0);
  expectKind(database.kind1Entries, 1);
  expectKind(database.transactions, 2);
  return 0;
}
