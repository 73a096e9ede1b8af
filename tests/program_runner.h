// Runs the built qmxexport as a user would: in a chosen folder, with given
// arguments and standard input, capturing standard output, standard error
// and the exit status.
#ifndef QMX_TESTS_PROGRAM_RUNNER_H_
#define QMX_TESTS_PROGRAM_RUNNER_H_

#include <string>
#include <vector>

struct ProgramResult {
  int exitStatus = -1;  // -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Runs `program` with `arguments` in `workingFolder`. When the environment
// variable QMX_RUNNER is set (for example to "wine"), the program is started
// through it.
ProgramResult runProgramIn(const std::string& workingFolder, const std::string& program,
                           const std::vector<std::string>& arguments,
                           const std::string& standardInput = "");

// A fresh empty folder below the system's temporary folder.
std::string makeTempFolder();
std::string readFileBytes(const std::string& path);
bool fileExists(const std::string& path);

#endif  // QMX_TESTS_PROGRAM_RUNNER_H_
