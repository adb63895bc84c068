#include "disk_posix/held_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "disk_posix/unique_fd.h"

namespace tolvashu {

namespace {

bool IsProcessNumber(const char* name) {
  if (*name == '\0') return false;
  for (const char* c = name; *c; ++c) {
    if (!std::isdigit(static_cast<unsigned char>(*c))) return false;
  }
  return true;
}

class ScopedFolder {
 public:
  explicit ScopedFolder(DIR* folder) : folder_(folder) {}
  ~ScopedFolder() {
    if (folder_) closedir(folder_);
  }
  ScopedFolder(const ScopedFolder&) = delete;
  ScopedFolder& operator=(const ScopedFolder&) = delete;
  DIR* get() const { return folder_; }

 private:
  DIR* folder_;
};

// Adds the regular files inside `root` that the process whose fd folder is
// `fds` has open. The links are read first: only a file the link names
// inside `root` is looked at, so that files on other (perhaps slow or
// unreachable) file systems are never touched.
template <typename Files>
void AddOpenFiles(int fds, const std::string& root, Files& files) {
  ScopedFolder folder(fdopendir(fds));
  if (!folder.get()) {
    close(fds);
    return;
  }
  char target[4096];
  while (dirent* entry = readdir(folder.get())) {
    if (!IsProcessNumber(entry->d_name)) continue;
    const ssize_t length = readlinkat(fds, entry->d_name, target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) < root.size() ||
        std::memcmp(target, root.data(), root.size()) != 0) {
      continue;
    }
    struct stat status;
    if (fstatat(fds, entry->d_name, &status, 0) == 0 && S_ISREG(status.st_mode)) {
      files.insert({status.st_dev, status.st_ino});
    }
  }
}

// The files inside `root` that processes other than this one hold open;
// nothing when /proc cannot tell (not mounted, or hidden from us).
template <typename Files>
std::optional<Files> OpenFilesOfOthers(const std::string& root) {
  if (access("/proc/self/fd", R_OK) != 0) return std::nullopt;
  ScopedFolder proc(opendir("/proc"));
  if (!proc.get()) return std::nullopt;
  const std::string self = std::to_string(getpid());
  Files files;
  while (dirent* entry = readdir(proc.get())) {
    if (!IsProcessNumber(entry->d_name) || self == entry->d_name) continue;
    const int fds = openat(dirfd(proc.get()), (std::string(entry->d_name) + "/fd").c_str(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fds >= 0) AddOpenFiles(fds, root, files);  // another user's process cannot be read
  }
  return files;
}

// A write lease is refused (EAGAIN) while any other open file description
// of the file exists. Where leases cannot be had at all (another owner's
// file, a file system without them), nobody can tell.
bool LeaseRefused(const std::string& path) {
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) return false;
  if (fcntl(fd.get(), F_SETLEASE, F_WRLCK) != 0) return errno == EAGAIN;
  fcntl(fd.get(), F_SETLEASE, F_UNLCK);
  return false;
}

}  // namespace

void HeldFiles::Watch(std::string real_path) {
  if (real_path.empty() || real_path.back() != '/') real_path += '/';
  root_ = std::move(real_path);
  open_elsewhere_.reset();
  proc_unreadable_ = false;
}

bool HeldFiles::HeldByAnother(const std::string& path, const struct stat& status) {
  if (!root_ || !S_ISREG(status.st_mode)) return false;
  if (!open_elsewhere_ && !proc_unreadable_) {
    open_elsewhere_ = OpenFilesOfOthers<std::set<FileId>>(*root_);
    proc_unreadable_ = !open_elsewhere_;
  }
  if (open_elsewhere_) return open_elsewhere_->count({status.st_dev, status.st_ino}) != 0;
  return LeaseRefused(path);
}

}  // namespace tolvashu
