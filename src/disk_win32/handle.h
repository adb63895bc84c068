// Owners for the two kinds of Win32 handle the file layer opens, so that
// every early return closes what it opened. Include <windows.h> first.
#pragma once

#include <utility>

namespace tolvashu {

// Closes with CloseHandle. Invalid is INVALID_HANDLE_VALUE, as CreateFileW
// reports it.
class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~ScopedHandle() { Close(); }
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
    }
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

  // False when the system reports an error while closing (data not written).
  bool Close() {
    if (!valid()) return true;
    return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != FALSE;
  }

 private:
  HANDLE handle_;
};

// How the layer shares a file it reads: like a backup tool, it lets other
// programs go on reading, writing and deleting it, so that a file the running
// game holds open can still be read.
inline constexpr DWORD kReadSharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opening "nul.txt" or "CON" succeeds on Windows and yields a device, which
// reads as empty or waits for keyboard input: only disk files are files.
inline bool IsDiskFile(const ScopedHandle& file) { return file.valid() && GetFileType(file.get()) == FILE_TYPE_DISK; }

// Closes a FindFirstFileExW search with FindClose.
class ScopedFind {
 public:
  explicit ScopedFind(HANDLE handle) : handle_(handle) {}
  ~ScopedFind() {
    if (valid()) FindClose(handle_);
  }
  ScopedFind(const ScopedFind&) = delete;
  ScopedFind& operator=(const ScopedFind&) = delete;

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace tolvashu
