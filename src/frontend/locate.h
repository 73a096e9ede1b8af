// Finding the two backup databases: the test whether both open in a folder,
// and the questions asked when they do not (the folder, then the CSV file).
// The questions are the platform's: dialogs on Windows, a terminal elsewhere.
#ifndef QMX_FRONTEND_LOCATE_H_
#define QMX_FRONTEND_LOCATE_H_

#include <string>
#include <vector>

extern const char kListDatabaseFileName[];         // "QMXListDB.pdb"
extern const char kTransactionDatabaseFileName[];  // "QMXTransDB.pdb"

// The texts of the questions and of the error after a wrong folder.
extern const char kBrowseFolderTitle[];
extern const char kBackupFilesMissingText[];     // "Unable to locate QMX's backup files"
extern const char kBackupFilesMissingCaption[];  // "Error"

// The owner window of a dialog; the run passes none.
using WindowHandle = void*;

struct FileFilter {
  std::string description;  // "Excel CSV File (*.csv)"
  std::string pattern;      // "*.csv"
};

// True when both database files can be opened for reading in the folder
// (empty, or ending in the path separator). Nothing is read.
bool backupFilesPresent(const std::string& databaseFolder);

// Asks for the folder. True when a folder holding both files was chosen:
// databaseFolder then holds it, completed with the separator. Otherwise
// false with databaseFolder unchanged; a chosen folder without both files
// gets the error message first.
bool browseForBackupFolder(WindowHandle owner, std::string& databaseFolder);

// Asks for the CSV file. The full path of the chosen file, or empty when the
// question was cancelled.
std::string askCsvFileName(WindowHandle owner, const std::vector<FileFilter>& filters,
                           int filterIndex);

#endif  // QMX_FRONTEND_LOCATE_H_
