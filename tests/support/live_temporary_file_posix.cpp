#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdint>

#include "support/live_temporary_file.h"

namespace tolvashu::testing {

namespace {
int Fd(void* handle) { return static_cast<int>(reinterpret_cast<std::intptr_t>(handle)); }
}  // namespace

LiveTemporaryFile::LiveTemporaryFile(const std::string& path) : path_(path) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) flock(fd, LOCK_EX);
  handle_ = reinterpret_cast<void*>(static_cast<std::intptr_t>(fd));
}

LiveTemporaryFile::~LiveTemporaryFile() {
  if (Fd(handle_) >= 0) close(Fd(handle_));
}

bool LiveTemporaryFile::Finish(std::string_view content, const std::string& destination) {
  int fd = Fd(handle_);
  handle_ = reinterpret_cast<void*>(std::intptr_t{-1});
  bool written = fd >= 0 && write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  return close(fd) == 0 && written && rename(path_.c_str(), destination.c_str()) == 0;
}

}  // namespace tolvashu::testing
