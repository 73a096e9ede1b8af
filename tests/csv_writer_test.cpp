#include "export/csv_writer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>

namespace {

std::string csvLine(const TransactionRow& row) {
  std::ostringstream out;
  writeCsvLine(out, row);
  return out.str();
}

TransactionRow numberedRow() {
  TransactionRow row;
  int number = 1;
  for (std::string* field : fieldsInOrder(row))
    *field = "f" + std::to_string(number++);
  return row;
}

TEST(CsvWriterTest, AllEmptyRowIsSeventeenEmptyFields) {
  std::string expected = "\"\"";
  for (int i = 1; i < 17; ++i)
    expected += ",\"\"";
  EXPECT_EQ(csvLine(TransactionRow()), expected + "\n");
}

TEST(CsvWriterTest, FieldsGoOutInColumnOrder) {
  EXPECT_EQ(csvLine(numberedRow()),
            "\"f1\",\"f2\",\"f3\",\"f4\",\"f5\",\"f6\",\"f7\",\"f8\",\"f9\",\"f10\",\"f11\","
            "\"f12\",\"f13\",\"f14\",\"f15\",\"f16\",\"f17\"\n");
}

TEST(CsvWriterTest, QuotesAreDoubledEverythingElseUnchanged) {
  const struct {
    const char* payee;
    const char* written;
  } cases[] = {
      {"Smith, Jones", "\"Smith, Jones\""},
      {"the \"best\" shop", "\"the \"\"best\"\" shop\""},
      {"\"", "\"\"\"\""},
      {"\"\"", "\"\"\"\"\"\""},
      {"a\rb\tc;d", "\"a\rb\tc;d\""},
      {"\xe9t\xe9\xff", "\"\xe9t\xe9\xff\""},
  };
  std::string thirteenEmpty;
  for (int i = 0; i < 13; ++i)
    thirteenEmpty += ",\"\"";
  for (const auto& c : cases) {
    TransactionRow row;
    row.payee = c.payee;
    EXPECT_EQ(csvLine(row), "\"\",\"\",\"\"," + std::string(c.written) + thirteenEmpty + "\n")
        << c.payee;
  }
}

// Counts the flushes that reach the stream's buffer.
struct FlushCounter : std::stringbuf {
  int flushes = 0;
  int sync() override {
    ++flushes;
    return std::stringbuf::sync();
  }
};

TEST(CsvWriterTest, FlushesEveryLine) {
  FlushCounter buffer;
  std::ostream out(&buffer);
  writeCsvLine(out, numberedRow());
  EXPECT_EQ(buffer.flushes, 1);
  writeCsvLine(out, TransactionRow());
  EXPECT_EQ(buffer.flushes, 2);
}

TEST(CsvWriterTest, FailedStreamDropsTheLineQuietly) {
  std::ostringstream out;
  out.setstate(std::ios::badbit);
  writeCsvLine(out, numberedRow());
  EXPECT_EQ(out.str(), "");
}

}  // namespace
