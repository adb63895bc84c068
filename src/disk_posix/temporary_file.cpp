#include "disk_posix/temporary_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>

#include "disk_posix/rename.h"
#include "disk/temporary_name.h"

namespace tolvashu {

namespace {

constexpr mode_t kNewFileMode = 0666;  // the umask takes its share
constexpr int kNameAttempts = 16;
// Files from this size on are sent to the disk as soon as they are written.
constexpr off_t kWriteBackSize = off_t{1} << 20;

// Removes `name` from the open folder if no program has it open: a write
// lease is granted only then. The lease is taken on what was opened, and the
// name must still lead to that very file. A file whose state cannot be told
// (another owner's, or on a file system without leases) stays.
bool RemoveIfAbandoned(int folder, const char* name) {
  UniqueFd file(openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!file.valid() || fcntl(file.get(), F_SETLEASE, F_WRLCK) != 0) return false;
  struct stat opened, named;
  if (fstat(file.get(), &opened) != 0 || fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) != 0) return false;
  if (!S_ISREG(opened.st_mode) || opened.st_dev != named.st_dev || opened.st_ino != named.st_ino) return false;
  return unlinkat(folder, name, 0) == 0;  // the lease ends as the file is closed
}

// An unnamed file is given its name through its entry in /proc, which
// needs no privilege (linking by the handle itself does).
bool CanLinkOpenFiles() {
  static const bool can = access("/proc/self/fd", X_OK) == 0;
  return can;
}

std::string OpenFilePath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// What openat answers where the file system makes no unnamed files, or the
// kernel does not know O_TMPFILE and takes it for O_DIRECTORY.
bool MakesNoUnnamedFiles(int error) {
  return error == EOPNOTSUPP || error == ENOTSUP || error == EISDIR || error == EINVAL || error == ENOSYS;
}

}  // namespace

TemporaryFile::~TemporaryFile() {
  if (name_.empty()) return;  // an unnamed file goes as it is closed
  fd_.Reset();
  unlinkat(folder_, name_.c_str(), 0);
}

int TemporaryFile::Create(int folder, bool& unnamed) {
  folder_ = folder;
  if (unnamed) {
    int error = OpenUnnamed(folder, ".");
    if (error == 0 || !MakesNoUnnamedFiles(error)) return error;
  }
  unnamed = false;
  return TakeFreshName([this](const std::string& name) {
    fd_ = UniqueFd(openat(folder_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode));
    return fd_.valid();
  });
}

int TemporaryFile::CreateUnnamed(const std::string& folder) { return OpenUnnamed(AT_FDCWD, folder.c_str()); }

int TemporaryFile::OpenUnnamed(int at, const char* folder) {
  if (!CanLinkOpenFiles()) return EOPNOTSUPP;
  fd_ = UniqueFd(openat(at, folder, O_WRONLY | O_TMPFILE | O_CLOEXEC, kNewFileMode));
  if (!fd_.valid()) return errno;
  unnamed_ = true;
  return 0;
}

// Tries fresh temporary names until `make` makes a file under one (false,
// with errno set, when it cannot); returns 0 or the errno value of the failure.
int TemporaryFile::TakeFreshName(const std::function<bool(const std::string&)>& make) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string name = MakeTemporaryName();
    if (make(name)) {
      name_ = std::move(name);
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

UniqueFd TemporaryFile::TakeUnnamed() {
  unnamed_ = false;
  return std::move(fd_);
}

void TemporaryFile::AdoptUnnamed(int folder, UniqueFd file) {
  folder_ = folder;
  fd_ = std::move(file);
  unnamed_ = true;
}

void TemporaryFile::KeepModificationTime(const struct timespec& modified) {
  const struct timespec times[2] = {{0, UTIME_OMIT}, modified};
  futimens(fd_.get(), times);
}

void TemporaryFile::StartWritingBack(off_t size) {
  if (size >= kWriteBackSize) sync_file_range(fd_.get(), 0, 0, SYNC_FILE_RANGE_WRITE);
}

// Closed before the move, since some file systems report a lost write only
// when the file is closed. From then on the file counts as abandoned: a
// transfer that removed it just then would make this rename fail, which is
// reported, never a half-written destination.
int TemporaryFile::MoveTo(const std::string& destination, bool replace) {
  if (unnamed_ && !replace) return LinkTo(destination);
  // A link never replaces a file: one that is to be replaced gets a
  // temporary name first, and is renamed over it like a named one.
  if (unnamed_) {
    if (int error = LinkToTemporaryName()) return error;
  }
  if (!fd_.Close()) return errno;
  if (replace) {
    if (renameat(folder_, name_.c_str(), AT_FDCWD, destination.c_str()) != 0) return errno;
  } else if (int error = RenameWithoutReplacing(folder_, name_.c_str(), AT_FDCWD, destination.c_str())) {
    return error;
  }
  name_.clear();
  return 0;
}

// The file is linked while it is still open, since closing it would free
// it, and closed after; a close that fails takes the name away again.
int TemporaryFile::LinkTo(const std::string& destination) {
  if (linkat(AT_FDCWD, OpenFilePath(fd_.get()).c_str(), AT_FDCWD, destination.c_str(), AT_SYMLINK_FOLLOW) != 0) {
    return errno;
  }
  unnamed_ = false;
  if (fd_.Close()) return 0;
  int error = errno;
  unlink(destination.c_str());
  return error;
}

int TemporaryFile::LinkToTemporaryName() {
  int error = TakeFreshName([this](const std::string& name) {
    return linkat(AT_FDCWD, OpenFilePath(fd_.get()).c_str(), folder_, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
  });
  if (error == 0) unnamed_ = false;
  return error;
}

std::vector<std::string> RemoveLeftoverTemporaryFiles(const std::string& folder) {
  std::vector<std::string> removed;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return removed;
  while (const dirent* entry = readdir(dir)) {
    if (IsTemporaryName(entry->d_name) && RemoveIfAbandoned(dirfd(dir), entry->d_name)) {
      removed.emplace_back(entry->d_name);
    }
  }
  closedir(dir);
  return removed;
}

}  // namespace tolvashu
