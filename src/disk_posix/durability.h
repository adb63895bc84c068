// Making what a transfer wrote survive a power cut, in as few calls as the
// file system allows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "disk_posix/write_back.h"

namespace tolvashu {

// Makes what was written below the on-disk `folders` durable: one syncfs
// per file system does it all where the kernel's own cache stands between
// us and the storage (OneSyncReachesStorage). Elsewhere (FUSE, how Linux
// players often reach a game on an NTFS partition; network file systems;
// any kernel before 5.8) each folder gets its fsync, and `file_by_file` is
// set to say that each written file needs SyncFileOnDisk too. A file
// system with a handle in `early` is synced through it, so that write-back
// failures since that handle was opened are heard of. False when any of it
// failed.
bool SyncFolders(const std::vector<std::string>& folders, const std::vector<FileSystemHandle>& early,
                 bool& file_by_file);

// Whether one syncfs of the file system that holds the open `fd` is known
// to bring everything written there to its storage and to tell when that
// failed (SyncfsIsEnough for it and the running kernel).
bool OneSyncReachesStorage(int fd);

// The rule behind it: only the kernel's own local file systems (by their
// statfs type) are reached by syncfs, and only a kernel from 5.8 on (its
// `release`, as uname tells it) reports their write-back failures through
// it; before, syncfs said nothing of a failed write.
bool SyncfsIsEnough(std::uint32_t file_system_type, const char* release);

// fdatasync of one on-disk file.
bool SyncFileOnDisk(const std::string& path);

// fsync of one on-disk folder, so that the entries added to it, renamed in
// it or removed from it are durable.
bool SyncFolderOnDisk(const std::string& folder);

}  // namespace tolvashu
