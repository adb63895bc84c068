#include "disk_posix/durability.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "disk_posix/unique_fd.h"

namespace tolvashu {

bool IsInUserSpace(int fd) {
  struct statfs file_system;
  return fstatfs(fd, &file_system) == 0 && file_system.f_type == FUSE_SUPER_MAGIC;
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
    } else if (IsInUserSpace(fd.get())) {
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
