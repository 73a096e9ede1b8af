#include "frontend/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Args = std::vector<std::string>;

CommandLine parse(const Args& arguments) {
  CommandLine commandLine;
  parseSwitches(arguments, commandLine);
  return commandLine;
}

TEST(UsageText, IsExactlyTheDocumentedText) {
  const std::string expected =
      "\nProgram build date: January 15, 2003.\n\nSyntax:\nqmx.exe\n"
      " [-from <MM/DD/YYYY | DD/MM/YYYY>]\n"
      " [-to <MM/DD/YYYY | DD/MM/YYYY>]\n"
      " [-a \"Account Name\"]\n"
      " [-D decimalSymbol]\n"
      " [-d [day | month]]\n"
      " [-y <2 | 4(default)>]\n"
      " [-s dateSeparatorSymbol]\n"
      " [-h <: | . | ,>]\n"
      " [-c]\n"
      " [-r]\n"
      " [-l \"QMX Database location\"]\n"
      " [-o \"CSVOutputFilename.csv\"]\n"
      " [-q \"QIFOutputFilename.qif\"]\n"
      "\n"
      "Use -a to specify only one account to export (default is all)\n"
      "Use -D to specify the single character decimal symbol\n"
      "Use -d to specify date format:\n"
      "  - day for DD/MM/YYYY\n"
      "  - month for MM/DD/YYYY (default)\n"
      "Use -y to specify using 2 digit or 4 digit (default) for year\n"
      "Use -s to specify the single character date separator symbol\n"
      "Use -h to specify time format\n"
      "  - : for HH:MM\n"
      "  - . for HH.MM\n"
      "  - , for HH,MM\n"
      "Use -c to export only cleared transactions\n"
      "Use -r to export only reconciled transactions\n"
      "\n"
      "Example:\n"
      "qmx.exe -from 28/02/2001 -to 13/04/2001 -d day -D . -c -a \"US Checking\" "
      "-l \"C:\\Program Files\\Palm\\UserId\\Backup\\\"\n";
  // The line for -u follows the documented text, which stays as it is.
  EXPECT_EQ(
      buildUsageText("qmx.exe"),
      expected + "Use -u to write texts as UTF-8 (default is the handheld's own characters)\n");
}

TEST(HelpRequest, OnlyASingleQuestionArgument) {
  struct Case {
    Args arguments;
    bool help;
  } cases[] = {
      {{"?"}, true},        {{"/?"}, true},
      {{"-?"}, true},       {{"??x"}, true},
      {{"x?yz"}, true},     {{"-c"}, false},
      {{""}, false},        {{"?", "-c"}, false},
      {{"-c", "?"}, false}, {{}, false},
      {{"--"}, false},      {{"a"}, false},
      {{"--help"}, true},   {{"--help", "-c"}, false},
      {{"--Help"}, false},  {{"--version"}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(isHelpRequest(c.arguments), c.help) << testing::PrintToString(c.arguments);
  }
}

TEST(VersionRequest, OnlyVersionAlone) {
  EXPECT_TRUE(isVersionRequest({"--version"}));
  for (const Args& arguments : {Args{}, Args{"--version", "-c"}, Args{"-c", "--version"},
                                Args{"-version"}, Args{"--Version"}}) {
    EXPECT_FALSE(isVersionRequest(arguments)) << testing::PrintToString(arguments);
  }
}

TEST(ParseSwitches, DefaultsWithoutArguments) {
  CommandLine commandLine = parse({});
  const RunOptions& o = commandLine.options;
  EXPECT_EQ(o.fromDay, 0u);
  EXPECT_EQ(o.toDay, 0xFFFFFFFFu);
  EXPECT_EQ(o.accountName, "All");
  EXPECT_EQ(o.decimalSymbol, ".");
  EXPECT_EQ(o.dateSeparator, "/");
  EXPECT_EQ(o.timeSeparator, ":");
  EXPECT_FALSE(o.twoDigitYear);
  EXPECT_TRUE(o.monthFirst);
  EXPECT_FALSE(o.clearedOnly);
  EXPECT_FALSE(o.reconciledOnly);
  EXPECT_FALSE(o.utf8Output);
  EXPECT_TRUE(commandLine.databaseFolder.empty());
  EXPECT_FALSE(commandLine.writeCsvFile);
  EXPECT_FALSE(commandLine.writeQifFile);
}

TEST(ParseSwitches, EverySwitchSetsItsValue) {
  CommandLine c =
      parse({"-from", "01/02/2003", "-to", "04/05/2006", "-a", "US Checking", "-D", ",5", "-d",
             "day",   "-y",         "2",   "-s",         ".-", "-h",          "",   "-c", "-r",
             "-o",    "out",        "-q",  "my.qif",     "-l", "/backup/dir", "-u"});
  EXPECT_EQ(c.fromText, "01/02/2003");
  EXPECT_EQ(c.toText, "04/05/2006");
  EXPECT_EQ(c.options.accountName, "US Checking");
  EXPECT_EQ(c.options.decimalSymbol, ",");
  EXPECT_FALSE(c.options.monthFirst);
  EXPECT_TRUE(c.options.twoDigitYear);
  EXPECT_EQ(c.options.dateSeparator, ".");
  EXPECT_EQ(c.options.timeSeparator, "");
  EXPECT_TRUE(c.options.clearedOnly);
  EXPECT_TRUE(c.options.reconciledOnly);
  EXPECT_TRUE(c.options.utf8Output);
  EXPECT_TRUE(c.writeCsvFile);
  EXPECT_EQ(c.csvFileName, "out");
  EXPECT_TRUE(c.writeQifFile);
  EXPECT_EQ(c.qifFileName, "my.qif");
  EXPECT_EQ(c.databaseFolder, "/backup/dir");
}

TEST(ParseSwitches, ValuesAreTakenWhateverTheyHold) {
  CommandLine c = parse({"-a", "-c"});
  EXPECT_EQ(c.options.accountName, "-c");
  EXPECT_FALSE(c.options.clearedOnly);

  c = parse({"-o", ""});
  EXPECT_TRUE(c.writeCsvFile);
  EXPECT_EQ(c.csvFileName, "");

  c = parse({"-h", "-x", "-D", ""});
  EXPECT_EQ(c.options.timeSeparator, "-");
  EXPECT_EQ(c.options.decimalSymbol, "");
}

TEST(ParseSwitches, ValueSwitchAtTheEndIsSkipped) {
  for (const char* name : {"-D", "-a", "-o", "-q", "-l", "-d", "-y", "-s", "-h", "-from", "-to"}) {
    CommandLine c = parse({"-c", name});
    EXPECT_TRUE(c.options.clearedOnly) << name;
    EXPECT_EQ(c.options.decimalSymbol, ".") << name;
    EXPECT_EQ(c.options.accountName, "All") << name;
    EXPECT_FALSE(c.writeCsvFile) << name;
    EXPECT_FALSE(c.writeQifFile) << name;
    EXPECT_TRUE(c.databaseFolder.empty()) << name;
  }
}

TEST(ParseSwitches, NamesAndKeywordsAreWholeAndCaseSensitive) {
  CommandLine c = parse({"-From", "01/01/2003", "/c", "-C", "-d", "Day", "-y", "04", "?"});
  EXPECT_TRUE(c.fromText.empty());
  EXPECT_FALSE(c.options.clearedOnly);
  EXPECT_TRUE(c.options.monthFirst);
  EXPECT_FALSE(c.options.twoDigitYear);

  // The unknown keyword consumes its value: "-c" is not seen as a switch.
  c = parse({"-y", "3", "-c"});
  EXPECT_TRUE(c.options.clearedOnly);
  c = parse({"-d", "-c"});
  EXPECT_FALSE(c.options.clearedOnly);

  // -u takes no value; -U is unknown.
  c = parse({"-u", "-c"});
  EXPECT_TRUE(c.options.utf8Output);
  EXPECT_TRUE(c.options.clearedOnly);
  EXPECT_FALSE(parse({"-U"}).options.utf8Output);
}

TEST(ParseSwitches, RepeatedSwitchesTakeEffectAgain) {
  CommandLine c =
      parse({"-d", "day", "-a", "A", "-c", "-d", "month", "-a", "B", "-y", "2", "-y", "4", "-c"});
  EXPECT_TRUE(c.options.monthFirst);
  EXPECT_EQ(c.options.accountName, "B");
  EXPECT_FALSE(c.options.twoDigitYear);
  EXPECT_TRUE(c.options.clearedOnly);
}

TEST(EnsureTrailingSeparator, AppendsThePlatformSeparatorOnce) {
  const std::string sep(1, kPathSeparator);
  struct Case {
    std::string folder;
    std::string completed;
  } cases[] = {
      {"", ""},
      {"data", "data" + sep},
      {"data" + sep, "data" + sep},
      {sep, sep},
  };
  for (const Case& c : cases) {
    std::string folder = c.folder;
    ensureTrailingSeparator(folder);
    EXPECT_EQ(folder, c.completed);
  }
#ifdef _WIN32
  std::string drive = "C:";
  ensureTrailingSeparator(drive);
  EXPECT_EQ(drive, "C:\\");
#else
  std::string backslashed = "dir\\";  // a backslash is an ordinary file-name character here
  ensureTrailingSeparator(backslashed);
  EXPECT_EQ(backslashed, "dir\\/");
#endif
}

}  // namespace
