#include <windows.h>

#include "disk_win32/file_listing.h"

#include "disk/path_parts.h"
#include "disk/temporary_name.h"
#include "disk_win32/handle.h"
#include "disk_win32/system_error.h"
#include "disk_win32/win32_path.h"
#include "text/wide_text_win32.h"

namespace tolvashu {

namespace {

// Only a folder the system says is not there is missing: one it cannot
// look at (a parent that denies access, a network folder that dropped out)
// may hold files, and must not read as empty.
bool FolderIsMissing(const std::string& folder) {
  if (folder.empty()) return false;  // the current directory
  DWORD attributes = GetFileAttributesW(ToWin32Path(folder).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return IsNotFoundError(GetLastError());
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

EntryKind KindOf(DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_DEVICE) return EntryKind::kOther;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::kFolder : EntryKind::kFile;
}

// Whatever stopped the listing, the user is told the folder cannot be read.
DiskError Unreadable(DWORD error) {
  DiskError failure = SystemError(error);
  failure.cause = FailureCause::kUnreadable;
  return failure;
}

}  // namespace

bool FoundNothing(const std::string& folder, unsigned long error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES || FolderIsMissing(folder);
}

// The search asks for every name ("*"): the system also matches patterns
// against 8.3 short names, and what a pattern matches is decided above.
Result<std::vector<Listed>> ListFolder(const std::string& folder, const ListingFilter& wanted) {
  const std::string at = WithSeparator(folder);
  WIN32_FIND_DATAW entry;
  ScopedFind find(FindFirstFileExW(ToWin32Path(at + "*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH));
  std::vector<Listed> entries;
  if (!find.valid()) {
    DWORD error = GetLastError();
    // Asked only now: under Wine the question goes to the mount manager.
    if (NamesMissingDrive(folder)) return DiskError{DiskError::kMalformed, FailureCause::kOther, "no such drive"};
    if (!FoundNothing(at, error)) return Unreadable(error);
    if (FolderIsMissing(at)) return DiskError::Absent("no such folder");
    return entries;
  }
  do {
    std::wstring_view wide(entry.cFileName);
    if (wide == L"." || wide == L"..") continue;
    std::string name = WideToUtf8(wide);
    const bool hidden = (entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    if (IsTemporaryName(name) || (wanted && !wanted(name, hidden))) continue;
    entries.push_back({std::move(name), KindOf(entry.dwFileAttributes), hidden});
  } while (FindNextFileW(find.get(), &entry));
  if (DWORD error = GetLastError(); error != ERROR_NO_MORE_FILES) return Unreadable(error);
  return entries;
}

}  // namespace tolvashu
