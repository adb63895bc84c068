#include "disk_posix/content_copy.h"

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <vector>

namespace tolvashu {

namespace {

constexpr std::size_t kKernelChunk = std::size_t{1} << 30;  // the kernel caps each call anyway
constexpr std::size_t kBufferSize = std::size_t{1} << 20;

// The kernel cannot copy between these two files (another file system, an
// old kernel, a file system without support): read and write instead.
bool NeedsPlainCopy(int error) {
  return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP;
}

int WriteAll(int to, const char* bytes, std::size_t length) {
  while (length > 0) {
    ssize_t written = write(to, bytes, length);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes += written;
    length -= static_cast<std::size_t>(written);
  }
  return 0;
}

int CopyByReadAndWrite(int from, int to) {
  std::vector<char> buffer(kBufferSize);
  for (;;) {
    ssize_t length = read(from, buffer.data(), buffer.size());
    if (length == 0) return 0;
    if (length < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (int error = WriteAll(to, buffer.data(), static_cast<std::size_t>(length))) return error;
  }
}

}  // namespace

// The copy is done once it holds the `size` bytes that the source's status
// promised: asking the kernel again only to hear "nothing more" would cost a
// call for every file. A source that grows meanwhile is copied as it was
// when its status was taken, or a little later, never cut short of that.
int CopyContent(int from, int to, off_t size) {
  off_t copied = 0;
  for (;;) {
    if (copied > 0 && copied >= size) return 0;
    // Null offsets: the calls move both files' offsets, so the plain copy
    // below carries on exactly where this one stopped.
    ssize_t length = copy_file_range(from, nullptr, to, nullptr, kKernelChunk, 0);
    if (length > 0) {
      copied += length;
      continue;
    }
    if (length == 0 && copied >= size) return 0;
    if (length < 0 && errno == EINTR) continue;
    // Some file systems say "nothing more" before the end: let read decide.
    if (length == 0 || NeedsPlainCopy(errno)) return CopyByReadAndWrite(from, to);
    return errno;
  }
}

}  // namespace tolvashu
