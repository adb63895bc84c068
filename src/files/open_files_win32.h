// The Win32 files behind the current file (file number 1) and the journal.
#pragma once

#include <memory>
#include <string>

#include "files/file_ops.h"

namespace tolvashu {

// An existing file on a disk (not a folder, not a device such as NUL or
// CON), opened for reading with kReadSharing.
Opened<InputFile> OpenInputFile(const std::string& path);

// The file at `path` opened for writing and emptied. An existing file keeps
// its name and attributes; a read-only file, a folder or a missing folder
// fails.
Opened<OutputFile> OpenOutputFile(const std::string& path);

// A new hidden file for writing; fails when anything is at `path`. Others
// may read it while it is open, but not write it.
Opened<OutputFile> CreateHiddenOutputFile(const std::string& path);

// An existing file on a disk opened for reading, unless a program has it
// open for writing: then the system's sharing violation (kInUse).
Opened<InputFile> OpenInputFileUnlessWritten(const std::string& path);

}  // namespace tolvashu
