// The questions of the locate step on a terminal (Linux, macOS).
#include <iostream>

#include "frontend/locate.h"

bool browseForBackupFolder(WindowHandle /*owner*/, std::string& /*databaseFolder*/) {
  std::cerr << kBackupFilesMissingCaption << ": " << kBackupFilesMissingText << "\n";
  return false;
}

std::string askCsvFileName(WindowHandle /*owner*/, const std::vector<FileFilter>& /*filters*/,
                           int /*filterIndex*/) {
  return std::string();
}
