// The disk on the Windows file system (disk/disk.h), with the waits for
// passing locks that it makes (passing_lock.h) given by its maker.
#pragma once

#include <memory>

#include "disk/disk.h"
#include "disk_win32/passing_lock.h"

namespace tolvashu {

// MakePlatformDisk gives the one with the usual waits.
std::unique_ptr<Disk> MakeWin32Disk(PassingLockWaits waits);

}  // namespace tolvashu
