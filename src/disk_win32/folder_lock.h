// The lock of ours on a folder on Windows: a hidden file of our own in it,
// opened without any sharing, so that the system refuses it to everybody
// else, and deleted by the system when its handle closes, also when the
// program is killed.
#pragma once

#include <memory>
#include <string>

#include "disk/disk.h"

namespace tolvashu {

Result<std::unique_ptr<FolderLock>> LockFolderOnWindows(const std::string& folder);

}  // namespace tolvashu
