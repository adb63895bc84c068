#include <windows.h>

#include "files/file_copy_win32.h"

#include <memory>
#include <optional>
#include <utility>

#include "files/handle_win32.h"
#include "files/path_win32.h"
#include "files/pattern_parts.h"
#include "files/system_error_win32.h"
#include "files/temporary_name.h"
#include "files/wildcard.h"
#include "text/wide_text_win32.h"

namespace tolvashu {

namespace {

constexpr DWORD kChunk = 1 << 20;
constexpr int kNameAttempts = 8;

CopyResult Failed(FailureCause cause, std::string reason) {
  return {CopyOutcome::kFailed, cause, std::move(reason), {}};
}
CopyResult Failed(DWORD error) { return Failed(CauseOfSystemError(error), DescribeSystemError(error)); }
CopyResult FailedWithLastError() { return Failed(GetLastError()); }
CopyResult SourceMissing() { return {CopyOutcome::kSourceMissing, FailureCause::kOther, {}, {}}; }

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// One copy, step by step. Each step returns the result that ends the copy
// early, or nothing to go on; whatever ends it early removes the temporary
// file first.
class FileCopy {
 public:
  FileCopy(const std::string& source, const std::string& destination, const std::function<void()>& after_chunk,
           const PlaceNewContent& place)
      : source_name_(source),
        source_path_(ToWin32Path(source)),
        destination_(destination),
        after_chunk_(after_chunk),
        place_(place) {}

  ~FileCopy() { DiscardTemporary(); }
  FileCopy(const FileCopy&) = delete;
  FileCopy& operator=(const FileCopy&) = delete;

  CopyResult Run() {
    for (auto step : {&FileCopy::OpenSource, &FileCopy::FindTarget, &FileCopy::CreateTemporary, &FileCopy::CopyContent,
                      &FileCopy::FinishTemporary, &FileCopy::Place, &FileCopy::MoveIntoPlace}) {
      if (std::optional<CopyResult> stop = (this->*step)()) return *stop;
    }
    return {CopyOutcome::kCopied, FailureCause::kOther, {}, {}};
  }

 private:
  std::optional<CopyResult> OpenSource() {
    if (NamesDevice(source_name_)) return SourceMissing();
    source_ = ScopedHandle(CreateFileW(source_path_.c_str(), GENERIC_READ, kReadSharing, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source_.valid()) {
      DWORD error = GetLastError();
      if (IsNotFoundError(error) || IsFolder(source_path_)) return SourceMissing();
      return Failed(error);
    }
    if (!IsDiskFile(source_)) return SourceMissing();
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(source_.get(), &info)) return FailedWithLastError();
    last_write_time_ = info.ftLastWriteTime;
    return std::nullopt;
  }

  // Finds what the destination name stands for now: nothing yet, or an
  // existing file whose actual name (letter case included) is replaced.
  std::optional<CopyResult> FindTarget() {
    std::optional<PatternParts> parts = SplitPattern(destination_);
    // The lookup below takes wildcards, and a device name is no file name.
    if (!parts || HasWildcard(parts->name) || NamesDevice(parts->name)) return Failed(ERROR_INVALID_NAME);
    folder_ = parts->folder;
    WIN32_FIND_DATAW existing;
    ScopedFind find(FindFirstFileExW(ToWin32Path(destination_).c_str(), FindExInfoBasic, &existing,
                                     FindExSearchNameMatch, nullptr, 0));
    if (!find.valid()) {
      if (GetLastError() != ERROR_FILE_NOT_FOUND) return FailedWithLastError();
      target_path_ = ToWin32Path(destination_);
      target_as_held_ = destination_;
      return std::nullopt;
    }
    if (existing.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      return Failed(FailureCause::kOther, "a folder has this name");
    }
    // Checked before anything is written: Wine running as root would let the
    // move below replace a read-only file.
    if (existing.dwFileAttributes & FILE_ATTRIBUTE_READONLY) return Failed(FailureCause::kDenied, kReadOnlyReason);
    target_as_held_ = parts->folder + WideToUtf8(existing.cFileName);
    target_path_ = ToWin32Path(target_as_held_);
    target_exists_ = true;
    return std::nullopt;
  }

  std::optional<CopyResult> CreateTemporary() {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
      std::wstring path = ToWin32Path(folder_ + MakeTemporaryName());
      temporary_ = ScopedHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
      if (temporary_.valid()) {
        temporary_path_ = std::move(path);
        return std::nullopt;
      }
      DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return Failed(error);
    }
    return Failed(FailureCause::kOther, "no free temporary name");
  }

  std::optional<CopyResult> CopyContent() {
    auto buffer = std::make_unique<char[]>(kChunk);
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(source_.get(), buffer.get(), kChunk, &got, nullptr)) return FailedWithLastError();
      if (got == 0) break;
      for (DWORD done = 0; done < got;) {
        DWORD written = 0;
        if (!WriteFile(temporary_.get(), buffer.get() + done, got - done, &written, nullptr)) {
          return FailedWithLastError();
        }
        done += written;
      }
      after_chunk_();
    }
    // Released before the move, so that copying a file onto itself (under
    // another spelling of its path) does not trip over our own handle.
    source_.Close();
    return std::nullopt;
  }

  // The temporary file becomes what the destination should look like: no
  // hidden or read-only flag, the source's last-write time, its content on
  // the disk. A time the volume cannot hold (FAT and exFAT refuse times
  // before 1980) does not undo a complete copy: the file keeps the time of
  // its writing then.
  std::optional<CopyResult> FinishTemporary() {
    FILE_BASIC_INFO basic{};  // zero times stay as they are
    basic.FileAttributes = FILE_ATTRIBUTE_ARCHIVE;
    if (!SetFileInformationByHandle(temporary_.get(), FileBasicInfo, &basic, sizeof basic)) {
      return FailedWithLastError();
    }
    basic.FileAttributes = 0;  // unchanged
    basic.LastWriteTime.LowPart = last_write_time_.dwLowDateTime;
    basic.LastWriteTime.HighPart = static_cast<LONG>(last_write_time_.dwHighDateTime);
    SetFileInformationByHandle(temporary_.get(), FileBasicInfo, &basic, sizeof basic);
    if (!FlushFileBuffers(temporary_.get())) return FailedWithLastError();
    if (!temporary_.Close()) return FailedWithLastError();
    return std::nullopt;
  }

  std::optional<CopyResult> Place() {
    Placement placement = place_(target_as_held_, target_exists_);
    if (placement.refused) return Failed(placement.refused->cause, placement.refused->reason);
    replace_existing_ = placement.replace_existing;
    return std::nullopt;
  }

  std::optional<CopyResult> MoveIntoPlace() {
    const DWORD flags = replace_existing_ ? MOVEFILE_REPLACE_EXISTING : 0;
    if (!MoveFileExW(temporary_path_.c_str(), target_path_.c_str(), flags)) {
      DWORD error = GetLastError();
      if (error == ERROR_ACCESS_DENIED && TargetIsOpenElsewhere()) error = ERROR_SHARING_VIOLATION;
      return Failed(error);
    }
    temporary_path_.clear();
    return std::nullopt;
  }

  // The system refuses to replace a file that another program has open with
  // "access denied", as it refuses one the user may not delete. The folder
  // took our temporary file and the target is not read-only, so the target
  // is in use unless opening it for deletion is refused outright.
  bool TargetIsOpenElsewhere() const {
    ScopedHandle target(CreateFileW(target_path_.c_str(), DELETE, kReadSharing, nullptr, OPEN_EXISTING, 0, nullptr));
    return target.valid() || GetLastError() == ERROR_SHARING_VIOLATION;
  }

  // temporary_path_ is set only while a file we created is there.
  void DiscardTemporary() {
    if (temporary_path_.empty()) return;
    temporary_.Close();
    DeleteFileW(temporary_path_.c_str());
    temporary_path_.clear();
  }

  std::string source_name_;
  std::wstring source_path_;
  std::string destination_;
  const std::function<void()>& after_chunk_;
  const PlaceNewContent& place_;
  ScopedHandle source_;
  FILETIME last_write_time_{};
  std::string folder_;  // the destination's folder part, as the caller wrote it
  std::wstring target_path_;
  std::string target_as_held_;  // the destination, its name as the folder holds it
  bool target_exists_ = false;
  bool replace_existing_ = true;
  std::wstring temporary_path_;
  ScopedHandle temporary_;
};

}  // namespace

CopyResult CopyThroughTemporaryFile(const std::string& source, const std::string& destination,
                                    const std::function<void()>& after_chunk, const PlaceNewContent& place) {
  return FileCopy(source, destination, after_chunk, place).Run();
}

}  // namespace tolvashu
