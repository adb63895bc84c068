// Reading a folder's entries for Disk::List, and the listings kept for the
// folders whose changes the kernel's notifications follow (folder_names.h):
// such a listing is given again, without reading the folder, for as long as
// no entry has been added to or removed from it since. So the five sweeps of
// a package folder and the look at it before an Install read it once.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "disk/disk.h"
#include "disk_posix/folder_names.h"

namespace tolvashu {

// Reads the entries of the on-disk `folder` that `wanted` accepts (all of
// them when it is empty), "." and ".." and the temporary files of copies
// left out; `wanted` sees each name before anything more is asked of its
// entry. kAbsent when the folder is gone, kFailed (kUnreadable) when it
// cannot be read to its end.
Result<std::vector<Listed>> ReadFolder(const std::string& folder, const ListingFilter& wanted);

class ListingCache {
 public:
  // The entries of the on-disk `folder` as they were when `stamp` was
  // taken, if a listing was kept then; nullptr otherwise.
  const std::vector<Listed>* Find(const std::string& folder, const FolderNames::Stamp& stamp) const;

  // Keeps the whole listing of `folder`, read after `stamp` was taken: a
  // change during the reading shows as a new stamp at the next look.
  void Keep(const std::string& folder, const FolderNames::Stamp& stamp, std::vector<Listed> entries);

 private:
  struct Kept {
    std::string folder;
    FolderNames::Stamp stamp;
    std::vector<Listed> entries;
  };
  std::vector<Kept> kept_;  // the most recent last; never more than a few
};

}  // namespace tolvashu
