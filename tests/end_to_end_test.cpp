// The built program, run on backups written byte by byte: exit status,
// standard output, standard error and the files it writes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "pdb_builder.h"
#include "program_runner.h"

namespace {

using fixture::Txn;

const uint32_t kUsd = 0x10, kJpy = 0x11, kChecking = 0x20, kSavings = 0x21, kFood = 0x30;

fixture::PdbFile smallList(const std::string& noAccountName = "Unfiled") {
  fixture::PdbFile list = fixture::listFile(noAccountName);
  list.addRecord(fixture::currencyRecord(true, true, "USD"), kUsd);
  list.addRecord(fixture::currencyRecord(false, false, "JPY"), kJpy);
  list.addRecord(fixture::accountRecord(kUsd, "US Checking"), kChecking);
  list.addRecord(fixture::accountRecord(kUsd, "Savings"), kSavings);
  list.addRecord(fixture::categoryRecord("Food"), kFood);
  return list;
}

Txn entry(int month, int day, int year, uint32_t account, double amount, bool debit,
          const std::string& payee) {
  Txn t;
  t.month = month;
  t.day = day;
  t.year = year;
  t.hour = 9;
  t.minute = 5;
  t.accountId = account;
  t.currencyId = kUsd;
  t.categoryId = kFood;
  t.amount = amount;
  t.accountAmount = amount;
  t.debit = debit;
  t.payee = payee;
  return t;
}

fixture::Bytes transactions(const std::vector<Txn>& txns) {
  fixture::PdbFile file = fixture::transactionFile();
  uint32_t id = 1;
  for (const Txn& t : txns)
    file.addRecord(fixture::transactionRecord(t), id++);
  return file.build();
}

// The CSV line of a transaction rendered with the default options.
std::string csvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (const std::string& field : fields)
    line += (line.empty() ? "\"" : "\",\"") + field;
  return line + "\"\n";
}

class EndToEnd : public testing::Test {
 protected:
  void SetUp() override { folder_ = makeTempFolder(); }
  void TearDown() override { std::system(("rm -rf '" + folder_ + "'").c_str()); }

  void writeBackup(const fixture::Bytes& list, const fixture::Bytes& trans,
                   const std::string& subfolder = "") {
    std::string target = folder_ + "/" + subfolder;
    if (!subfolder.empty())
      std::system(("mkdir -p '" + target + "'").c_str());
    ASSERT_TRUE(fixture::writeFile(target + "/QMXListDB.pdb", list));
    ASSERT_TRUE(fixture::writeFile(target + "/QMXTransDB.pdb", trans));
  }
  void writeStandardBackup() {
    writeBackup(smallList().build(),
                transactions({entry(1, 15, 2004, kChecking, 12.5, true, "Grocer"),
                              entry(2, 1, 2004, kSavings, 100, false, "Interest"),
                              entry(3, 2, 2004, kChecking, 7.25, false, "Refund")}));
  }
  ProgramResult run(const std::vector<std::string>& arguments) {
    return runProgramIn(folder_, QMX_BINARY, arguments);
  }
  std::string file(const std::string& name) { return readFileBytes(folder_ + "/" + name); }

  std::string folder_;
};

const std::string kGrocerLine =
    csvLine({"01/15/2004", "09:05", "US Checking", "Grocer", "Debit", "12.50", "USD", "1", "12.50",
             "USD", "", "Food", "Unfiled", "", "", "", ""});
const std::string kInterestLine =
    csvLine({"02/01/2004", "09:05", "Savings", "Interest", "Credit", "100.00", "USD", "1", "100.00",
             "USD", "", "Food", "Unfiled", "", "", "", ""});
const std::string kRefundLine =
    csvLine({"03/02/2004", "09:05", "US Checking", "Refund", "Credit", "7.25", "USD", "1", "7.25",
             "USD", "", "Food", "Unfiled", "", "", "", ""});

TEST_F(EndToEnd, TypicalRunWritesOneAccountQifWithDayFirstDates) {
  writeStandardBackup();
  ProgramResult r = run({"-a", "US Checking", "-d", "day", "-q", "out.qif"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(file("out.qif"),
            "!Type:Bank\n"
            "D15/01/2004\nT-12.50\nPGrocer\nM\nLFood\n^\n"
            "D02/03/2004\nT7.25\nPRefund\nM\nLFood\n^\n");
}

TEST_F(EndToEnd, WithoutOutputFilesTheCsvGoesToStandardOutput) {
  writeStandardBackup();
  ProgramResult r = run({});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.out, kGrocerLine + kInterestLine + kRefundLine);
  EXPECT_EQ(r.err, "");
}

TEST_F(EndToEnd, OutputChoices) {
  writeStandardBackup();
  const std::string allQif =
      "!Option:AutoSwitch\n!Account\n"
      "NUS Checking\nTBank\n^\nNSavings\nTBank\n^\nNUnfiled Account\nTBank\n^\n"
      "!Clear:AutoSwitch\n!Option:AutoSwitch\n"
      "!Account\nNUS Checking\nTBank\n^\n!Type:Bank\n"
      "D01/15/2004\nT-12.50\nPGrocer\nM\nLFood\n^\n"
      "!Account\nNSavings\nTBank\n^\n!Type:Bank\n"
      "D02/01/2004\nT100.00\nPInterest\nM\nLFood\n^\n"
      "!Account\nNUS Checking\nTBank\n^\n!Type:Bank\n"
      "D03/02/2004\nT7.25\nPRefund\nM\nLFood\n^\n";

  ProgramResult r = run({"-o", "export"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(file("export.csv"), kGrocerLine + kInterestLine + kRefundLine);

  r = run({"-q", "all"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(file("all.qif"), allQif);
  EXPECT_FALSE(fileExists(folder_ + "/all.csv"));

  r = run({"-o", "both.txt", "-q", "both.dat"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(file("both.txt"), kGrocerLine + kInterestLine + kRefundLine);
  EXPECT_EQ(file("both.dat"), allQif);
}

TEST_F(EndToEnd, DatabaseFolderWithAndWithoutSeparator) {
  writeBackup(smallList().build(),
              transactions({entry(1, 15, 2004, kChecking, 12.5, true, "Grocer")}), "backup dir");
  for (const std::string& location :
       {folder_ + "/backup dir", folder_ + "/backup dir/", std::string("backup dir")}) {
    ProgramResult r = run({"-l", location});
    EXPECT_EQ(r.exitStatus, 0) << location;
    EXPECT_EQ(r.out, kGrocerLine) << location;
  }
}

TEST_F(EndToEnd, Filters) {
  Txn cleared = entry(5, 1, 2004, kChecking, 1, false, "cleared");
  cleared.cleared = true;
  Txn reconciled = entry(5, 2, 2004, kChecking, 2, false, "reconciled");
  reconciled.reconciled = true;
  Txn both = entry(5, 3, 2004, kChecking, 3, false, "both");
  both.cleared = both.reconciled = true;
  Txn other = entry(5, 4, 2004, kSavings, 4, false, "other");
  Txn badDate = entry(13, 4, 2004, kChecking, 5, false, "bad date");
  writeBackup(smallList().build(), transactions({cleared, reconciled, both, other, badDate}));

  struct Case {
    std::vector<std::string> arguments;
    std::vector<std::string> payees;
  } cases[] = {
      {{}, {"cleared", "reconciled", "both", "other"}},
      {{"-c"}, {"cleared", "both"}},
      {{"-r"}, {"reconciled", "both"}},
      {{"-c", "-r"}, {"both"}},
      {{"-from", "05/02/2004", "-to", "05/03/2004"}, {"reconciled", "both"}},
      {{"-from", "03/05/2004", "-d", "day"}, {"both", "other"}},
      {{"-to", "05/02/2004", "-from", "05/02/2004"}, {"reconciled"}},
      {{"-from", "05/03/2004", "-to", "05/02/2004"}, {}},
      {{"-a", "Savings"}, {"other"}},
      {{"-a", "savings"}, {}},
      {{"-a", "ALL"}, {"cleared", "reconciled", "both", "other"}},
  };
  for (const Case& c : cases) {
    ProgramResult r = run(c.arguments);
    EXPECT_EQ(r.exitStatus, 0);
    std::string payees;
    for (size_t start = 0; start < r.out.size();) {
      size_t end = r.out.find('\n', start);
      // the payee is the fourth quoted field
      size_t p = start;
      for (int quote = 0; quote < 7; ++quote)
        p = r.out.find('"', p) + 1;
      payees += r.out.substr(p, r.out.find('"', p) - p) + ";";
      start = end + 1;
    }
    std::string expected;
    for (const std::string& payee : c.payees)
      expected += payee + ";";
    EXPECT_EQ(payees, expected) << testing::PrintToString(c.arguments);
  }
}

TEST_F(EndToEnd, OptionsChangeTheNotation) {
  Txn t = entry(7, 4, 2005, kChecking, 1234.5, true, "Notation");
  t.currencyId = kJpy;
  t.accountAmount = 8.125;
  t.hour = 14;
  t.minute = 7;
  writeBackup(smallList().build(), transactions({t}));
  ProgramResult r = run({"-d", "day", "-y", "2", "-s", ".", "-h", ".", "-D", ","});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.out, csvLine({"04.07.05", "14.07", "US Checking", "Notation", "Debit", "1235", "JPY",
                            "0,00658161", "8,13", "USD", "", "Food", "Unfiled", "", "", "", ""}));
}

TEST_F(EndToEnd, HelpRequestPrintsTheUsageText) {
  for (const char* help : {"?", "/?", "-?"}) {
    ProgramResult r = run({help});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out.rfind("\nProgram build date: January 15, 2003.\n\nSyntax:\n", 0), 0u);
    EXPECT_NE(r.out.find("Use -r to export only reconciled transactions\n\nExample:\n"),
              std::string::npos);
    EXPECT_EQ(r.err, "");
  }
}

TEST_F(EndToEnd, MissingDatabasesEndTheRun) {
  ASSERT_TRUE(fixture::writeFile(folder_ + "/QMXListDB.pdb", smallList().build()));
  ProgramResult r = run({"-o", "out.csv"});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "Error: Unable to locate QMX's backup files\n");
  EXPECT_FALSE(fileExists(folder_ + "/out.csv"));
}

TEST_F(EndToEnd, ForeignDatabaseIsReportedByItsFullPath) {
  fixture::PdbFile wrongType = smallList();
  wrongType.type = "dat1";
  fixture::PdbFile foreignTrans = fixture::transactionFile();
  foreignTrans.creator = "QZ06";
  writeBackup(wrongType.build(), foreignTrans.build(), "b");
  ProgramResult r = run({"-l", "b"});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.out, "Unable to find PDB file: b/QMXListDB.pdb\n");

  writeBackup(smallList().build(), foreignTrans.build(), "b");
  r = run({"-l", "b", "-o", "x"});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.out, "Unable to find PDB file: b/QMXTransDB.pdb\n");
}

TEST_F(EndToEnd, QuotesInCsvFieldsAreDoubled) {
  Txn t = entry(1, 15, 2004, kChecking, 1, false, "The \"Corner\", Shop");
  t.memo = "line one\r\nline two";
  writeBackup(smallList().build(), transactions({t}));
  ProgramResult r = run({});
  EXPECT_EQ(r.out, csvLine({"01/15/2004", "09:05", "US Checking", "The \"\"Corner\"\", Shop",
                            "Credit", "1.00", "USD", "1", "1.00", "USD", "", "Food", "Unfiled", "",
                            "", "", "line one\r line two"}));
}

TEST_F(EndToEnd, LineBreaksNeverSplitAQifEntry) {
  Txn t = entry(1, 15, 2004, kChecking, 1, false, "two\nlines");
  t.memo = "memo\r\nend";
  t.checkNumber = "12\r3";
  fixture::PdbFile list = fixture::listFile("Unfiled");
  list.addRecord(fixture::currencyRecord(true, true, "USD"), kUsd);
  list.addRecord(fixture::accountRecord(kUsd, "My\nBank"), kChecking);
  list.addRecord(fixture::categoryRecord("Food\r"), kFood);
  writeBackup(list.build(), transactions({t}));
  ProgramResult r = run({"-q", "x.qif"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(file("x.qif"),
            "!Option:AutoSwitch\n!Account\nNMy Bank\nTBank\n^\nNUnfiled Account\nTBank\n^\n"
            "!Clear:AutoSwitch\n!Option:AutoSwitch\n"
            "!Account\nNMy Bank\nTBank\n^\n!Type:Bank\n"
            "D01/15/2004\nT1.00\nN12 3\nPtwo lines\nMmemo  end\nLFood \n^\n");
}

TEST_F(EndToEnd, FirstEntryWithEmptyAccountTextGetsItsHeader) {
  // The no-account name is empty, so accountless entries carry an empty account text.
  Txn cash = entry(1, 15, 2004, 0, 3, true, "cash");
  writeBackup(smallList("").build(), transactions({cash}));
  ProgramResult r = run({"-q", "x.qif"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(file("x.qif"),
            "!Option:AutoSwitch\n!Account\nNUS Checking\nTBank\n^\nNSavings\nTBank\n^\nN\nTBank\n"
            "^\n!Clear:AutoSwitch\n!Option:AutoSwitch\n"
            "!Account\nN\nTBank\n^\n!Type:Bank\n"
            "D01/15/2004\nT-3.00\nPcash\nM\nLFood\n^\n");
}

TEST_F(EndToEnd, InvalidDatesEndTheRunBeforeAnythingIsRead) {
  struct Case {
    std::vector<std::string> arguments;
    std::string message;
  } cases[] = {
      {{"-from", "1/15/2004"}, "Invalid date: 1/15/2004 (expected MM/DD/YYYY)\n"},
      {{"-to", "13/01/2004"}, "Invalid date: 13/01/2004 (expected MM/DD/YYYY)\n"},
      {{"-d", "day", "-to", "01/13/2004"}, "Invalid date: 01/13/2004 (expected DD/MM/YYYY)\n"},
      {{"-from", "01/01/1903"}, "Invalid date: 01/01/1903 (expected MM/DD/YYYY)\n"},
  };
  for (const Case& c : cases) {
    ProgramResult r = run(c.arguments);  // no databases here: the date is checked first
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.message);
  }
  // An accepted text keeps the parser's leniency: 02/30/2004 is 1 March.
  writeStandardBackup();
  ProgramResult r = run({"-from", "02/30/2004"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.out, kRefundLine);
}

TEST_F(EndToEnd, AmountsBeyondThirtyTwoBitsAndNonNumbers) {
  Txn big = entry(1, 1, 2004, kChecking, 3000000000.0, false, "big");
  Txn nan = entry(1, 2, 2004, kChecking, std::numeric_limits<double>::quiet_NaN(), false, "nan");
  Txn inf = entry(1, 3, 2004, kChecking, std::numeric_limits<double>::infinity(), true, "inf");
  writeBackup(smallList().build(), transactions({big, nan, inf}));
  ProgramResult r = run({"-q", "x.qif"});
  EXPECT_EQ(r.exitStatus, 0);
  const std::string qif = file("x.qif");
  EXPECT_NE(qif.find("D01/01/2004\nT3000000000.00\nPbig\n"), std::string::npos) << qif;
  EXPECT_NE(qif.find("D01/02/2004\nTnan\nPnan\n"), std::string::npos) << qif;
  EXPECT_NE(qif.find("D01/03/2004\nT-inf\nPinf\n"), std::string::npos) << qif;
}

TEST_F(EndToEnd, ExtensionIsJudgedOnTheFileNameOnly) {
  writeStandardBackup();
  std::system(("mkdir -p '" + folder_ + "/abc.d'").c_str());
  ProgramResult r = run({"-o", "abc.d/e"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_TRUE(fileExists(folder_ + "/abc.d/e.csv"));
}

TEST_F(EndToEnd, UnwritableOutputIsReportedAndLeavesNoFile) {
  writeStandardBackup();
  std::system(("mkdir -p '" + folder_ + "/taken.csv'").c_str());
  ProgramResult r = run({"-o", "taken.csv", "-q", "fine.qif"});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.err, "Unable to write output file: taken.csv\n");
  EXPECT_NE(file("fine.qif").find("PRefund"), std::string::npos);

  r = run({"-q", "no/such/folder/out"});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.err, "Unable to write output file: no/such/folder/out.qif\n");
}

TEST_F(EndToEnd, FullStandardOutputIsReported) {
  writeStandardBackup();
  if (!fileExists("/dev/full"))
    GTEST_SKIP() << "no /dev/full";
  ProgramResult r =
      runProgramIn(folder_, "/bin/sh", {"-c", std::string("'") + QMX_BINARY + "' > /dev/full"});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.err, "Unable to write to standard output\n");
}

TEST_F(EndToEnd, OutputNamingAnInputIsRefused) {
  writeStandardBackup();
  const std::string before = file("QMXTransDB.pdb");
  std::system(("ln -s QMXTransDB.pdb '" + folder_ + "/link.pdb'").c_str());
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"-o", "QMXTransDB.pdb"},
        std::vector<std::string>{"-q", "./QMXListDB.pdb"},
        std::vector<std::string>{"-o", "link.pdb"},
        std::vector<std::string>{"-o", "same.txt", "-q", "./same.txt"}}) {
    ProgramResult r = run(arguments);
    EXPECT_EQ(r.exitStatus, 1) << testing::PrintToString(arguments);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Refusing to write"), std::string::npos) << r.err;
  }
  EXPECT_EQ(file("QMXTransDB.pdb"), before);
  EXPECT_FALSE(fileExists(folder_ + "/same.txt"));
}

TEST_F(EndToEnd, DamagedDatabaseExportsWhatCanBeReadAndFails) {
  fixture::PdbFile trans = fixture::transactionFile();
  trans.addRecord(fixture::transactionRecord(entry(1, 15, 2004, kChecking, 12.5, true, "Grocer")),
                  1);
  trans.entries.push_back({0x7FFFFFF0u, false, 0, 2});  // lies past the end of the file
  writeBackup(smallList().build(), trans.build());
  ProgramResult r = run({});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.out, kGrocerLine);
  EXPECT_EQ(r.err, "Warning: QMXTransDB.pdb is damaged: 1 of 2 records could not be read\n");
}

TEST_F(EndToEnd, TwoDigitYearsForEveryYear) {
  writeBackup(smallList().build(), transactions({entry(1, 1, 2100, kChecking, 1, false, "a"),
                                                 entry(1, 1, 12345, kChecking, 1, false, "b")}));
  ProgramResult r = run({"-y", "2", "-q", "x.qif"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_NE(file("x.qif").find("D01/01/00\n"), std::string::npos);
  EXPECT_NE(file("x.qif").find("D01/01/45\n"), std::string::npos);
}

TEST_F(EndToEnd, ExampleBackupMatchesItsGoldenOutputs) {
  const std::string examples = QMX_EXAMPLES_DIR;
  ProgramResult r = run({"-l", examples, "-o", "example.csv", "-q", "example.qif"});
  EXPECT_EQ(r.exitStatus, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(file("example.csv"), readFileBytes(examples + "/expected/example.csv"));
  EXPECT_EQ(file("example.qif"), readFileBytes(examples + "/expected/example.qif"));
}

}  // namespace
