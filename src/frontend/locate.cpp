#include "frontend/locate.h"

#include <fstream>

const char kListDatabaseFileName[] = "QMXListDB.pdb";
const char kTransactionDatabaseFileName[] = "QMXTransDB.pdb";
const char kBrowseFolderTitle[] =
    "Select the folder where you QMX backup files (QMXListDB.pdb and QMXTransDB.pdb) are "
    "located.";
const char kBackupFilesMissingText[] = "Unable to locate QMX's backup files";
const char kBackupFilesMissingCaption[] = "Error";

bool backupFilesPresent(const std::string& databaseFolder) {
  if (!std::ifstream(databaseFolder + kListDatabaseFileName, std::ios::binary).is_open()) {
    return false;
  }
  return std::ifstream(databaseFolder + kTransactionDatabaseFileName, std::ios::binary).is_open();
}
