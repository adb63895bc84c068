// The lock of ours on a folder on POSIX: `flock` on a file of our own in it.
// The file is removed while the lock is still held, just before it is
// released, so that no lock file outlives an operation; a process that had
// opened the file before it went, and then got the lock on it, finds that
// the name no longer leads to its file and tries again with a new one.
#pragma once

#include <memory>
#include <string>

#include "disk/disk.h"

namespace tolvashu {

// Locks the on-disk folder `folder`.
Result<std::unique_ptr<FolderLock>> LockFolderOnDisk(const std::string& folder);

}  // namespace tolvashu
