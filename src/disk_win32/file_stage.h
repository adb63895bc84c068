// Disk::StageCopy on the Windows file system: the content goes to a hidden
// temporary file beside the destination, complete and flushed to the disk,
// and takes the destination's name only when it is kept.
#pragma once

#include <memory>
#include <string>

#include "disk/disk.h"
#include "disk_win32/passing_lock.h"

namespace tolvashu {

// The staged file's content is an ordinary file's (not hidden, not
// read-only) with the source's content and, where its volume can hold it,
// last-write time, on the disk and not only in the system's cache. On
// failure no temporary file remains. The opening of the source, the keep and
// the discard of the temporary file wait out a passing lock with `locks`,
// which the staged file uses until it is destroyed.
Result<std::unique_ptr<StagedFile>, StageError> StageFileCopy(const std::string& source, const std::string& destination,
                                                              const ChunkHook& between_chunks,
                                                              const PassingLocks& locks);

}  // namespace tolvashu
