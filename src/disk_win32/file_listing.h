// The entries of one folder, read in one pass with the system's search.
#pragma once

#include <string>
#include <vector>

#include "disk/disk.h"

namespace tolvashu {

// Whether a search in `folder` that FindFirstFileExW refused with `error`
// found nothing to list (no name matches, or there is no such folder) rather
// than a folder that cannot be read, which must never be taken for an empty one.
bool FoundNothing(const std::string& folder, unsigned long error);

// Disk::List on the Windows file system: the entries of `folder` ("" for
// the current directory) that `wanted` accepts, with their kinds and hidden
// or system attributes, by their long names.
Result<std::vector<Listed>> ListFolder(const std::string& folder, const ListingFilter& wanted);

}  // namespace tolvashu
