#include <windows.h>

#include "disk_win32/open_files.h"

#include <new>
#include <stdexcept>
#include <utility>

#include "disk_win32/handle.h"
#include "disk_win32/win32_path.h"
#include "disk_win32/system_error.h"

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

DiskError NotADiskFile() { return DiskError::WrongKind(); }

// kAbsent, kNoFolder or a failure: a folder opened as a file is refused with
// "access denied", and is no file.
DiskError NotOpened(const std::wstring& path, DWORD error) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return NotADiskFile();
  return ErrorOfSystem(error);
}

}  // namespace

// Shared for reading only where a writer must keep it out: the system
// refuses the open while any program has the file open for writing.
Result<std::unique_ptr<InputFile>> OpenInputFile(const std::string& path, ReadSharing sharing,
                                                 const PassingLocks& locks) {
  if (NamesDevice(path)) return NotADiskFile();
  const std::wstring wide = ToWin32Path(path);
  const bool with_everyone = sharing == ReadSharing::kWithEveryone;
  ScopedHandle file;
  const auto open = [&] {
    file = ScopedHandle(CreateFileW(wide.c_str(), GENERIC_READ, with_everyone ? kReadSharing : FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, with_everyone ? FILE_FLAG_SEQUENTIAL_SCAN : 0, nullptr));
    return file.valid();
  };
  if (!locks.Try(wide, open)) return NotOpened(wide, GetLastError());
  if (!IsDiskFile(file)) return NotADiskFile();
  return std::unique_ptr<InputFile>(std::make_unique<Win32InputFile>(std::move(file)));
}

// OPEN_ALWAYS and then truncating, rather than CREATE_ALWAYS: an existing
// file keeps its name and its hidden flag, which CREATE_ALWAYS would refuse.
Result<std::unique_ptr<OutputFile>> OpenOutputFile(const std::string& path, WriteMode mode, const PassingLocks& locks) {
  if (NamesDevice(path)) return NotADiskFile();
  const std::wstring wide = ToWin32Path(path);
  const bool hidden = mode == WriteMode::kCreateNewHidden;
  ScopedHandle file;
  const auto open = [&] {
    file = ScopedHandle(CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    hidden ? CREATE_NEW : OPEN_ALWAYS,
                                    hidden ? FILE_ATTRIBUTE_HIDDEN : FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid();
  };
  if (!locks.Try(wide, open)) return NotOpened(wide, GetLastError());
  if (!IsDiskFile(file)) return NotADiskFile();
  if (!hidden && !SetEndOfFile(file.get())) return SystemError(GetLastError());
  return std::unique_ptr<OutputFile>(std::make_unique<Win32OutputFile>(std::move(file)));
}

}  // namespace tolvashu
