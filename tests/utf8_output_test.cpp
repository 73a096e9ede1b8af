// The built program with -u: every text from the databases comes out as
// UTF-8 in both outputs, the fixed texts and the numbers stay as they are,
// and --help and --version answer alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "pdb_builder.h"
#include "program_runner.h"

namespace {

const uint32_t kEuro = 0x10, kMain = 0x20, kCafes = 0x30;

// The bytes from `first` to `last` but line feed and carriage return: with
// 1 to 255 every character of the handheld, the five undefined ones included.
std::string byteRange(int first, int last) {
  std::string text;
  for (int byte = first; byte <= last; ++byte) {
    if (byte != '\n' && byte != '\r')
      text += static_cast<char>(byte);
  }
  return text;
}

class Utf8Output : public testing::Test {
 protected:
  void SetUp() override { folder_ = makeTempFolder(); }
  void TearDown() override { std::system(("rm -rf '" + folder_ + "'").c_str()); }

  // A backup whose account, category, currency code, no-account text and
  // transaction texts carry Windows-1252 bytes.
  void writeBackup(const std::string& payee, const std::string& memo) {
    fixture::PdbFile list = fixture::listFile("Non class\xE9");
    list.addRecord(fixture::currencyRecord(true, true, "\x80UR"), kEuro);
    list.addRecord(fixture::accountRecord(kEuro, "Ch\xE8que"), kMain);
    list.addRecord(fixture::categoryRecord("Caf\xE9s"), kCafes);
    fixture::PdbFile trans = fixture::transactionFile();
    fixture::Txn txn;
    txn.day = 15;
    txn.month = 3;
    txn.year = 2004;
    txn.accountId = kMain;
    txn.categoryId = kCafes;
    txn.currencyId = kEuro;
    txn.amount = txn.accountAmount = 12.5;
    txn.debit = true;
    txn.payee = payee;
    txn.checkNumber =
        "N\xBA"
        "7";
    txn.memo = memo;
    trans.addRecord(fixture::transactionRecord(txn), 1);
    fixture::Txn unfiled = txn;
    unfiled.accountId = 0;
    trans.addRecord(fixture::transactionRecord(unfiled), 2);
    ASSERT_TRUE(fixture::writeFile(folder_ + "/QMXListDB.pdb", list.build()));
    ASSERT_TRUE(fixture::writeFile(folder_ + "/QMXTransDB.pdb", trans.build()));
  }
  ProgramResult run(const std::vector<std::string>& arguments) {
    return runProgramIn(folder_, QMX_BINARY, arguments);
  }
  std::string file(const std::string& name) { return readFileBytes(folder_ + "/" + name); }
  // True when iconv, an independent decoder, accepts the file as UTF-8.
  bool isValidUtf8(const std::string& name) {
    const std::string command =
        "iconv -f UTF-8 -t UTF-8 '" + folder_ + "/" + name + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
  }

  std::string folder_;
};

TEST_F(Utf8Output, EveryDatabaseTextBecomesUtf8InBothOutputs) {
  writeBackup("Caf\xE9 \x80 \x93ok\x94", "d\xE9j\xE0\nvu \x81");
  ProgramResult r = run({"-u", "-o", "out.csv", "-q", "out.qif"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  const std::string csv = file("out.csv");
  EXPECT_EQ(csv.substr(0, csv.find('\n') + 1),
            "\"03/15/2004\",\"00:00\",\"Ch\xC3\xA8que\","
            "\"Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cok\xE2\x80\x9D\",\"Debit\",\"12.50\","
            "\"\xE2\x82\xACUR\",\"1\",\"12.50\",\"\xE2\x82\xACUR\",\"N\xC2\xBA"
            "7\",\"Caf\xC3\xA9s\",\"Non class\xC3\xA9\",\"\",\"\",\"\","
            "\"d\xC3\xA9j\xC3\xA0 vu \xEF\xBF\xBD\"\n");
  EXPECT_NE(csv.find("\"Non class\xC3\xA9\",\"Caf\xC3\xA9 "), std::string::npos);

  // The account list, the headers and the unfiled pseudo-account.
  const std::string qif = file("out.qif");
  EXPECT_EQ(qif.substr(0, qif.find("!Clear")),
            "!Option:AutoSwitch\n!Account\nNCh\xC3\xA8que\nTBank\n^\n"
            "NNon class\xC3\xA9\nTBank\n^\n");
  EXPECT_NE(qif.find("!Account\nNNon class\xC3\xA9\nTBank\n^\n!Type:Bank\nD03/15/2004\n"),
            std::string::npos);
  EXPECT_NE(qif.find("PCaf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cok\xE2\x80\x9D\n"
                     "Md\xC3\xA9j\xC3\xA0 vu \xEF\xBF\xBD\nLCaf\xC3\xA9s\n^\n"),
            std::string::npos);
  EXPECT_NE(qif.find("NN\xC2\xBA"
                     "7\n"),
            std::string::npos);
}

TEST_F(Utf8Output, AllBytesGiveValidUtf8AndWithoutTheSwitchStayBytes) {
  // The payee field holds 99 bytes: the upper half of the character set.
  writeBackup(byteRange(0x80, 0xE2), byteRange(1, 255));
  ASSERT_EQ(run({"-u", "-o", "u.csv", "-q", "u.qif"}).exitStatus, 0);
  EXPECT_TRUE(isValidUtf8("u.csv"));
  EXPECT_TRUE(isValidUtf8("u.qif"));

  ASSERT_EQ(run({"-o", "b.csv", "-q", "b.qif"}).exitStatus, 0);
  EXPECT_FALSE(isValidUtf8("b.csv"));  // the handheld's bytes, unchanged
  EXPECT_NE(file("b.qif").find("P" + byteRange(0x80, 0xE2) + "\nM" + byteRange(1, 255) + "\n"),
            std::string::npos);
}

TEST_F(Utf8Output, AccountIsChosenByEitherSpellingOfItsName) {
  writeBackup("Kiosk", "");
  struct Case {
    std::vector<std::string> arguments;
    size_t lines;
  } cases[] = {
      {{"-u", "-a", "Ch\xC3\xA8que"}, 1},
      {{"-u", "-a", "Ch\xE8que"}, 1},
      {{"-a", "Ch\xE8que"}, 1},
      {{"-a", "Ch\xC3\xA8que"}, 0},  // without -u only the handheld's bytes match
      {{"-u", "-a", "Non class\xC3\xA9"}, 1},
  };
  for (const Case& c : cases) {
    ProgramResult r = run(c.arguments);
    EXPECT_EQ(r.exitStatus, 0);
    size_t lines = 0;
    for (char ch : r.out)
      lines += ch == '\n';
    EXPECT_EQ(lines, c.lines) << testing::PrintToString(c.arguments);
  }
}

TEST_F(Utf8Output, HelpAndVersionAnswerAlone) {
  ProgramResult help = run({"--help"});
  EXPECT_EQ(help.exitStatus, 1);
  EXPECT_EQ(help.out, run({"-?"}).out);
  EXPECT_NE(help.out.find("Use -u to write texts as UTF-8"), std::string::npos);

  ProgramResult version = run({"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out, "qmxexport " QMX_VERSION "\n");

  // Not alone, they are unknown arguments of an ordinary run.
  writeBackup("Kiosk", "");
  ProgramResult ordinary = run({"--version", "-c"});
  EXPECT_EQ(ordinary.exitStatus, 0);
  EXPECT_EQ(ordinary.out, "");  // -c: nothing is cleared
}

}  // namespace
