// Making what a transfer wrote survive a power cut, in as few calls as the
// file system allows.
#pragma once

#include <string>
#include <vector>

#include "disk_posix/write_back.h"

namespace tolvashu {

// Makes what was written below the on-disk `folders` durable: one syncfs
// per file system does it all where the kernel's own cache stands between
// us and the storage. A file system in user space (FUSE, how Linux players
// often reach a game on an NTFS partition) is not reached by syncfs: there
// each folder gets its fsync, and `file_by_file` is set to say that each
// written file needs SyncFileOnDisk too. A file system with a handle in
// `early` is synced through it, so that write-back failures since that
// handle was opened are heard of. False when any of it failed.
bool SyncFolders(const std::vector<std::string>& folders, const std::vector<FileSystemHandle>& early,
                 bool& file_by_file);

// Whether the open `fd` is on a file system in user space (FUSE).
bool IsInUserSpace(int fd);

// fdatasync of one on-disk file.
bool SyncFileOnDisk(const std::string& path);

// fsync of one on-disk folder, so that the entries added to it, renamed in
// it or removed from it are durable.
bool SyncFolderOnDisk(const std::string& folder);

}  // namespace tolvashu
