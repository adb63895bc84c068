#include "disk_posix/durability.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iterator>
#include <string>

#include "disk_posix/unique_fd.h"

namespace tolvashu {

namespace {

// Local file systems whose syncfs writes everything out through the
// kernel's own cache. Any other (FUSE, NFS, SMB, 9p, ...) is synced file by
// file: slower, never wrong.
constexpr std::uint32_t kSyncedWhole[] = {
    EXT4_SUPER_MAGIC,  // ext2, ext3 and ext4 share it
    XFS_SUPER_MAGIC,  BTRFS_SUPER_MAGIC,    F2FS_SUPER_MAGIC, TMPFS_MAGIC,         RAMFS_MAGIC,
    OVERLAYFS_SUPER_MAGIC,  // syncs its upper file system
    0x3153464a,             // jfs
    0x7366746e,             // ntfs3, the kernel's own NTFS
    0x2011bab0,             // exfat
    MSDOS_SUPER_MAGIC,      // vfat
};

// Whether `release` ("5.10.0-23-amd64") is of version 5.8 or later.
bool ReportsSyncfsFailures(const char* release) {
  unsigned major = 0, minor = 0;
  if (std::sscanf(release, "%u.%u", &major, &minor) != 2) return false;
  return major > 5 || (major == 5 && minor >= 8);
}

}  // namespace

bool SyncfsIsEnough(std::uint32_t file_system_type, const char* release) {
  return ReportsSyncfsFailures(release) &&
         std::find(std::begin(kSyncedWhole), std::end(kSyncedWhole), file_system_type) != std::end(kSyncedWhole);
}

bool OneSyncReachesStorage(int fd) {
  static const std::string release = [] {
    struct utsname system;
    return uname(&system) == 0 ? std::string(system.release) : std::string();
  }();
  struct statfs file_system;
  return fstatfs(fd, &file_system) == 0 &&
         SyncfsIsEnough(static_cast<std::uint32_t>(file_system.f_type), release.c_str());
}

bool SyncFileOnDisk(const std::string& path) {
  UniqueFd file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  return file.valid() && fdatasync(file.get()) == 0;
}

// A file system that has nothing to sync for a folder says so with EINVAL.
bool SyncFolderOnDisk(const std::string& folder) {
  UniqueFd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return fd.valid() && (fsync(fd.get()) == 0 || errno == EINVAL);
}

bool SyncFolders(const std::vector<std::string>& folders, const std::vector<FileSystemHandle>& early,
                 bool& file_by_file) {
  bool ok = true;
  std::vector<dev_t> synced;  // file systems already synced whole
  for (const std::string& folder : folders) {
    UniqueFd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat status;
    if (!fd.valid() || fstat(fd.get(), &status) != 0) {
      ok = false;
    } else if (!OneSyncReachesStorage(fd.get())) {
      file_by_file = true;
      ok = fsync(fd.get()) == 0 && ok;
    } else if (std::find(synced.begin(), synced.end(), status.st_dev) == synced.end()) {
      synced.push_back(status.st_dev);
      auto opened_early = std::find_if(early.begin(), early.end(),
                                       [&](const FileSystemHandle& handle) { return handle.device == status.st_dev; });
      ok = syncfs(opened_early != early.end() ? opened_early->fd.get() : fd.get()) == 0 && ok;
    }
  }
  return ok;
}

}  // namespace tolvashu
