// The Windows build against this machine's build: both run the same command
// lines on the same backup files, and the Windows program must give the same
// exit status, the same console output and the same files, with its lines
// ended by carriage return and line feed and its paths in Windows form.
//
// Run by scripts/test_windows.sh with QMX_WINDOWS_PROGRAM naming the .exe and
// QMX_WINDOWS_RUNNER the program that starts it (Wine); skipped without them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "pdb_builder.h"
#include "program_runner.h"

namespace {

// "\n" as a Windows text-mode stream writes it.
std::string withWindowsLineEnds(const std::string& text) {
  std::string converted;
  for (char c : text) {
    if (c == '\n')
      converted += '\r';
    converted += c;
  }
  return converted;
}

// The same folder as Wine shows it: drive Z: is the root of this machine.
std::string windowsPath(const std::string& path) {
  std::string converted = "Z:";
  for (char c : path)
    converted += c == '/' ? '\\' : c;
  return converted;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// A backup with what tends to differ between platforms: several accounts and
// currencies, amounts with and without decimals, a memo with a line feed,
// 8-bit and control characters in texts, and dates around a leap day.
void writeBackup(const std::string& folder) {
  fixture::PdbFile list = fixture::listFile("Unfiled");
  list.addRecord(fixture::currencyRecord(true, true, "USD"), 0x10);
  list.addRecord(fixture::currencyRecord(false, false, "JPY", 110.0, 1.0), 0x11);
  list.addRecord(fixture::accountRecord(0x10, "US Checking"), 0x20);
  list.addRecord(fixture::accountRecord(0x11, "Caf\xe9 Tokyo"), 0x21);
  list.addRecord(fixture::categoryRecord("Food"), 0x30);
  list.addRecord(fixture::labelRecord("Label"), 0x40);
  fixture::PdbFile transactions = fixture::transactionFile();
  struct Entry {
    int day, month, year;
    uint32_t account, transfer, category, currency;
    double amount;
    bool debit, cleared, reconciled;
    const char* payee;
    const char* memo;
  } entries[] = {
      {28, 2, 2004, 0x20, 0, 0x30, 0x10, 12.5, true, true, false, "Grocer", "line one\nline two"},
      {29, 2, 2004, 0x21, 0, 0, 0x11, 1500, false, false, true, "R\xe4men \x01", "tab\there"},
      {1, 3, 2004, 0x20, 0x21, 0, 0x10, -3.25, true, true, true, "Transfer, \"quoted\"", ""},
      {31, 12, 1999, 0, 0, 0, 0x10, 0.005, false, false, false, "", "no account\r"},
  };
  uint32_t id = 0x100;
  for (const Entry& e : entries) {
    fixture::Txn txn;
    txn.day = e.day;
    txn.month = e.month;
    txn.year = e.year;
    txn.hour = 13;
    txn.minute = 5;
    txn.accountId = e.account;
    txn.transferAccountId = e.transfer;
    txn.categoryId = e.category;
    txn.currencyId = e.currency;
    txn.amount = e.amount;
    txn.accountAmount = e.amount;
    txn.debit = e.debit;
    txn.cleared = e.cleared;
    txn.reconciled = e.reconciled;
    txn.payee = e.payee;
    txn.memo = e.memo;
    transactions.addRecord(fixture::transactionRecord(txn), id++);
  }
  ASSERT_TRUE(fixture::writeFile(folder + "/QMXListDB.pdb", list.build()));
  ASSERT_TRUE(fixture::writeFile(folder + "/QMXTransDB.pdb", transactions.build()));
}

class WindowsBuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* program = std::getenv("QMX_WINDOWS_PROGRAM");
    const char* runner = std::getenv("QMX_WINDOWS_RUNNER");
    if (!program || !*program || !runner || !*runner) {
      GTEST_SKIP() << "QMX_WINDOWS_PROGRAM and QMX_WINDOWS_RUNNER are not set";
    }
    program_ = program;
    runner_ = runner;
    backup_ = makeTempFolder();
    ASSERT_FALSE(backup_.empty());
    writeBackup(backup_);
    ASSERT_EQ(mkdir((backup_ + "/broken").c_str(), 0700), 0);
    ASSERT_TRUE(fixture::writeFile(backup_ + "/broken/QMXListDB.pdb", {'n', 'o', 't'}));
    ASSERT_TRUE(fixture::writeFile(backup_ + "/broken/QMXTransDB.pdb", {'n', 'o', 't'}));
  }
  void TearDown() override {
    if (!backup_.empty()) {
      ASSERT_EQ(std::system(("rm -rf '" + backup_ + "'").c_str()), 0);
    }
  }

  ProgramResult runWindows(const std::string& folder, const std::vector<std::string>& arguments) {
    setenv("QMX_RUNNER", runner_.c_str(), 1);
    ProgramResult result = runProgramIn(folder, program_, arguments);
    unsetenv("QMX_RUNNER");
    return result;
  }

  std::string program_;
  std::string runner_;
  std::string backup_;
};

// Each case runs in a fresh folder. In an argument "@" stands for the backup
// folder and "@/" for it with the separator: its path here, its Windows path
// for the Windows program.
struct Case {
  const char* name;
  std::vector<std::string> arguments;
  int exitStatus;                  // of both programs
  std::vector<std::string> files;  // written by the run, compared afterwards
  bool example = false;            // the bundled example backup instead of the test's own
  bool inBackupFolder = false;     // run where the backup files are, without -l
};

std::vector<std::string> resolve(const std::vector<std::string>& arguments,
                                 const std::string& folder, const std::string& separator) {
  std::vector<std::string> resolved;
  for (const std::string& argument : arguments) {
    resolved.push_back(replaceAll(replaceAll(argument, "@/", folder + separator), "@", folder));
  }
  return resolved;
}

TEST_F(WindowsBuildTest, SameResultsWithWindowsLineEnds) {
  const Case cases[] = {
      {"backup in the current directory", {}, 0, {}, false, true},
      {"folder with a trailing separator", {"-l", "@/"}, 0, {}},
      {"folder without a trailing separator", {"-l", "@"}, 0, {}},
      {"both files", {"-l", "@", "-o", "out.csv", "-q", "out.qif"}, 0, {"out.csv", "out.qif"}},
      {"names completed",
       {"-l", "@", "-o", "report", "-q", "money"},
       0,
       {"report.csv", "money.qif"}},
      {"one account in QIF", {"-l", "@", "-a", "US Checking", "-q", "one.qif"}, 0, {"one.qif"}},
      {"day first, two-digit years, own separators",
       {"-l", "@", "-d", "day", "-y", "-D", ",", "-s", "-", "-h", "."},
       0,
       {}},
      {"date range", {"-l", "@", "-from", "02/29/2004", "-to", "12/31/2004"}, 0, {}},
      {"cleared only", {"-l", "@", "-c"}, 0, {}},
      {"reconciled only", {"-l", "@", "-r"}, 0, {}},
      {"invalid date", {"-l", "@", "-from", "2004-02-30"}, 1, {}},
      {"list database that is not one", {"-l", "@/broken"}, 1, {}},
      {"output naming a backup database", {"-l", "@", "-o", "@/QMXListDB.pdb"}, 1, {}},
      {"help request", {"/?"}, 1, {}},
      {"example backup",
       {"-l", "@", "-o", "example.csv", "-q", "example.qif"},
       0,
       {"example.csv", "example.qif"},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string source = c.example ? std::string(QMX_EXAMPLES_DIR) : backup_;
    const std::string here = makeTempFolder();
    const std::string there = makeTempFolder();
    ASSERT_FALSE(here.empty() || there.empty());
    const ProgramResult expected = runProgramIn(c.inBackupFolder ? source : here, QMX_BINARY,
                                                resolve(c.arguments, source, "/"));
    const ProgramResult actual = runWindows(c.inBackupFolder ? source : there,
                                            resolve(c.arguments, windowsPath(source), "\\"));
    // Paths in messages and the usage text: the program, the folder with
    // the separator added to it, and below it.
    auto inWindowsForm = [&](const std::string& text) {
      std::string converted = replaceAll(text, QMX_BINARY, windowsPath(program_));
      converted = replaceAll(converted, source + "/broken/", windowsPath(source) + "\\broken\\");
      converted = replaceAll(converted, source + "/", windowsPath(source) + "\\");
      return withWindowsLineEnds(converted);
    };
    EXPECT_EQ(expected.exitStatus, c.exitStatus) << expected.out << expected.err;
    EXPECT_EQ(actual.exitStatus, expected.exitStatus);
    EXPECT_EQ(actual.out, inWindowsForm(expected.out));
    EXPECT_EQ(actual.err, inWindowsForm(expected.err));
    for (const std::string& file : c.files) {
      ASSERT_TRUE(fileExists(here + "/" + file)) << file;
      EXPECT_EQ(readFileBytes(there + "/" + file),
                withWindowsLineEnds(readFileBytes(here + "/" + file)))
          << file;
    }
    ASSERT_EQ(std::system(("rm -rf '" + here + "' '" + there + "'").c_str()), 0);
  }
}

// Without a display the folder dialog cannot open: the run ends with status 1
// and nothing on the console instead of waiting for an answer.
TEST_F(WindowsBuildTest, MissingBackupWithoutDisplay) {
  if (std::getenv("DISPLAY") != nullptr)
    GTEST_SKIP() << "a display would show the dialog";
  const std::string empty = makeTempFolder();
  const ProgramResult result = runWindows(empty, {});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out, "");
  rmdir(empty.c_str());
}

}  // namespace
