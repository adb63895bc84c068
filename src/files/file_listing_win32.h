// The ordinary files that match a pattern, read in one pass of the folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "files/file_ops.h"

namespace tolvashu {

struct ListedFile {
  std::string name;  // as the folder holds it
  bool read_only = false;
};

struct Listing {
  std::string folder;  // the pattern's folder part as the caller wrote it
  std::vector<ListedFile> files;
  bool malformed = false;                 // see SplitPattern, or a drive that does not exist
  std::optional<FileFailure> unreadable;  // the folder exists but could not be read to its end
};

// Whether a search in `folder` that FindFirstFileExW refused with `error`
// found nothing to list (no name matches, or there is no such folder) rather
// than a folder that cannot be read, which must never be taken for an empty one.
bool FoundNothing(const std::string& folder, unsigned long error);

// Files that are not folders, not hidden or system files and not of our own
// making (temporary_name.h), whose long names match the pattern
// case-insensitively.
// A missing folder gives an empty listing.
Listing ListOrdinaryFiles(const std::string& pattern);

}  // namespace tolvashu
