// The terminal stand-in for the folder and save dialogs (Linux, macOS): the
// questions read their answers from a stream and ask on another, so that the
// program's standard output stays free for CSV lines and tests need no terminal.
#ifndef QMX_FRONTEND_DIALOGS_TERMINAL_H_
#define QMX_FRONTEND_DIALOGS_TERMINAL_H_

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "frontend/locate.h"

struct TerminalIo {
  std::istream& answers;  // standard input for the program
  std::ostream& prompts;  // standard error for the program
  bool interactive;       // false: no question is asked
};

// The path an answer names, as a full path: blanks at either end and one pair
// of quotes around it are dropped, a leading "~" stands for the home folder
// and a relative path is taken in the current folder. Empty for a blank answer.
std::string answeredPath(const std::string& answer);
// The same, completed with the separator as a database folder.
std::string answeredFolder(const std::string& answer);

// The folder question. Not interactive: the error line and false. An empty
// answer or the end of input cancels (false, nothing printed).
bool askBackupFolder(const TerminalIo& io, std::string& databaseFolder);

// The save question. Not interactive, cancelled or at the end of input: empty.
// Otherwise the full path of the answer; when the file the export would write
// exists, it is replaced only after a yes, and a no asks for a name again.
std::string askCsvFile(const TerminalIo& io, const std::vector<FileFilter>& filters,
                       int filterIndex);

#endif  // QMX_FRONTEND_DIALOGS_TERMINAL_H_
