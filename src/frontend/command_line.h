// The command line: the usage text, the help request, and the parse of the
// switches into the run options, the date texts, the database folder and
// the output choices.
#ifndef QMX_FRONTEND_COMMAND_LINE_H_
#define QMX_FRONTEND_COMMAND_LINE_H_

#include <string>
#include <vector>

#include "frontend/run_options.h"

struct CommandLine {
  RunOptions options;
  std::string fromText;
  std::string toText;
  std::string databaseFolder;
  std::string csvFileName;
  bool writeCsvFile = false;
  std::string qifFileName;
  bool writeQifFile = false;
};

// The separator that folder completion appends: '\' on Windows, '/' elsewhere.
extern const char kPathSeparator;

// The usage text: the syntax, the help lines and the example, then the
// line for -u.
std::string buildUsageText(const std::string& programName);

// True for exactly one argument (after the program name) whose first
// character is '?' or whose second character is '?': ?, /? and -?; and for
// --help alone.
bool isHelpRequest(const std::vector<std::string>& arguments);

// True for --version alone.
bool isVersionRequest(const std::vector<std::string>& arguments);

// Walks the arguments after the program name; unknown ones are skipped.
void parseSwitches(const std::vector<std::string>& arguments, CommandLine& commandLine);

// Appends kPathSeparator to a non-empty folder that does not end in one.
void ensureTrailingSeparator(std::string& folder);

#endif  // QMX_FRONTEND_COMMAND_LINE_H_
