#include <windows.h>

#include "files/undoable_changes_win32.h"

#include "files/handle_win32.h"
#include "files/path_win32.h"
#include "files/pattern_parts.h"
#include "files/system_error_win32.h"
#include "text/wide_text_win32.h"

namespace tolvashu {

namespace {

// The entry the path names, with its name as the folder holds it.
std::optional<WIN32_FIND_DATAW> FindEntry(const std::string& path, DWORD& error) {
  WIN32_FIND_DATAW entry;
  ScopedFind find(
      FindFirstFileExW(ToWin32Path(path).c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
  if (find.valid()) return entry;
  error = GetLastError();
  return std::nullopt;
}

bool IsFolderEntry(const WIN32_FIND_DATAW& entry) { return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

std::string WithSeparator(const std::string& folder) {
  return folder.empty() || IsPathSeparator(folder.back()) ? folder : folder + "\\";
}

}  // namespace

// Checked here, since Wine running as root would move a read-only file:
// one that could not be deleted is not moved aside either.
MoveResult MoveFileIntoFolder(const std::string& path, const std::string& folder) {
  MoveResult result;
  if (NamesDevice(path)) return result;
  DWORD error = 0;
  std::optional<WIN32_FIND_DATAW> entry = FindEntry(path, error);
  if (!entry) {
    if (!IsNotFoundError(error)) result.failure = SystemFailure(path, error);
    return result;
  }
  if (IsFolderEntry(*entry)) return result;
  if (entry->dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
    result.failure = FileFailure{path, FailureCause::kDenied, kReadOnlyReason};
    return result;
  }
  const std::string name = WideToUtf8(entry->cFileName);
  const std::string from = path.substr(0, NameStart(path)) + name;
  if (!MoveFileExW(ToWin32Path(from).c_str(), ToWin32Path(WithSeparator(folder) + name).c_str(), 0)) {
    result.failure = SystemFailure(path, GetLastError());
    return result;
  }
  result.moved = true;
  result.name = name;
  return result;
}

std::optional<FileFailure> RemoveOneFile(const std::string& path) {
  DWORD error = 0;
  std::optional<WIN32_FIND_DATAW> entry = FindEntry(path, error);
  if (!entry) return IsNotFoundError(error) ? std::nullopt : std::optional<FileFailure>(SystemFailure(path, error));
  if (IsFolderEntry(*entry)) return FileFailure{path, FailureCause::kOther, "a folder has this name"};
  if (entry->dwFileAttributes & FILE_ATTRIBUTE_READONLY) return FileFailure{path, FailureCause::kDenied, kReadOnlyReason};
  if (DeleteFileW(ToWin32Path(path).c_str())) return std::nullopt;
  error = GetLastError();
  return IsNotFoundError(error) ? std::nullopt : std::optional<FileFailure>(SystemFailure(path, error));
}

std::optional<FileFailure> RemoveEmptyFolder(const std::string& path) {
  if (RemoveDirectoryW(ToWin32Path(path).c_str())) return std::nullopt;
  DWORD error = GetLastError();
  return IsNotFoundError(error) ? std::nullopt : std::optional<FileFailure>(SystemFailure(path, error));
}

// The files' read-only flag is taken off first: Windows refuses to delete a
// read-only file, and everything in a folder of our own is ours to remove.
std::optional<FileFailure> RemoveFolderWithFiles(const std::string& path) {
  std::optional<std::vector<FolderEntry>> entries = ListFolderEntries(path);
  if (!entries) return FileFailure{path, FailureCause::kUnreadable, "cannot be listed"};
  for (const FolderEntry& entry : *entries) {
    std::wstring file = ToWin32Path(WithSeparator(path) + entry.name);
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(file.c_str()) && !IsNotFoundError(GetLastError())) {
      return SystemFailure(WithSeparator(path) + entry.name, GetLastError());
    }
  }
  return RemoveEmptyFolder(path);
}

std::optional<std::vector<FolderEntry>> ListFolderEntries(const std::string& folder) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAW entry;
  ScopedFind find(FindFirstFileExW(ToWin32Path(WithSeparator(folder) + "*").c_str(), FindExInfoBasic, &entry,
                                   FindExSearchNameMatch, nullptr, 0));
  if (!find.valid()) {
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return entries;
    return std::nullopt;
  }
  do {
    std::wstring_view name(entry.cFileName);
    if (name != L"." && name != L"..") entries.push_back({WideToUtf8(name), IsFolderEntry(entry)});
  } while (FindNextFileW(find.get(), &entry));
  if (GetLastError() != ERROR_NO_MORE_FILES) return std::nullopt;
  return entries;
}

std::optional<FileFailure> MakeHiddenFolderAt(const std::string& path) {
  std::wstring wide = ToWin32Path(path);
  if (!CreateDirectoryW(wide.c_str(), nullptr)) return SystemFailure(path, GetLastError());
  SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN);  // a folder that shows is still a working one
  return std::nullopt;
}

bool FlushFolder(const std::string& folder) {
  ScopedHandle handle(CreateFileW(ToWin32Path(folder).c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.valid()) return GetLastError() == ERROR_ACCESS_DENIED;
  if (FlushFileBuffers(handle.get())) return true;
  DWORD error = GetLastError();
  return error == ERROR_ACCESS_DENIED || error == ERROR_INVALID_FUNCTION || error == ERROR_INVALID_PARAMETER;
}

}  // namespace tolvashu
