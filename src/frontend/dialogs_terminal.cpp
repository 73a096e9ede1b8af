// The questions of the locate step on a terminal (Linux, macOS). Every prompt
// goes to standard error: standard output may carry the CSV lines.
#include "frontend/dialogs_terminal.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "export/export_driver.h"
#include "frontend/command_line.h"

namespace {

// One answer line; false at the end of input, which also ends the prompt's
// line on the terminal.
bool readLine(const TerminalIo& io, std::string& line) {
  if (std::getline(io.answers, line))
    return true;
  io.prompts << "\n";
  return false;
}

std::string currentFolder() {
  std::vector<char> buffer(4096);
  if (getcwd(buffer.data(), buffer.size()) == nullptr)
    return std::string();
  return std::string(buffer.data());
}

// `rest` below `folder`, with exactly one '/' between them.
std::string joinPath(const std::string& folder, const std::string& rest) {
  if (folder.empty() || rest.empty())
    return folder + rest;
  std::string path = folder;
  if (path.back() != '/')
    path += '/';
  return path + (!rest.empty() && rest.front() == '/' ? rest.substr(1) : rest);
}

// A typed path as a full path: a leading "~" stands for the home folder and a
// relative path is taken in the current folder.
std::string fullPath(const std::string& typed) {
  std::string path = typed;
  const char* home = std::getenv("HOME");
  if (home && *home && path[0] == '~' && (path.size() == 1 || path[1] == '/')) {
    path = joinPath(home, path.substr(1));
  }
  if (path[0] != '/')
    path = joinPath(currentFolder(), path);
  return path;
}

// The text without blanks at either end.
std::string trimmed(const std::string& text) {
  const char* const kBlanks = " \t\r\n";
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos)
    return std::string();
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool isYes(const std::string& reply) {
  std::string lower;
  for (char c : trimmed(reply))
    lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower == "y" || lower == "yes";
}

// The description of the chosen filter (counted from 1), or of the first one
// when the index is out of range.
std::string filterDescription(const std::vector<FileFilter>& filters, int filterIndex) {
  if (filters.empty())
    return std::string();
  const bool inRange = filterIndex >= 1 && static_cast<size_t>(filterIndex) <= filters.size();
  return filters[inRange ? filterIndex - 1 : 0].description;
}

}  // namespace

std::string answeredPath(const std::string& answer) {
  std::string typed = trimmed(answer);
  // A path dropped on a terminal window arrives quoted.
  if (typed.size() >= 2 && typed.front() == typed.back() &&
      (typed.front() == '\'' || typed.front() == '"')) {
    typed = typed.substr(1, typed.size() - 2);
  }
  return typed.empty() ? typed : fullPath(typed);
}

std::string answeredFolder(const std::string& answer) {
  std::string folder = answeredPath(answer);
  ensureTrailingSeparator(folder);
  return folder;
}

bool askBackupFolder(const TerminalIo& io, std::string& databaseFolder) {
  if (io.interactive) {
    io.prompts << kBrowseFolderTitle << "\nFolder (empty to cancel): " << std::flush;
    std::string answer;
    if (!readLine(io, answer))
      return false;
    const std::string folder = answeredFolder(answer);
    if (folder.empty())
      return false;
    if (backupFilesPresent(folder)) {
      databaseFolder = folder;
      return true;
    }
  }
  io.prompts << kBackupFilesMissingCaption << ": " << kBackupFilesMissingText << std::endl;
  return false;
}

std::string askCsvFile(const TerminalIo& io, const std::vector<FileFilter>& filters,
                       int filterIndex) {
  if (!io.interactive)
    return std::string();
  const std::string kind = filterDescription(filters, filterIndex);
  for (;;) {
    io.prompts << "Save as" << (kind.empty() ? "" : " " + kind)
               << " (empty for no file): " << std::flush;
    std::string answer;
    if (!readLine(io, answer))
      return std::string();
    const std::string path = answeredPath(answer);
    if (path.empty())
      return path;
    // The export completes the name; the file at risk is the completed one.
    std::string written = path;
    completeOutputName(written, ".csv");
    struct stat status;
    if (stat(written.c_str(), &status) != 0)
      return path;
    if (S_ISDIR(status.st_mode)) {
      io.prompts << written << " is a folder.\n";
      continue;
    }
    io.prompts << written << " already exists.\nDo you want to replace it? [y/N] " << std::flush;
    std::string reply;
    if (!readLine(io, reply))
      return std::string();
    if (isYes(reply))
      return path;
  }
}

bool browseForBackupFolder(WindowHandle /*owner*/, std::string& databaseFolder) {
  const TerminalIo io{std::cin, std::cerr, isatty(STDIN_FILENO) == 1};
  return askBackupFolder(io, databaseFolder);
}

std::string askCsvFileName(WindowHandle /*owner*/, const std::vector<FileFilter>& filters,
                           int filterIndex) {
  const TerminalIo io{std::cin, std::cerr, isatty(STDIN_FILENO) == 1};
  return askCsvFile(io, filters, filterIndex);
}
