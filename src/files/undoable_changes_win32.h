// The Win32 side of the changes a transfer can undo, and of the files of its
// own that record them (see FileOps): moving a file into a holding folder
// and back, removing one file or an empty folder, listing a folder whole,
// hidden folders, and flushing folders to the disk.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "files/file_ops.h"

namespace tolvashu {

MoveResult MoveFileIntoFolder(const std::string& path, const std::string& folder);
std::optional<FileFailure> RemoveOneFile(const std::string& path);
std::optional<FileFailure> RemoveEmptyFolder(const std::string& path);
std::optional<FileFailure> RemoveFolderWithFiles(const std::string& path);
std::optional<std::vector<FolderEntry>> ListFolderEntries(const std::string& folder);
std::optional<FileFailure> MakeHiddenFolderAt(const std::string& path);
// Best effort where the volume cannot flush a folder by itself: NTFS keeps
// its folders in its own journal.
bool FlushFolder(const std::string& folder);

}  // namespace tolvashu
