// Whether a transfer between two folders would delete what it is about to
// copy: its clearing steps remove files of the destination folder and of the
// destination's data subfolders, so a source that is one of those folders
// would lose its files before they are copied.
#pragma once

#include <string>

#include "files/file_ops.h"

namespace tolvashu {

enum class FolderOverlap {
  kNone,
  kSameFolder,             // source and destination are one folder
  kSourceInClearedFolder,  // the source's files lie in a folder the destination clears
};

// Both folders end with a separator. Spellings that name the same folder
// (case, separators, links, short names) count as the same folder.
FolderOverlap CheckFolderOverlap(FileOps& files, const std::string& source_folder,
                                 const std::string& destination_folder);

}  // namespace tolvashu
