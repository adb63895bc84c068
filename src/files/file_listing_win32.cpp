#include <windows.h>

#include "files/file_listing_win32.h"

#include "files/handle_win32.h"
#include "files/path_win32.h"
#include "files/pattern_parts.h"
#include "files/system_error_win32.h"
#include "files/temporary_name.h"
#include "files/wildcard.h"
#include "text/wide_text_win32.h"

namespace tolvashu {

namespace {

constexpr DWORD kNotOrdinary =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;

// Only a folder the system says is not there is missing: one it cannot
// look at (a parent that denies access, a network folder that dropped out)
// may hold files, and must not read as empty.
bool FolderIsMissing(const std::string& folder) {
  if (folder.empty()) return false;  // the current directory
  DWORD attributes = GetFileAttributesW(ToWin32Path(folder).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return IsNotFoundError(GetLastError());
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The system also matches patterns against 8.3 short names, so "*.txt" would
// find «notes.txtold» (short name NOTE~1.TXT); only the long name counts.
bool IsWanted(const WIN32_FIND_DATAW& entry, const std::u32string& folded_pattern) {
  if ((entry.dwFileAttributes & kNotOrdinary) != 0) return false;
  std::wstring_view name(entry.cFileName);
  if (IsOwnName(WideToUtf8(name))) return false;
  return MatchesWildcard(folded_pattern, FoldWideName(name));
}

// Whatever stopped the listing, the user is told the folder cannot be read.
FileFailure Unreadable(const std::string& folder, DWORD error) {
  FileFailure failure = SystemFailure(folder, error);
  failure.cause = FailureCause::kUnreadable;
  return failure;
}

}  // namespace

bool FoundNothing(const std::string& folder, unsigned long error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES || FolderIsMissing(folder);
}

Listing ListOrdinaryFiles(const std::string& pattern) {
  Listing listing;
  std::optional<PatternParts> parts = SplitPattern(pattern);
  if (!parts || NamesMissingDrive(pattern)) {
    listing.malformed = true;
    return listing;
  }
  listing.folder = parts->folder;
  std::wstring search = ToWin32Path(parts->folder + parts->name);
  std::u32string folded_pattern = FoldWideName(Utf8ToWide(parts->name));

  WIN32_FIND_DATAW entry;
  ScopedFind find(FindFirstFileExW(search.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH));
  if (!find.valid()) {
    DWORD error = GetLastError();
    if (!FoundNothing(parts->folder, error)) listing.unreadable = Unreadable(parts->folder, error);
    return listing;
  }
  do {
    if (IsWanted(entry, folded_pattern)) {
      listing.files.push_back({WideToUtf8(entry.cFileName), (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0});
    }
  } while (FindNextFileW(find.get(), &entry));
  if (DWORD error = GetLastError(); error != ERROR_NO_MORE_FILES) listing.unreadable = Unreadable(parts->folder, error);
  return listing;
}

}  // namespace tolvashu
