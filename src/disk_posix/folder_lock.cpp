#include "disk_posix/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "disk/temporary_name.h"
#include "disk_posix/path_resolver.h"
#include "disk_posix/system_error.h"
#include "disk_posix/unique_fd.h"

namespace tolvashu {

namespace {

// A holder that keeps releasing and taking the lock at once could make a
// newcomer retry for ever; after this many tries it reports a failure.
constexpr int kTries = 64;

class PosixFolderLock : public FolderLock {
 public:
  PosixFolderLock(std::string path, UniqueFd fd) : path_(std::move(path)), fd_(std::move(fd)) {}
  ~PosixFolderLock() override { unlink(path_.c_str()); }  // the handle, and the lock with it, go after

 private:
  std::string path_;
  UniqueFd fd_;
};

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

Result<std::unique_ptr<FolderLock>> LockFolderOnDisk(const std::string& folder) {
  const std::string path = ChildPath(folder, kLockName);
  for (int attempt = 0; attempt < kTries; ++attempt) {
    UniqueFd fd(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.valid()) return FailedWith(errno);
    if (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
      if (errno == EWOULDBLOCK) return DiskError{DiskError::kTaken, FailureCause::kInUse, "locked by another operation"};
      return FailedWith(errno);
    }
    struct stat held {}, named {};
    if (fstat(fd.get(), &held) != 0) return FailedWith(errno);
    if (lstat(path.c_str(), &named) == 0 && SameFile(held, named)) {
      return std::unique_ptr<FolderLock>(std::make_unique<PosixFolderLock>(path, std::move(fd)));
    }
    // Its holder removed the file and released it meanwhile: take a new one.
  }
  return Failed(FailureCause::kOther, "the lock cannot be taken");
}

}  // namespace tolvashu
