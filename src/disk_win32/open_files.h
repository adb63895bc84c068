// The Win32 files behind the file layer's current file and a transfer's
// journal (Disk::OpenRead, Disk::OpenWrite).
#pragma once

#include <memory>
#include <string>

#include "disk/disk.h"
#include "disk_win32/passing_lock.h"

namespace tolvashu {

// An existing file on a disk (not a folder, not a device such as NUL or
// CON), opened for reading with the sharing asked for; a passing lock on it
// is waited out.
Result<std::unique_ptr<InputFile>> OpenInputFile(const std::string& path, ReadSharing sharing,
                                                 const PassingLocks& locks);

// The file at `path` opened for writing as WriteMode says, a passing lock
// on it waited out. A file emptied keeps its name and attributes, hidden
// included.
Result<std::unique_ptr<OutputFile>> OpenOutputFile(const std::string& path, WriteMode mode, const PassingLocks& locks);

}  // namespace tolvashu
