#include <windows.h>

#include "files/open_files_win32.h"

#include <new>
#include <stdexcept>
#include <utility>

#include "files/handle_win32.h"
#include "files/path_win32.h"
#include "files/system_error_win32.h"

namespace tolvashu {

namespace {

constexpr DWORD kChunk = 1 << 20;

class Win32InputFile : public InputFile {
 public:
  explicit Win32InputFile(ScopedHandle file) : file_(std::move(file)) {}

  std::optional<std::string> ReadAll() override {
    try {
      std::string bytes;
      LARGE_INTEGER size;
      if (GetFileSizeEx(file_.get(), &size)) bytes.reserve(static_cast<std::size_t>(size.QuadPart));
      std::string chunk(kChunk, '\0');
      DWORD got = 0;
      do {
        if (!ReadFile(file_.get(), chunk.data(), kChunk, &got, nullptr)) return std::nullopt;
        bytes.append(chunk.data(), got);
      } while (got > 0);
      return bytes;
    } catch (const std::bad_alloc&) {
      return std::nullopt;  // a file too large to hold is a failed read
    } catch (const std::length_error&) {
      return std::nullopt;
    }
  }

 private:
  ScopedHandle file_;
};

class Win32OutputFile : public OutputFile {
 public:
  explicit Win32OutputFile(ScopedHandle file) : file_(std::move(file)) {}

  bool Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      DWORD part = bytes.size() > kChunk ? kChunk : static_cast<DWORD>(bytes.size());
      DWORD written = 0;
      if (!file_.valid() || !WriteFile(file_.get(), bytes.data(), part, &written, nullptr) || written == 0) {
        return false;
      }
      bytes.remove_prefix(written);
    }
    return true;
  }

  // Every write goes straight to the system: nothing is held back here.
  bool Flush() override { return file_.valid(); }
  bool Sync() override { return file_.valid() && FlushFileBuffers(file_.get()); }
  bool Close() override { return file_.Close(); }

 private:
  ScopedHandle file_;
};

template <typename File>
Opened<File> NotOpened(DWORD error) {
  FileFailure failure = SystemFailure({}, error);
  return {nullptr, failure.cause, std::move(failure.reason)};
}

template <typename File>
Opened<File> NotADiskFile() {
  return {nullptr, FailureCause::kOther, "not a file"};
}

}  // namespace

Opened<OutputFile> CreateHiddenOutputFile(const std::string& path) {
  if (NamesDevice(path)) return NotADiskFile<OutputFile>();
  ScopedHandle file(CreateFileW(ToWin32Path(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_HIDDEN, nullptr));
  if (!file.valid()) return NotOpened<OutputFile>(GetLastError());
  return {std::make_unique<Win32OutputFile>(std::move(file)), FailureCause::kOther, {}};
}

// Shared for reading only: the system refuses the open while any program
// has the file open for writing.
Opened<InputFile> OpenInputFileUnlessWritten(const std::string& path) {
  if (NamesDevice(path)) return NotADiskFile<InputFile>();
  ScopedHandle file(
      CreateFileW(ToWin32Path(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.valid()) return NotOpened<InputFile>(GetLastError());
  if (!IsDiskFile(file)) return NotADiskFile<InputFile>();
  return {std::make_unique<Win32InputFile>(std::move(file)), FailureCause::kOther, {}};
}

Opened<InputFile> OpenInputFile(const std::string& path) {
  if (NamesDevice(path)) return NotADiskFile<InputFile>();
  ScopedHandle file(CreateFileW(ToWin32Path(path).c_str(), GENERIC_READ, kReadSharing, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.valid()) return NotOpened<InputFile>(GetLastError());
  if (!IsDiskFile(file)) return NotADiskFile<InputFile>();
  return {std::make_unique<Win32InputFile>(std::move(file)), FailureCause::kOther, {}};
}

Opened<OutputFile> OpenOutputFile(const std::string& path) {
  if (NamesDevice(path)) return NotADiskFile<OutputFile>();
  std::wstring wide = ToWin32Path(path);
  // Checked here rather than left to the system: Wine running as root opens
  // a read-only file for writing without complaint.
  DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return NotADiskFile<OutputFile>();
  }
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return {nullptr, FailureCause::kDenied, kReadOnlyReason};
  }
  // OPEN_ALWAYS and then truncating, rather than CREATE_ALWAYS: the existing
  // file keeps its name and its hidden flag, which CREATE_ALWAYS would refuse.
  ScopedHandle file(
      CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return NotOpened<OutputFile>(GetLastError());
  if (!IsDiskFile(file)) return NotADiskFile<OutputFile>();
  if (!SetEndOfFile(file.get())) return NotOpened<OutputFile>(GetLastError());
  return {std::make_unique<Win32OutputFile>(std::move(file)), FailureCause::kOther, {}};
}

}  // namespace tolvashu
