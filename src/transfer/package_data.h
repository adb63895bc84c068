// Whether a package folder holds anything that an Install would copy from
// it. An Install from a folder that holds nothing (the program started from
// inside a ZIP viewer, or from an empty folder) would only clear the game's
// data families and empty its status files.
#pragma once

#include <optional>
#include <string>

#include "files/file_ops.h"

namespace tolvashu {

struct PackageData {
  bool found = false;
  // A folder that could not be listed, when nothing was found elsewhere: what
  // it holds is not known.
  std::optional<FileFailure> unreadable;
};

// `folder` ends with a separator. Found: a file of its nationDATA or pastDATA
// subfolder, a file that a sweep of the folder would take (music included),
// a scenario or chronology file, a file the catalogue names, or the world
// file.
PackageData FindPackageData(FileOps& files, const std::string& folder);

}  // namespace tolvashu
