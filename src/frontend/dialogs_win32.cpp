// The questions of the locate step as the standard Windows dialogs: the
// folder dialog, the error message box after a wrong folder, and the save
// dialog for the CSV file.
// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>
// clang-format on

#include <array>
#include <string>
#include <vector>

#include "frontend/command_line.h"
#include "frontend/locate.h"

namespace {

// Every buffer handed to the dialogs holds a path of the system's limit,
// the terminating zero included.
constexpr DWORD kPathBufferSize = 260;
using PathBuffer = std::array<char, kPathBufferSize>;

// Only file-system folders can be confirmed; the tree lists files too.
constexpr UINT kBrowseFlags = BIF_RETURNONLYFSDIRS | BIF_BROWSEINCLUDEFILES;
static_assert(kBrowseFlags == 0x4001, "the folder dialog's flags");

// Shows the folder dialog. True with the chosen folder's path; false when it
// was cancelled or the chosen item is not in the file system.
bool chooseFolder(HWND owner, std::string& path) {
  // The folder dialog requires COM in a single-threaded apartment.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  PathBuffer displayName{};
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;
  info.pszDisplayName = displayName.data();
  info.lpszTitle = kBrowseFolderTitle;
  info.ulFlags = kBrowseFlags;
  PIDLIST_ABSOLUTE item = SHBrowseForFolderA(&info);
  bool chosen = false;
  if (item != nullptr) {
    PathBuffer folder{};
    chosen = SHGetPathFromIDListA(item, folder.data()) != FALSE;
    if (chosen)
      path = folder.data();
    CoTaskMemFree(item);
  }
  if (SUCCEEDED(com))
    CoUninitialize();
  return chosen;
}

// The filters as the save dialog reads them: each description and pattern
// ended by a zero byte, and one more zero byte after the last pattern.
std::string filterList(const std::vector<FileFilter>& filters) {
  std::string list;
  for (const FileFilter& filter : filters) {
    list += filter.description;
    list += '\0';
    list += filter.pattern;
    list += '\0';
  }
  list += '\0';
  return list;
}

// The current directory, empty when it cannot be had.
std::string currentDirectory() {
  const DWORD size = GetCurrentDirectoryA(0, nullptr);
  if (size == 0)
    return std::string();
  std::vector<char> buffer(size);
  const DWORD length = GetCurrentDirectoryA(size, buffer.data());
  if (length == 0 || length >= size)
    return std::string();
  return std::string(buffer.data(), length);
}

}  // namespace

bool browseForBackupFolder(WindowHandle owner, std::string& databaseFolder) {
  HWND window = static_cast<HWND>(owner);
  std::string path;
  if (!chooseFolder(window, path))
    return false;
  const std::string previous = databaseFolder;
  databaseFolder = path;
  ensureTrailingSeparator(databaseFolder);
  if (backupFilesPresent(databaseFolder))
    return true;
  MessageBoxA(window, kBackupFilesMissingText, kBackupFilesMissingCaption, MB_OK | MB_ICONERROR);
  databaseFolder = previous;
  return false;
}

std::string askCsvFileName(WindowHandle owner, const std::vector<FileFilter>& filters,
                           int filterIndex) {
  // The dialog opens in the current directory when its path fits the buffer.
  const std::string startFolder = currentDirectory();
  const bool startFolderFits = !startFolder.empty() && startFolder.size() < kPathBufferSize;
  const std::string filterText = filterList(filters);
  PathBuffer file{};
  PathBuffer fileTitle{};

  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(OPENFILENAMEA);
  dialog.hwndOwner = static_cast<HWND>(owner);
  dialog.lpstrFilter = filters.empty() ? nullptr : filterText.c_str();
  dialog.nFilterIndex = filterIndex > 0 ? static_cast<DWORD>(filterIndex) : 0;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = kPathBufferSize;
  dialog.lpstrFileTitle = fileTitle.data();
  dialog.nMaxFileTitle = kPathBufferSize;
  dialog.lpstrInitialDir = startFolderFits ? startFolder.c_str() : nullptr;
  dialog.Flags = OFN_OVERWRITEPROMPT;
  const bool chosen = GetSaveFileNameA(&dialog) != 0;
  // Browsing in the dialog moves the current directory; relative names from
  // the command line (the QIF file) must still mean the folder they were
  // given in.
  if (!startFolder.empty())
    SetCurrentDirectoryA(startFolder.c_str());
  return chosen ? std::string(file.data()) : std::string();
}
