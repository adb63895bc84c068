#include "disk_posix/open_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tolvashu {

namespace {

constexpr std::size_t kFlushSize = 64 * 1024;
constexpr std::size_t kReadPiece = 64 * 1024;

}  // namespace

std::optional<std::string> PosixInputFile::ReadAll() {
  std::string bytes;
  struct stat status;
  if (fstat(fd_.get(), &status) == 0 && status.st_size > 0) {
    bytes.reserve(static_cast<std::size_t>(status.st_size) + kReadPiece);  // room for the read that finds the end
  }
  off_t offset = 0;
  for (;;) {
    std::size_t used = bytes.size();
    bytes.resize(used + kReadPiece);
    ssize_t length = pread(fd_.get(), bytes.data() + used, kReadPiece, offset);
    if (length < 0 && errno == EINTR) {
      bytes.resize(used);
      continue;
    }
    if (length < 0) return std::nullopt;
    bytes.resize(used + static_cast<std::size_t>(length));
    if (length == 0) return bytes;
    offset += length;
  }
}

PosixOutputFile::~PosixOutputFile() {
  // Closed without CloseAll (the program is ending): still keep what was written.
  if (fd_.valid()) Close();
}

bool PosixOutputFile::Flush() {
  if (!fd_.valid()) return false;
  std::size_t done = 0;
  while (!failed_ && done < pending_.size()) {
    ssize_t written = write(fd_.get(), pending_.data() + done, pending_.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) failed_ = true;
    else done += static_cast<std::size_t>(written);
  }
  pending_.clear();
  return !failed_;
}

bool PosixOutputFile::Sync() { return Flush() && fdatasync(fd_.get()) == 0; }

bool PosixOutputFile::Write(std::string_view bytes) {
  if (failed_ || !fd_.valid()) return false;
  pending_.append(bytes);
  return pending_.size() < kFlushSize || Flush();
}

bool PosixOutputFile::Close() {
  if (!fd_.valid()) return false;
  bool flushed = Flush();
  bool closed = fd_.Close();
  return flushed && closed;
}

}  // namespace tolvashu
