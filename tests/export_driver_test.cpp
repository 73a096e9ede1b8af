#include "export/export_driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <system_error>

#include "memory_databases.h"
#include "render/dates.h"

namespace {

namespace fs = std::filesystem;

// Accounts A (1), B (2) and one with an empty name (3), all in USD.
ListDatabase sampleList(const std::string& noAccountName = "Unfiled") {
  return memory::ListBuilder(noAccountName)
      .currency(10, "USD", true, true)
      .account(1, "A", 10)
      .account(2, "B", 10)
      .account(3, "", 10)
      .build();
}

TransactionRecord onDay(uint32_t accountId, int day, double amount) {
  TransactionRecord record = memory::transaction(accountId, amount);
  record.day = static_cast<int8_t>(day);
  return record;
}

struct Output {
  std::string csv;
  std::string qif;
};

Output exportToMemory(const ListDatabase& list, const TransactionDatabase& transactions,
                      const RunOptions& options = RunOptions()) {
  std::ostringstream csv;
  std::ostringstream qif;
  writeExport(list, transactions, options, &csv, &qif);
  return {csv.str(), qif.str()};
}

TransactionDatabase withTransactions(std::initializer_list<TransactionRecord> records) {
  TransactionDatabase database;
  database.transactions = records;
  return database;
}

// The accounts in the QIF file's account headers, in order.
std::vector<std::string> headerAccounts(const std::string& qif) {
  std::vector<std::string> accounts;
  const std::string marker = "!Account\nN";
  for (size_t at = qif.find(marker); at != std::string::npos; at = qif.find(marker, at + 1)) {
    const size_t start = at + marker.size();
    const std::string rest = qif.substr(start, qif.find('\n', start) - start);
    // Headers end in "!Type:Bank"; the account list's declarations do not.
    if (qif.compare(qif.find("^\n", start) + 2, 10, "!Type:Bank") == 0)
      accounts.push_back(rest);
  }
  return accounts;
}

size_t countOf(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST(CompleteOutputNameTest, AppendsUnlessTheLastComponentHasAThreeCharacterExtension) {
  const struct {
    const char* name;
    const char* extension;
    const char* completed;
  } cases[] = {
      {"export", ".csv", "export.csv"},
      {"export.txt", ".csv", "export.txt"},
      {"export.csv", ".csv", "export.csv"},
      {"export.qif", ".csv", "export.qif"},
      {"report.xlsx", ".csv", "report.xlsx.csv"},
      {"a.b", ".csv", "a.b.csv"},
      {"a.", ".csv", "a..csv"},
      {"", ".csv", ".csv"},
      {"abc.d/e", ".csv", "abc.d/e.csv"},
      {"my.dir/out", ".qif", "my.dir/out.qif"},
      {"my.dir/out.dat", ".qif", "my.dir/out.dat"},
      {"x/abc.d/e", ".csv", "x/abc.d/e.csv"},
      {"../out", ".qif", "../out.qif"},
      {"data.2003/report", ".qif", "data.2003/report.qif"},
#ifdef _WIN32
      {"C:\\my.dir\\out", ".csv", "C:\\my.dir\\out.csv"},
      {"C:\\dir\\out.txt", ".csv", "C:\\dir\\out.txt"},
#endif
  };
  for (const auto& c : cases) {
    std::string name = c.name;
    completeOutputName(name, c.extension);
    EXPECT_EQ(name, c.completed) << c.name;
    completeOutputName(name, c.extension);
    EXPECT_EQ(name, c.completed) << c.name << " completed twice";
  }
}

TEST(WriteExportTest, AllAccountsFileHasAHeaderForEachRunOfOneAccount) {
  const ListDatabase list = sampleList();
  const Output out = exportToMemory(
      list, withTransactions({onDay(1, 1, 1), onDay(1, 2, 2), onDay(2, 3, 3), onDay(1, 4, 4)}));
  EXPECT_EQ(headerAccounts(out.qif), (std::vector<std::string>{"A", "B", "A"}));
  EXPECT_EQ(out.qif,
            "!Option:AutoSwitch\n!Account\n"
            "NA\nTBank\n^\nNB\nTBank\n^\nN\nTBank\n^\nNUnfiled Account\nTBank\n^\n"
            "!Clear:AutoSwitch\n!Option:AutoSwitch\n"
            "!Account\nNA\nTBank\n^\n!Type:Bank\n"
            "D01/01/2003\nT1.00\nP\nM\nLUnfiled\n^\n"
            "D01/02/2003\nT2.00\nP\nM\nLUnfiled\n^\n"
            "!Account\nNB\nTBank\n^\n!Type:Bank\n"
            "D01/03/2003\nT3.00\nP\nM\nLUnfiled\n^\n"
            "!Account\nNA\nTBank\n^\n!Type:Bank\n"
            "D01/04/2003\nT4.00\nP\nM\nLUnfiled\n^\n");
  EXPECT_EQ(countOf(out.csv, "\n"), 4u);
  EXPECT_EQ(out.csv.substr(0, out.csv.find('\n') + 1),
            "\"01/01/2003\",\"10:30\",\"A\",\"\",\"Credit\",\"1.00\",\"???\",\"1\",\"1.00\","
            "\"USD\",\"\",\"Unfiled\",\"Unfiled\",\"\",\"\",\"\",\"\"\n");
}

TEST(WriteExportTest, FirstEntryGetsAHeaderAlsoForAnEmptyAccountText) {
  // An account named "", and transactions without an account when the
  // no-account text itself is empty.
  for (const uint32_t accountId : {3u, 0u}) {
    const Output out = exportToMemory(
        sampleList(""),
        withTransactions({onDay(accountId, 1, 1), onDay(accountId, 2, 2), onDay(1, 3, 3)}));
    EXPECT_EQ(headerAccounts(out.qif), (std::vector<std::string>{"", "A"})) << accountId;
  }
}

TEST(WriteExportTest, TransactionsWithoutAccountAreFiledUnderTheUnfiledAccount) {
  const ListDatabase list = sampleList();
  const Output out = exportToMemory(list, withTransactions({onDay(0, 1, 1), onDay(1, 2, 2)}));
  EXPECT_EQ(out.csv.substr(0, 36), "\"01/01/2003\",\"10:30\",\"Unfiled\",\"\",\"C");
  EXPECT_EQ(headerAccounts(out.qif), (std::vector<std::string>{"Unfiled Account", "A"}));
}

TEST(WriteExportTest, OtherNoAccountTextsAreUsedUnchanged) {
  const Output out = exportToMemory(sampleList("Ohne Konto"), withTransactions({onDay(0, 1, 1)}));
  EXPECT_EQ(headerAccounts(out.qif), (std::vector<std::string>{"Ohne Konto"}));
  EXPECT_NE(out.qif.find("NOhne Konto\nTBank\n^\n!Clear:AutoSwitch\n"), std::string::npos);
}

TEST(WriteExportTest, AccountNamedLikeTheNoAccountTextJoinsTheUnfiledAccount) {
  const ListDatabase list = memory::ListBuilder("Unfiled").account(7, "Unfiled", 0).build();
  const Output out = exportToMemory(list, withTransactions({onDay(7, 1, 1), onDay(0, 2, 2)}));
  EXPECT_EQ(headerAccounts(out.qif), (std::vector<std::string>{"Unfiled Account"}));
}

TEST(WriteExportTest, MissingAccountGetsAHeaderOfItsOwn) {
  const Output out = exportToMemory(sampleList(), withTransactions({onDay(99, 1, 1)}));
  EXPECT_EQ(headerAccounts(out.qif), (std::vector<std::string>{"???"}));
}

TEST(WriteExportTest, OneAccountFileHasOnlyTheTypeHeader) {
  RunOptions options;
  options.accountName = "B";
  const Output out = exportToMemory(
      sampleList(), withTransactions({onDay(1, 1, 1), onDay(2, 2, 2), onDay(2, 3, 3)}), options);
  EXPECT_EQ(out.qif,
            "!Type:Bank\n"
            "D01/02/2003\nT2.00\nP\nM\nLUnfiled\n^\n"
            "D01/03/2003\nT3.00\nP\nM\nLUnfiled\n^\n");
  EXPECT_EQ(countOf(out.csv, "\"B\""), 2u);
  EXPECT_EQ(countOf(out.csv, "\n"), 2u);
}

TEST(WriteExportTest, UnknownAccountNameExportsNothing) {
  RunOptions options;
  options.accountName = "aLL";
  const Output out = exportToMemory(sampleList(), withTransactions({onDay(1, 1, 1)}), options);
  EXPECT_EQ(out.csv, "");
  EXPECT_EQ(out.qif, "!Type:Bank\n");
}

struct FilterCase {
  const char* what;
  uint32_t fromDay;
  uint32_t toDay;
  bool clearedOnly;
  bool reconciledOnly;
  const char* amounts;  // of the exported transactions, in order
};

// Days 1..4 of January 2003: the first cleared, the second reconciled, the
// third both, the fourth neither.
TEST(WriteExportTest, DateRangeAndStatusFilters) {
  TransactionRecord first = onDay(1, 1, 1);
  TransactionRecord second = onDay(1, 2, 2);
  TransactionRecord third = onDay(1, 3, 3);
  TransactionRecord fourth = onDay(1, 4, 4);
  first.isCleared = 1;
  second.isReconciled = 1;
  third.isCleared = 1;
  third.isReconciled = 1;
  const TransactionDatabase database = withTransactions({first, second, third, fourth});
  const uint32_t day2 = dayNumber(1, 2, 2003);
  const FilterCase cases[] = {
      {"everything", 0, 0xFFFFFFFFu, false, false, "T1.00 T2.00 T3.00 T4.00 "},
      {"one day", day2, day2, false, false, "T2.00 "},
      {"bounds inclusive", day2, day2 + 1, false, false, "T2.00 T3.00 "},
      {"from above to", day2 + 1, day2, false, false, ""},
      {"to of 0", 0, 0, false, false, ""},
      {"cleared only", 0, 0xFFFFFFFFu, true, false, "T1.00 T3.00 "},
      {"reconciled only", 0, 0xFFFFFFFFu, false, true, "T2.00 T3.00 "},
      {"both", 0, 0xFFFFFFFFu, true, true, "T3.00 "},
      {"both and range", day2, day2 + 2, true, true, "T3.00 "},
  };
  for (const FilterCase& c : cases) {
    RunOptions options;
    options.fromDay = c.fromDay;
    options.toDay = c.toDay;
    options.clearedOnly = c.clearedOnly;
    options.reconciledOnly = c.reconciledOnly;
    const Output out = exportToMemory(sampleList(), database, options);
    std::string amounts;
    std::istringstream lines(out.qif);
    for (std::string line; std::getline(lines, line);) {
      if (line[0] == 'T' && line != "TBank")
        amounts += line + " ";
    }
    EXPECT_EQ(amounts, c.amounts) << c.what;
    EXPECT_EQ(countOf(out.csv, "\n"), countOf(amounts, " ")) << c.what;
  }
}

TEST(WriteExportTest, InvalidDatesAreNeverExported) {
  TransactionRecord badMonth = onDay(1, 1, 1);
  badMonth.month = 13;
  TransactionRecord early = onDay(1, 1, 2);
  early.year = 1903;
  TransactionRecord zeroDay = onDay(1, 0, 3);
  zeroDay.month = 1;
  zeroDay.year = 1904;
  const Output out = exportToMemory(sampleList(), withTransactions({badMonth, early, zeroDay}));
  EXPECT_EQ(out.csv, "");
}

TEST(WriteExportTest, OnlyRegularTransactionsAreExported) {
  TransactionDatabase database;
  database.kind0Entries.push_back(onDay(1, 1, 1));
  database.kind1Entries.push_back(onDay(1, 1, 2));
  database.transactions.push_back(onDay(1, 1, 3));
  const Output out = exportToMemory(sampleList(), database);
  EXPECT_EQ(countOf(out.csv, "\n"), 1u);
  EXPECT_NE(out.csv.find("\"3.00\""), std::string::npos);
}

TEST(WriteExportTest, SkippedTransactionsLeaveTheAccountRunAlone) {
  RunOptions options;
  options.clearedOnly = true;
  TransactionRecord a1 = onDay(1, 1, 1);
  TransactionRecord a2 = onDay(1, 3, 3);
  a1.isCleared = 1;
  a2.isCleared = 1;
  const Output out =
      exportToMemory(sampleList(), withTransactions({a1, onDay(2, 2, 2), a2}), options);
  EXPECT_EQ(headerAccounts(out.qif), (std::vector<std::string>{"A"}));
}

TEST(WriteExportTest, NullStreamsGetNothing) {
  std::ostringstream csv;
  writeExport(sampleList(), withTransactions({onDay(1, 1, 1)}), RunOptions(), &csv, nullptr);
  EXPECT_EQ(countOf(csv.str(), "\n"), 1u);
  std::ostringstream qif;
  writeExport(sampleList(), withTransactions({onDay(1, 1, 1)}), RunOptions(), nullptr, &qif);
  EXPECT_EQ(countOf(qif.str(), "D01/01/2003\n"), 1u);
}

// A folder of its own for the files of each test.
class ExportFilesTest : public testing::Test {
 protected:
  void SetUp() override {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    // Several checkouts may run their tests at the same time.
    folder_ = fs::temp_directory_path() / ("qmx_export_" + std::string(test->name()) + "_" +
                                           std::to_string(std::random_device{}()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  std::string path(const std::string& name) const { return (folder_ / name).string(); }
  static std::string contents(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  ExportOutcome run(bool writeCsv, std::string& csvName, bool writeQif, std::string& qifName,
                    std::ostream& console) {
    return exportTransactions(list_, transactions_, RunOptions(), writeCsv, csvName, writeQif,
                              qifName, console);
  }

  fs::path folder_;
  ListDatabase list_ = sampleList();
  TransactionDatabase transactions_ = withTransactions({onDay(1, 1, 1), onDay(2, 2, 2)});
};

TEST_F(ExportFilesTest, WritesBothFilesWithCompletedNamesAndNothingToTheConsole) {
  std::string csvName = path("out");
  std::string qifName = path("out");
  std::ostringstream console;
  const ExportOutcome outcome = run(true, csvName, true, qifName, console);
  EXPECT_TRUE(outcome.complete());
  EXPECT_EQ(csvName, path("out.csv"));
  EXPECT_EQ(qifName, path("out.qif"));
  EXPECT_EQ(console.str(), "");
  std::ostringstream csv;
  std::ostringstream qif;
  writeExport(list_, transactions_, RunOptions(), &csv, &qif);
  EXPECT_EQ(contents(csvName), csv.str());
  EXPECT_EQ(contents(qifName), qif.str());
}

TEST_F(ExportFilesTest, ConsoleGetsTheCsvLinesOnlyWhenNoFileIsRequested) {
  std::string csvName;
  std::string qifName = path("only");
  std::ostringstream console;
  EXPECT_TRUE(run(false, csvName, false, qifName, console).complete());
  EXPECT_EQ(countOf(console.str(), "\n"), 2u);
  EXPECT_EQ(qifName, path("only"));  // not requested, not completed
  EXPECT_FALSE(fs::exists(path("only.qif")));

  std::ostringstream quiet;
  EXPECT_TRUE(run(false, csvName, true, qifName, quiet).complete());
  EXPECT_EQ(quiet.str(), "");
  EXPECT_TRUE(fs::exists(path("only.qif")));
  EXPECT_EQ(csvName, "");
}

TEST_F(ExportFilesTest, ExistingFileIsReplacedAndEmptyExportLeavesEmptyFiles) {
  std::string csvName = path("old.csv");
  std::string qifName = path("old.qif");
  std::ofstream(csvName) << "previous contents that are longer than nothing\n";
  transactions_.transactions.clear();
  std::ostringstream console;
  EXPECT_TRUE(run(true, csvName, true, qifName, console).complete());
  EXPECT_EQ(contents(csvName), "");
  EXPECT_EQ(contents(qifName).substr(0, 19), "!Option:AutoSwitch\n");
}

TEST_F(ExportFilesTest, UnwritableNamesAreReportedAndLeaveNoFile) {
  fs::create_directory(path("folder.csv"));
  const struct {
    const char* what;
    std::string name;
  } cases[] = {
      {"a folder", path("folder.csv")},
      {"a missing folder", path("missing/out")},
  };
  for (const auto& c : cases) {
    std::string csvName = c.name;
    std::string qifName = path("fine");
    std::ostringstream console;
    const ExportOutcome outcome = run(true, csvName, true, qifName, console);
    ASSERT_EQ(outcome.failedOutputs.size(), 1u) << c.what;
    EXPECT_EQ(outcome.failedOutputs[0], csvName) << c.what;
    EXPECT_EQ(console.str(), "") << c.what << ": the lines are not redirected";
    EXPECT_EQ(contents(path("fine.qif")).substr(0, 19), "!Option:AutoSwitch\n") << c.what;
  }
  EXPECT_TRUE(fs::is_directory(path("folder.csv"))) << "the folder is left alone";
  EXPECT_FALSE(fs::exists(path("missing")));

  std::string csvName = path("fine");
  std::string qifName = path("missing/out");
  std::ostringstream console;
  const ExportOutcome outcome = run(true, csvName, true, qifName, console);
  EXPECT_EQ(outcome.failedOutputs, std::vector<std::string>{path("missing/out.qif")});
  EXPECT_TRUE(fs::exists(path("fine.csv")));
}

// An output that can be opened but not written: a link to the device that is
// always full. Both failures are reported; the device is not the export's to
// remove, so the names stay.
TEST_F(ExportFilesTest, OutputThatCannotBeWrittenIsReported) {
  if (!fs::exists("/dev/full"))
    GTEST_SKIP() << "no /dev/full";
  fs::create_symlink("/dev/full", path("full.csv"));
  fs::create_symlink("/dev/full", path("full.qif"));
  std::string csvName = path("full.csv");
  std::string qifName = path("full.qif");
  std::ostringstream console;
  const ExportOutcome outcome = run(true, csvName, true, qifName, console);
  EXPECT_EQ(outcome.failedOutputs, (std::vector<std::string>{csvName, qifName}));
  EXPECT_TRUE(fs::exists("/dev/full"));
  EXPECT_TRUE(fs::is_symlink(csvName));
}

TEST_F(ExportFilesTest, FailedConsoleIsReportedAsEmptyName) {
  std::string csvName;
  std::string qifName;
  std::ostringstream console;
  console.setstate(std::ios::badbit);
  const ExportOutcome outcome = run(false, csvName, false, qifName, console);
  EXPECT_EQ(outcome.failedOutputs, std::vector<std::string>{""});

  // Not used, not checked.
  std::string qifFile = path("out.qif");
  EXPECT_TRUE(run(false, csvName, true, qifFile, console).complete());
}

}  // namespace
