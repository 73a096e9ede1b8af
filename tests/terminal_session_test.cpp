// The built program on a real pseudo-terminal, where the backup files are not
// in the current directory: the folder and save questions as a user at a
// terminal answers them, and the same program with no terminal to ask on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#if defined(__APPLE__)
#include <util.h>
#else
#include <pty.h>
#endif

#include <chrono>
#include <string>
#include <vector>

#include "pdb_builder.h"
#include "program_runner.h"

namespace {

const char kFolderPrompt[] = "Folder (empty to cancel): ";
const char kSavePrompt[] = "(empty for no file): ";
const char kErrorLine[] = "Error: Unable to locate QMX's backup files";
constexpr int kWaitMilliseconds = 10000;

// The program with standard input and standard error on a pseudo-terminal
// and standard output in a file, so that the CSV lines stay apart from the
// questions.
struct TerminalSession {
  pid_t child = -1;
  int terminal = -1;
  std::string screen;  // everything shown on the terminal so far
};

bool start(TerminalSession& session, const std::string& workingFolder,
           const std::vector<std::string>& arguments, const std::string& outputPath) {
  std::vector<std::string> command = {QMX_BINARY};
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : command)
    argv.push_back(word.data());
  argv.push_back(nullptr);
  session.child = forkpty(&session.terminal, nullptr, nullptr, nullptr);
  if (session.child == 0) {
    const int out = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || chdir(workingFolder.c_str()) != 0 || dup2(out, 1) < 0)
      _exit(127);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return session.child > 0;
}

int millisecondsSince(std::chrono::steady_clock::time_point begin) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - begin)
                              .count());
}

// Reads the terminal until `text` appears after `from` (true) or the program
// closes it or the wait runs out (false). An empty text waits for the close.
bool waitFor(TerminalSession& session, const std::string& text, size_t from = 0) {
  const auto begin = std::chrono::steady_clock::now();
  for (;;) {
    if (!text.empty() && session.screen.find(text, from) != std::string::npos)
      return true;
    const int left = kWaitMilliseconds - millisecondsSince(begin);
    if (left <= 0)
      return false;
    pollfd ready = {session.terminal, POLLIN, 0};
    if (poll(&ready, 1, left) <= 0)
      continue;
    char buffer[512];
    const ssize_t count = read(session.terminal, buffer, sizeof buffer);
    if (count <= 0)
      return text.empty();  // closed: the program has ended
    session.screen.append(buffer, static_cast<size_t>(count));
  }
}

bool type(TerminalSession& session, const std::string& text) {
  return write(session.terminal, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

// Waits for the end of the program (killing it when it does not end in time)
// and returns its exit status, -1 when it did not exit by itself.
int finish(TerminalSession& session) {
  waitFor(session, "");
  int status = 0;
  pid_t done = 0;
  const auto begin = std::chrono::steady_clock::now();
  while ((done = waitpid(session.child, &status, WNOHANG)) == 0 &&
         millisecondsSince(begin) < kWaitMilliseconds) {
    usleep(10000);
  }
  if (done == 0) {
    kill(session.child, SIGKILL);
    waitpid(session.child, &status, 0);
  }
  close(session.terminal);
  return done == session.child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class TerminalSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backup_ = makeTempFolder();
    work_ = makeTempFolder();
    ASSERT_FALSE(backup_.empty() || work_.empty());
    fixture::PdbFile list = fixture::listFile();
    list.addRecord(fixture::currencyRecord(true, true, "USD"), 0x10);
    list.addRecord(fixture::accountRecord(0x10, "Checking"), 0x20);
    fixture::PdbFile transactions = fixture::transactionFile();
    fixture::Txn txn;
    txn.day = 14;
    txn.month = 3;
    txn.year = 2004;
    txn.accountId = 0x20;
    txn.currencyId = 0x10;
    txn.amount = 12.5;
    txn.accountAmount = 12.5;
    txn.payee = "Grocer";
    transactions.addRecord(fixture::transactionRecord(txn), 0x30);
    ASSERT_TRUE(fixture::writeFile(backup_ + "/QMXListDB.pdb", list.build()));
    ASSERT_TRUE(fixture::writeFile(backup_ + "/QMXTransDB.pdb", transactions.build()));
    // What the program writes when the command line names the folder.
    const ProgramResult named = runProgramIn(work_, QMX_BINARY, {"-l", backup_});
    ASSERT_EQ(named.exitStatus, 0) << named.out;
    ASSERT_NE(named.out.find("Grocer"), std::string::npos);
    expectedCsv_ = named.out;
  }
  void TearDown() override {
    ASSERT_EQ(std::system(("rm -rf '" + backup_ + "' '" + work_ + "'").c_str()), 0);
  }

  std::string backup_;
  std::string work_;
  std::string expectedCsv_;
};

TEST_F(TerminalSessionTest, QuestionsOnATerminal) {
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    std::string folderAnswer;
    bool saveQuestion;  // asked after the folder
    std::string saveAnswer;
    int exitStatus;
    std::string console;  // the program's standard output
    std::string csvFile;  // in the working folder; empty: none is written
    bool error;
  };
  const std::string lines = expectedCsv_;
  const Case cases[] = {
      {"folder and CSV file chosen", {}, backup_, true, "chosen.csv", 0, "", "chosen.csv", false},
      {"save question cancelled", {}, backup_ + "/", true, "", 0, lines, "", false},
      {"CSV file named on the command line",
       {"-o", "named.csv"},
       backup_,
       false,
       "",
       0,
       "",
       "named.csv",
       false},
      {"folder question cancelled", {}, "", false, "", 1, "", "", false},
      {"folder without the backup files", {}, work_, false, "", 1, "", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string outputPath = backup_ + "/console.out";
    TerminalSession session;
    ASSERT_TRUE(start(session, work_, c.arguments, outputPath));
    ASSERT_TRUE(waitFor(session, kFolderPrompt)) << session.screen;
    EXPECT_NE(session.screen.find("Select the folder where you QMX backup files"),
              std::string::npos);
    const size_t afterFolder = session.screen.size();
    ASSERT_TRUE(type(session, c.folderAnswer + "\n"));
    if (c.saveQuestion) {
      ASSERT_TRUE(waitFor(session, kSavePrompt, afterFolder)) << session.screen;
      EXPECT_NE(session.screen.find("Excel CSV File (*.csv)", afterFolder), std::string::npos);
      ASSERT_TRUE(type(session, c.saveAnswer + "\n"));
    }
    EXPECT_EQ(finish(session), c.exitStatus) << session.screen;
    EXPECT_EQ(session.screen.find(kSavePrompt, afterFolder) != std::string::npos, c.saveQuestion)
        << session.screen;
    EXPECT_EQ(session.screen.find(kErrorLine) != std::string::npos, c.error) << session.screen;
    EXPECT_EQ(readFileBytes(outputPath), c.console);
    if (!c.csvFile.empty()) {
      EXPECT_EQ(readFileBytes(work_ + "/" + c.csvFile), lines);
      unlink((work_ + "/" + c.csvFile).c_str());
    }
  }
}

TEST_F(TerminalSessionTest, InputThatIsNotATerminalIsNeverAnAnswer) {
  const ProgramResult result = runProgramIn(work_, QMX_BINARY, {}, backup_ + "\n");
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, std::string(kErrorLine) + "\n");
}

}  // namespace
