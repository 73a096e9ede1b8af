// The built program on every kind of bad input, one row per kind: missing,
// empty, foreign and cut-off databases, records the file cannot hold,
// unknown kinds, overlong and unterminated texts, amounts that are not
// ordinary numbers, invalid dates and output paths that cannot or must not
// be written. Each row gives the exit status, both console streams and the
// files the run leaves; the backup databases are never changed.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "pdb_builder.h"
#include "program_runner.h"

namespace {

using fixture::Bytes;
using fixture::PdbFile;
using fixture::Txn;

const uint32_t kUsd = 0x10, kYen = 0x11, kChecking = 0x20, kFood = 0x30;
const char kListPath[] = "db/QMXListDB.pdb";
const char kTransactionPath[] = "db/QMXTransDB.pdb";
const std::string kUnableList = "Unable to find PDB file: db/QMXListDB.pdb\n";
const std::string kUnableTransactions = "Unable to find PDB file: db/QMXTransDB.pdb\n";
const std::string kTwoToThe70 = "1180591620717411303424";

PdbFile goodList(const std::string& accountName = "Checking",
                 const std::string& categoryName = "Food") {
  PdbFile list = fixture::listFile("Unfiled");
  list.addRecord(fixture::currencyRecord(true, true, "USD"), kUsd);
  list.addRecord(fixture::currencyRecord(false, false, "JPY"), kYen);
  list.addRecord(fixture::labelRecord("Label"), 0x40);
  list.addRecord(fixture::accountRecord(kUsd, accountName), kChecking);
  list.addRecord(fixture::categoryRecord(categoryName), kFood);
  return list;
}

Txn txn(const std::string& payee, double amount = 1.5) {
  Txn t;
  t.month = 1;
  t.day = 15;
  t.year = 2004;
  t.accountId = kChecking;
  t.categoryId = kFood;
  t.currencyId = kUsd;
  t.amount = amount;
  t.accountAmount = amount;
  t.payee = payee;
  t.checkNumber = "100";
  t.memo = "memo";
  return t;
}

PdbFile transactionFile(const std::vector<Txn>& txns) {
  PdbFile file = fixture::transactionFile();
  uint32_t id = 1;
  for (const Txn& t : txns)
    file.addRecord(fixture::transactionRecord(t), id++);
  return file;
}

PdbFile threeTransactions() {
  return transactionFile({txn("First"), txn("Second"), txn("Third")});
}

Bytes cut(Bytes bytes, size_t keep) {
  bytes.resize(keep);
  return bytes;
}

PdbFile withIdentity(PdbFile file, const std::string& creator, const std::string& type) {
  file.creator = creator;
  file.type = type;
  return file;
}

// Offsets in the file of threeTransactions(): where its third record starts,
// and where the payee, number and memo texts of that record start.
struct ThirdRecord {
  size_t start, payee, checkNumber, memo;
};
ThirdRecord thirdRecord() {
  const PdbFile file = threeTransactions();
  const size_t start = file.dataStart() + file.entries[2].offset;
  const size_t payee = start + 53;
  const size_t checkNumber = payee + std::string("Third").size() + 1;
  return {start, payee, checkNumber, checkNumber + std::string("100").size() + 1};
}

PdbFile withEntryAt(PdbFile file, uint32_t absoluteOffset) {
  file.entries.push_back({absoluteOffset, false, 0, 99});
  return file;
}

// The size the file will have once one more entry is listed.
uint32_t sizeWithOneMoreEntry(const PdbFile& file) {
  return static_cast<uint32_t>(file.build().size() + 8);
}

struct Cell {
  size_t line;
  size_t column;  // 1 to 17, in CSV column order
  std::string text;
};

struct Case {
  std::string name;
  std::optional<Bytes> list;  // absent: no such file
  std::optional<Bytes> transactions;
  std::vector<std::string> arguments;
  int exitStatus;
  std::string out;
  std::string err;  // a regular expression when errIsPattern
  bool errIsPattern;
  std::vector<std::string> written;     // files that must exist afterwards
  std::vector<std::string> notWritten;  // paths that must not be regular files afterwards
  std::optional<std::vector<std::string>> csvPayees;  // of out/x.csv, in order
  std::vector<Cell> cells;                            // of out/x.csv
  std::vector<std::string> folders = {};              // made before the run
};

const std::vector<std::string> kExport = {"-l", "db", "-o", "out/x.csv", "-q", "out/x.qif"};
const std::vector<std::string> kBothOutputs = {"out/x.csv", "out/x.qif"};
const std::vector<std::string> kAllPayees = {"First", "Second", "Third"};

std::vector<std::string> exportWith(std::vector<std::string> extra) {
  std::vector<std::string> arguments = {"-l", "db"};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  return arguments;
}

// A database that is not read at all: no output file is made.
Case notRead(const std::string& name, std::optional<Bytes> list, std::optional<Bytes> trans,
             const std::string& out) {
  return {name, list, trans, kExport, 1, out, "", false, {}, kBothOutputs, {}, {}};
}

std::string damaged(const std::string& path, int unreadable, int listed) {
  return "Warning: " + path + " is damaged: " + std::to_string(unreadable) + " of " +
         std::to_string(listed) + " records could not be read\n";
}

// A damaged transaction database: what can be read is exported, the run fails.
Case damagedTransactions(const std::string& name, const Bytes& trans, int unreadable, int listed,
                         std::vector<std::string> payees) {
  return {name,
          goodList().build(),
          trans,
          kExport,
          1,
          "",
          damaged(kTransactionPath, unreadable, listed),
          false,
          kBothOutputs,
          {},
          payees,
          {}};
}

Case exportsCleanly(const std::string& name, const Bytes& list, const Bytes& trans,
                    std::vector<std::string> payees, std::vector<Cell> cells = {}) {
  return {name, list, trans, kExport, 0, "", "", false, kBothOutputs, {}, payees, cells};
}

Case refused(const std::string& name, std::vector<std::string> arguments, const std::string& file,
             const std::string& err, bool errIsPattern) {
  return {name,
          goodList().build(),
          threeTransactions().build(),
          arguments,
          1,
          "",
          err,
          errIsPattern,
          {},
          {file},
          {},
          {}};
}

std::vector<Case> cases() {
  const Bytes list = goodList().build();
  const Bytes trans = threeTransactions().build();
  const ThirdRecord third = thirdRecord();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double huge = std::ldexp(1.0, 70);
  Txn hugeYen = txn("huge yen", huge);
  hugeYen.currencyId = kYen;
  Txn overlong = txn(std::string(150, 'P'));
  overlong.checkNumber = std::string(30, '9');
  overlong.memo = std::string(400, 'M');
  Txn kind0 = txn("kind 0"), kind1 = txn("kind 1"), kind3 = txn("kind 3"), kind256 = txn("256");
  kind0.entryKind = 0;
  kind1.entryKind = 1;
  kind3.entryKind = 3;
  kind256.entryKind = 256;
  PdbFile oddKinds = goodList();
  oddKinds.addRecord({0x00, 0x04, 'x', 0}, 0x50);
  oddKinds.addRecord({0xFF, 0xFF, 'y', 0}, 0x51);
  PdbFile countTooLarge = threeTransactions();
  countTooLarge.recordCount = 60000;
  const std::string missingBackup = "Error: Unable to locate QMX's backup files\n";

  return {
      {"list file missing",
       std::nullopt,
       trans,
       kExport,
       1,
       "",
       missingBackup,
       false,
       {},
       kBothOutputs,
       {},
       {}},
      {"transaction file missing",
       list,
       std::nullopt,
       kExport,
       1,
       "",
       missingBackup,
       false,
       {},
       kBothOutputs,
       {},
       {}},
      notRead("list file empty", Bytes(), trans, kUnableList),
      notRead("transaction file empty", list, Bytes(), kUnableTransactions),
      notRead("list shorter than its header, cut before the creator", cut(list, 64), trans,
              kUnableList),
      notRead("list cut inside the creator", cut(list, 66), trans, kUnableList),
      notRead("transactions cut inside the type", list, cut(trans, 62), kUnableTransactions),
      notRead("list creator in small letters", withIdentity(goodList(), "qz05", "Dat1").build(),
              trans, kUnableList),
      notRead("list creator in mixed letters", withIdentity(goodList(), "Qz05", "Dat1").build(),
              trans, kUnableList),
      notRead("list creator one character short", withIdentity(goodList(), "QZ0", "Dat1").build(),
              trans, kUnableList),
      notRead("list of another creator", withIdentity(goodList(), "QZ06", "Dat1").build(), trans,
              kUnableList),
      notRead("list type in small letters", withIdentity(goodList(), "QZ05", "dat1").build(), trans,
              kUnableList),
      notRead("list type in capitals", withIdentity(goodList(), "QZ05", "DAT1").build(), trans,
              kUnableList),
      notRead("transaction database in place of the list",
              withIdentity(goodList(), "QZ05", "Dat2").build(), trans, kUnableList),
      notRead("transaction type in small letters", list,
              withIdentity(threeTransactions(), "QZ05", "dat2").build(), kUnableTransactions),
      notRead("transaction creator in small letters", list,
              withIdentity(threeTransactions(), "qz05", "Dat2").build(), kUnableTransactions),
      notRead("list database in place of the transactions", list,
              withIdentity(threeTransactions(), "QZ05", "Dat1").build(), kUnableTransactions),
      notRead("both foreign: the transactions are not read after the list",
              withIdentity(goodList(), "ABCD", "Dat1").build(), Bytes(), kUnableList),

      damagedTransactions("cut in the header after the creator", cut(trans, 70), 0, 0, {}),
      damagedTransactions("cut inside the record count", cut(trans, 77), 0, 0, {}),
      damagedTransactions("cut inside the record list", cut(trans, 78 + 8 + 3), 3, 3, {}),
      damagedTransactions("cut inside the gap", cut(trans, 78 + 24 + 1), 3, 3, {}),
      damagedTransactions("cut inside the application-info block", cut(trans, 78 + 24 + 2 + 100), 3,
                          3, {}),
      damagedTransactions("cut at the start of the last record", cut(trans, third.start), 1, 3,
                          {"First", "Second"}),
      damagedTransactions("cut inside the fixed part of the last record",
                          cut(trans, third.start + 20), 1, 3, {"First", "Second"}),
      damagedTransactions("cut inside the payee", cut(trans, third.payee + 2), 1, 3,
                          {"First", "Second"}),
      damagedTransactions("cut inside the number", cut(trans, third.checkNumber + 1), 1, 3,
                          {"First", "Second"}),
      damagedTransactions("cut inside the memo", cut(trans, third.memo + 2), 1, 3,
                          {"First", "Second"}),
      damagedTransactions("last memo without its NUL", cut(trans, trans.size() - 1), 1, 3,
                          {"First", "Second"}),
      damagedTransactions("record offset far past the end",
                          withEntryAt(threeTransactions(), 0xFFFFFFF0u).build(), 1, 4, kAllPayees),
      damagedTransactions(
          "record offset at the end of the file",
          withEntryAt(threeTransactions(), sizeWithOneMoreEntry(threeTransactions())).build(), 1, 4,
          kAllPayees),
      damagedTransactions(
          "record running past the end of the file",
          withEntryAt(threeTransactions(), sizeWithOneMoreEntry(threeTransactions()) - 10).build(),
          1, 4, kAllPayees),
      {"record count far larger than the file",
       list,
       countTooLarge.build(),
       kExport,
       1,
       "",
       "Warning: db/QMXTransDB\\.pdb is damaged: [0-9]+ of 60000 records could not be read\n",
       true,
       kBothOutputs,
       {},
       kAllPayees,
       {}},
      {"list cut inside its last text",
       cut(list, list.size() - 2),
       trans,
       kExport,
       1,
       "",
       damaged(kListPath, 1, 5),
       false,
       kBothOutputs,
       {},
       kAllPayees,
       {}},
      {"list cut inside its application-info block",
       cut(list, 78 + 40 + 2 + 10),
       trans,
       kExport,
       1,
       "",
       damaged(kListPath, 5, 5),
       false,
       kBothOutputs,
       {},
       kAllPayees,
       {}},

      exportsCleanly("unknown list record kinds are skipped", oddKinds.build(), trans, kAllPayees),
      exportsCleanly("only entry kind 2 is exported", list,
                     transactionFile({kind0, txn("First"), kind1, kind3, kind256}).build(),
                     {"First"}),
      exportsCleanly("overlong texts are cut to their fields",
                     goodList(std::string(60, 'A'), std::string(70, 'C')).build(),
                     transactionFile({overlong, txn("Next")}).build(),
                     {std::string(99, 'P'), "Next"},
                     {{0, 3, std::string(49, 'A')},
                      {0, 11, std::string(19, '9')},
                      {0, 12, std::string(50, 'C')},
                      {0, 17, std::string(304, 'M')},
                      {1, 11, "100"}}),
      exportsCleanly("amounts that are no ordinary numbers", list,
                     transactionFile({txn("nan", nan), txn("inf", inf), txn("-inf", -inf),
                                      txn("huge", huge), txn("-huge", -huge), hugeYen})
                         .build(),
                     {"nan", "inf", "-inf", "huge", "-huge", "huge yen"},
                     {{0, 6, "nan"},
                      {1, 6, "inf"},
                      {2, 6, "-inf"},
                      {2, 9, "-inf"},
                      {3, 6, kTwoToThe70 + ".00"},
                      {4, 6, "-" + kTwoToThe70 + ".00"},
                      {5, 6, kTwoToThe70}}),

      {"invalid -from date",
       list,
       trans,
       exportWith({"-from", "13/45/2004", "-o", "out/x.csv"}),
       1,
       "",
       "Invalid date: 13/45/2004 (expected MM/DD/YYYY)\n",
       false,
       {},
       {"out/x.csv"},
       {},
       {}},
      {"invalid -to date",
       list,
       trans,
       exportWith({"-to", "2004-01-15", "-q", "out/x.qif"}),
       1,
       "",
       "Invalid date: 2004-01-15 (expected MM/DD/YYYY)\n",
       false,
       {},
       {"out/x.qif"},
       {},
       {}},
      {"invalid day-first date",
       list,
       trans,
       exportWith({"-from", "01/13/2004", "-d", "day", "-o", "out/x.csv"}),
       1,
       "",
       "Invalid date: 01/13/2004 (expected DD/MM/YYYY)\n",
       false,
       {},
       {"out/x.csv"},
       {},
       {}},

      refused("CSV output is the transaction database", exportWith({"-o", kTransactionPath}),
              "out/x.csv", ".*db/QMXTransDB\\.pdb.*\n", true),
      refused("QIF output is the list database", exportWith({"-q", kListPath}), "out/x.qif",
              ".*db/QMXListDB\\.pdb.*\n", true),
      refused("output names the list database by another path",
              exportWith({"-o", "out/x.csv", "-q", "db/../db/QMXListDB.pdb"}), "out/x.csv",
              ".*QMXListDB\\.pdb.*\n", true),
      {"CSV output is a folder",
       list,
       trans,
       exportWith({"-o", "out/folder.csv"}),
       1,
       "",
       "Unable to write output file: out/folder.csv\n",
       false,
       {},
       {"out/folder.csv"},
       {},
       {},
       {"out/folder.csv"}},
      {"QIF output in a missing folder",
       list,
       trans,
       exportWith({"-q", "out/none/x.qif"}),
       1,
       "",
       "Unable to write output file: out/none/x.qif\n",
       false,
       {},
       {"out/none/x.qif"},
       {},
       {}},
      {"QIF output below a file",
       list,
       trans,
       exportWith({"-q", "db/QMXListDB.pdb/x.qif"}),
       1,
       "",
       "Unable to write output file: db/QMXListDB.pdb/x.qif\n",
       false,
       {},
       {},
       {},
       {}},
  };
}

// The fields of one CSV line; none of the fields in these rows holds a quote.
std::vector<std::string> csvFields(const std::string& line) {
  std::vector<std::string> fields;
  const std::string separator = "\",\"";
  std::string inner = line.substr(1, line.size() - 2);
  size_t start = 0;
  for (size_t end; (end = inner.find(separator, start)) != std::string::npos;
       start = end + separator.size()) {
    fields.push_back(inner.substr(start, end - start));
  }
  fields.push_back(inner.substr(start));
  return fields;
}

std::vector<std::vector<std::string>> csvLines(const std::string& csv) {
  std::vector<std::vector<std::string>> lines;
  size_t start = 0;
  for (size_t end; (end = csv.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(csvFields(csv.substr(start, end - start)));
  }
  return lines;
}

// Every file of the folder with its bytes.
std::map<std::string, std::string> folderContents(const std::string& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& item : std::filesystem::directory_iterator(folder)) {
    contents[item.path().filename().string()] =
        item.is_regular_file() ? readFileBytes(item.path().string()) : "(not a file)";
  }
  return contents;
}

void checkCsv(const Case& c, const std::string& folder) {
  const auto lines = csvLines(readFileBytes(folder + "/out/x.csv"));
  ASSERT_EQ(lines.size(), c.csvPayees->size());
  for (size_t i = 0; i < lines.size(); ++i) {
    ASSERT_EQ(lines[i].size(), 17u) << "line " << i;
    EXPECT_EQ(lines[i][3], (*c.csvPayees)[i]) << "line " << i;
  }
  for (const Cell& cell : c.cells) {
    ASSERT_LT(cell.line, lines.size());
    EXPECT_EQ(lines[cell.line][cell.column - 1], cell.text)
        << "line " << cell.line << ", column " << cell.column;
  }
}

void runCase(const Case& c) {
  const std::string folder = makeTempFolder();
  ASSERT_FALSE(folder.empty());
  std::filesystem::create_directories(folder + "/db");
  std::filesystem::create_directories(folder + "/out");
  for (const std::string& made : c.folders) {
    std::filesystem::create_directories(folder + "/" + made);
  }
  if (c.list) {
    ASSERT_TRUE(fixture::writeFile(folder + "/" + kListPath, *c.list));
  }
  if (c.transactions) {
    ASSERT_TRUE(fixture::writeFile(folder + "/" + kTransactionPath, *c.transactions));
  }
  const auto inputsBefore = folderContents(folder + "/db");

  const ProgramResult r = runProgramIn(folder, QMX_BINARY, c.arguments);

  EXPECT_EQ(r.exitStatus, c.exitStatus);
  EXPECT_EQ(r.out, c.out);
  if (c.errIsPattern) {
    EXPECT_TRUE(std::regex_match(r.err, std::regex(c.err))) << r.err;
  } else {
    EXPECT_EQ(r.err, c.err);
  }
  for (const std::string& name : c.written)
    EXPECT_TRUE(fileExists(folder + "/" + name)) << name;
  for (const std::string& name : c.notWritten) {
    EXPECT_FALSE(std::filesystem::is_regular_file(folder + "/" + name)) << name;
  }
  if (c.csvPayees)
    checkCsv(c, folder);
  EXPECT_EQ(folderContents(folder + "/db"), inputsBefore) << "the backup folder changed";
  std::filesystem::remove_all(folder);
}

TEST(MalformedInput, EveryKindOfBadInputHasItsDefinedOutcome) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    runCase(c);
  }
}

}  // namespace
