#include "program_runner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

std::string makeTempFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/qmxtest-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr)
    return std::string();
  return std::string(buffer.data());
}

std::string readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool fileExists(const std::string& path) {
  return access(path.c_str(), F_OK) == 0;
}

namespace {

bool writeText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out);
}

}  // namespace

ProgramResult runProgramIn(const std::string& workingFolder, const std::string& program,
                           const std::vector<std::string>& arguments,
                           const std::string& standardInput) {
  ProgramResult result;
  std::string scratch = makeTempFolder();
  if (scratch.empty())
    return result;
  const std::string inPath = scratch + "/stdin";
  const std::string outPath = scratch + "/stdout";
  const std::string errPath = scratch + "/stderr";
  if (!writeText(inPath, standardInput))
    return result;

  std::vector<std::string> command;
  const char* runner = std::getenv("QMX_RUNNER");
  if (runner && *runner)
    command.emplace_back(runner);
  command.push_back(program);
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : command)
    argv.push_back(word.data());
  argv.push_back(nullptr);

  pid_t child = fork();
  if (child == 0) {
    int in = open(inPath.c_str(), O_RDONLY);
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0 || chdir(workingFolder.c_str()) != 0)
      _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    result.exitStatus = WEXITSTATUS(status);
  }
  result.out = readFileBytes(outPath);
  result.err = readFileBytes(errPath);
  unlink(inPath.c_str());
  unlink(outPath.c_str());
  unlink(errPath.c_str());
  rmdir(scratch.c_str());
  return result;
}
