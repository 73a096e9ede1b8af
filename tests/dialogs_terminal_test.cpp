#include "frontend/dialogs_terminal.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "pdb_builder.h"
#include "program_runner.h"

namespace {

const std::vector<FileFilter> kCsvFilter = {{"Excel CSV File (*.csv)", "*.csv"}};
const char kErrorLine[] = "Error: Unable to locate QMX's backup files\n";

// Each test works in a fresh folder that is also the current directory and
// the home folder, so that relative names and "~" land inside it.
class TerminalDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = makeTempFolder();
    ASSERT_FALSE(folder_.empty());
    std::vector<char> buffer(4096);
    ASSERT_NE(getcwd(buffer.data(), buffer.size()), nullptr);
    previousFolder_ = buffer.data();
    ASSERT_EQ(chdir(folder_.c_str()), 0);
    const char* home = std::getenv("HOME");
    previousHome_ = home ? home : "";
    setenv("HOME", folder_.c_str(), 1);
  }
  void TearDown() override {
    setenv("HOME", previousHome_.c_str(), 1);
    ASSERT_EQ(chdir(previousFolder_.c_str()), 0);
    ASSERT_EQ(std::system(("rm -rf '" + folder_ + "'").c_str()), 0);
  }

  std::string path(const std::string& name) const { return folder_ + "/" + name; }
  void makeFolder(const std::string& name) const { ASSERT_EQ(mkdir(path(name).c_str(), 0700), 0); }
  void makeFile(const std::string& name) const {
    ASSERT_TRUE(fixture::writeFile(path(name), {'x'}));
  }

  std::string folder_;
  std::string previousFolder_;
  std::string previousHome_;
};

TEST_F(TerminalDialogsTest, AnswersBecomeFullPaths) {
  makeFolder("sub");
  struct Case {
    const char* answer;
    std::string path;
    std::string folder;
  } cases[] = {
      {"", "", ""},
      {"  \t\r", "", ""},
      {"/", "/", "/"},
      {"/data", "/data", "/data/"},
      {"/data/\r", "/data/", "/data/"},
      {" '/my data' ", "/my data", "/my data/"},
      {"\"/my data\"", "/my data", "/my data/"},
      {"~", folder_, folder_ + "/"},
      {"~/sub", path("sub"), path("sub") + "/"},
      {"sub", path("sub"), path("sub") + "/"},
      {"~other", path("~other"), path("~other") + "/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(answeredPath(c.answer), c.path) << "answer: " << c.answer;
    EXPECT_EQ(answeredFolder(c.answer), c.folder) << "answer: " << c.answer;
  }
}

TEST_F(TerminalDialogsTest, FolderQuestion) {
  makeFolder("both");
  makeFile("both/QMXListDB.pdb");
  makeFile("both/QMXTransDB.pdb");
  makeFolder("listOnly");
  makeFile("listOnly/QMXListDB.pdb");
  struct Case {
    const char* name;
    bool interactive;
    std::string input;
    bool chosen;
    std::string folder;  // databaseFolder afterwards
    bool error;
  } cases[] = {
      {"cancelled with an empty answer", true, "\n", false, "given/", false},
      {"cancelled at the end of input", true, "", false, "given/", false},
      {"folder without both files", true, path("listOnly") + "\n", false, "given/", true},
      {"missing folder", true, path("none") + "\n", false, "given/", true},
      {"good folder", true, path("both") + "\n", true, path("both") + "/", false},
      {"good folder with separator", true, path("both") + "/\n", true, path("both") + "/", false},
      {"good folder, relative", true, "both\n", true, path("both") + "/", false},
      {"good folder below home", true, "~/both\n", true, path("both") + "/", false},
      {"no terminal", false, path("both") + "\n", false, "given/", true},
  };
  for (const Case& c : cases) {
    std::istringstream answers(c.input);
    std::ostringstream prompts;
    std::string databaseFolder = "given/";
    const bool chosen = askBackupFolder({answers, prompts, c.interactive}, databaseFolder);
    EXPECT_EQ(chosen, c.chosen) << c.name;
    EXPECT_EQ(databaseFolder, c.folder) << c.name;
    const std::string shown = prompts.str();
    EXPECT_EQ(shown.find(kBrowseFolderTitle) != std::string::npos, c.interactive) << c.name;
    const bool endsWithError =
        shown.size() >= sizeof(kErrorLine) - 1 &&
        shown.compare(shown.size() - (sizeof(kErrorLine) - 1), std::string::npos, kErrorLine) == 0;
    EXPECT_EQ(endsWithError, c.error) << c.name << ": " << shown;
  }
}

TEST_F(TerminalDialogsTest, SaveQuestion) {
  makeFile("old.csv");
  makeFolder("data.old");
  struct Case {
    const char* name;
    std::string input;
    std::string result;
    int replaceQuestions;
  } cases[] = {
      {"cancelled with an empty answer", "\n", "", 0},
      {"cancelled at the end of input", "", "", 0},
      {"relative name", "new.csv\n", path("new.csv"), 0},
      {"name without extension, as typed", "new\n", path("new"), 0},
      {"full path", path("new.csv") + "\n", path("new.csv"), 0},
      {"existing file replaced", "old.csv\ny\n", path("old.csv"), 1},
      {"existing file replaced, long yes", "old.csv\n YES\r\n", path("old.csv"), 1},
      {"existing file kept, then another name", "old.csv\nn\nnew.csv\n", path("new.csv"), 1},
      {"existing file kept by default", "old.csv\n\nnew.csv\n", path("new.csv"), 1},
      {"existing file of the completed name", "old\nn\n\n", "", 1},
      {"end of input at the replace question", "old.csv\n", "", 1},
      {"folder, then a name", "data.old\nnew.csv\n", path("new.csv"), 0},
  };
  for (const Case& c : cases) {
    std::istringstream answers(c.input);
    std::ostringstream prompts;
    EXPECT_EQ(askCsvFile({answers, prompts, true}, kCsvFilter, 1), c.result) << c.name;
    const std::string shown = prompts.str();
    EXPECT_NE(shown.find("Excel CSV File (*.csv)"), std::string::npos) << c.name;
    size_t questions = 0;
    for (size_t at = shown.find("replace it?"); at != std::string::npos;
         at = shown.find("replace it?", at + 1)) {
      ++questions;
    }
    EXPECT_EQ(questions, static_cast<size_t>(c.replaceQuestions)) << c.name << ": " << shown;
    if (c.replaceQuestions > 0) {
      EXPECT_NE(shown.find(path("old.csv") + " already exists"), std::string::npos) << c.name;
    }
  }
  EXPECT_EQ(readFileBytes(path("old.csv")), "x");
}

TEST_F(TerminalDialogsTest, SaveQuestionWithoutTerminalAsksNothing) {
  std::istringstream answers("new.csv\n");
  std::ostringstream prompts;
  EXPECT_EQ(askCsvFile({answers, prompts, false}, kCsvFilter, 1), "");
  EXPECT_EQ(prompts.str(), "");
}

TEST_F(TerminalDialogsTest, SaveQuestionNamesTheChosenFilter) {
  const std::vector<FileFilter> filters = {{"First (*.a)", "*.a"}, {"Second (*.b)", "*.b"}};
  for (int index : {0, 1, 2, 3}) {
    std::istringstream answers("\n");
    std::ostringstream prompts;
    askCsvFile({answers, prompts, true}, filters, index);
    const char* expected = index == 2 ? "Second (*.b)" : "First (*.a)";
    EXPECT_NE(prompts.str().find(expected), std::string::npos) << "index " << index;
  }
}

}  // namespace
