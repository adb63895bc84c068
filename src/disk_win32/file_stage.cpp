#include <windows.h>

#include "disk_win32/file_stage.h"

#include <memory>
#include <optional>
#include <utility>

#include "disk/path_parts.h"
#include "disk/temporary_name.h"
#include "disk_win32/handle.h"
#include "disk_win32/system_error.h"
#include "disk_win32/win32_path.h"
#include "text/wide_text_win32.h"

namespace tolvashu {

namespace {

constexpr DWORD kChunk = 1 << 20;
constexpr int kNameAttempts = 8;

StageError AtSource(DiskError error) { return {true, std::move(error)}; }
StageError AtDestination(DiskError error) { return {false, std::move(error)}; }
StageError FailedWithLastError() { return AtDestination(SystemError(GetLastError())); }

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The search that looks for the destination takes wildcards, and a device
// name is no file name: neither can be a destination.
bool IsFileName(std::string_view name) {
  return !name.empty() && name.find_first_of("*?<>\"") == std::string_view::npos && !NamesDevice(name);
}

// Removes a temporary file of ours, which a virus scanner may be reading
// right after it was written. One that stays is hidden, and the next start
// removes it.
void DiscardFile(const std::wstring& path, const PassingLocks& locks) {
  static_cast<void>(locks.Try(path, [&] { return DeleteFileW(path.c_str()) != FALSE; }));
}

// The staged content, waiting under its temporary name.
class Win32StagedFile : public StagedFile {
 public:
  Win32StagedFile(Entry destination, std::wstring temporary, std::wstring target, const PassingLocks& locks)
      : StagedFile(std::move(destination)), temporary_(std::move(temporary)), target_(std::move(target)),
        locks_(locks) {}
  ~Win32StagedFile() override {
    if (!temporary_.empty()) DiscardFile(temporary_, locks_);
  }

  Result<void> Keep() override {
    if (!locks_.Try(temporary_, [&] { return MoveFileExW(temporary_.c_str(), target_.c_str(), 0) != FALSE; })) {
      return ErrorOfSystem(GetLastError());
    }
    temporary_.clear();
    return {};
  }

 private:
  std::wstring temporary_;  // empty once kept
  std::wstring target_;
  const PassingLocks& locks_;
};

// One staging, step by step. Each step returns the error that ends it
// early, or nothing to go on; whatever ends it early removes the temporary
// file first.
class FileStage {
 public:
  FileStage(const std::string& source, const std::string& destination, const ChunkHook& between_chunks,
            const PassingLocks& locks)
      : source_name_(source), source_path_(ToWin32Path(source)), destination_(destination),
        between_chunks_(between_chunks), locks_(locks) {}
  ~FileStage() { DiscardTemporary(); }
  FileStage(const FileStage&) = delete;
  FileStage& operator=(const FileStage&) = delete;

  Result<std::unique_ptr<StagedFile>, StageError> Run() {
    for (auto step : {&FileStage::OpenSource, &FileStage::FindTarget, &FileStage::CreateTemporary,
                      &FileStage::CopyContent, &FileStage::FinishTemporary}) {
      if (std::optional<StageError> stop = (this->*step)()) return *stop;
    }
    auto staged = std::make_unique<Win32StagedFile>(std::move(target_entry_), std::move(temporary_path_),
                                                    ToWin32Path(target_as_held_), locks_);
    temporary_path_.clear();
    return std::unique_ptr<StagedFile>(std::move(staged));
  }

 private:
  std::optional<StageError> OpenSource() {
    const DiskError not_a_file = DiskError::WrongKind();
    if (NamesDevice(source_name_)) return AtSource(not_a_file);
    const auto open = [&] {
      source_ = ScopedHandle(CreateFileW(source_path_.c_str(), GENERIC_READ, kReadSharing, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
      return source_.valid();
    };
    if (!locks_.Try(source_path_, open)) {
      DWORD error = GetLastError();
      if (IsFolder(source_path_)) return AtSource(not_a_file);
      if (IsNotFoundError(error)) return AtSource(DiskError::Absent());
      return AtSource(SystemError(error));
    }
    if (!IsDiskFile(source_)) return AtSource(not_a_file);
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(source_.get(), &info)) return AtSource(SystemError(GetLastError()));
    last_write_time_ = info.ftLastWriteTime;
    return std::nullopt;
  }

  // What the destination name stands for now: nothing yet, or an existing
  // entry whose actual name (letter case included) the content will take.
  std::optional<StageError> FindTarget() {
    const std::size_t start = NameStart(destination_);
    if (!IsFileName(std::string_view(destination_).substr(start))) {
      return AtDestination({DiskError::kMalformed, FailureCause::kOther, DescribeSystemError(ERROR_INVALID_NAME)});
    }
    folder_ = destination_.substr(0, start);
    target_entry_.name = destination_.substr(start);
    target_as_held_ = destination_;
    WIN32_FIND_DATAW existing;
    ScopedFind find(FindFirstFileExW(ToWin32Path(destination_).c_str(), FindExInfoBasic, &existing,
                                     FindExSearchNameMatch, nullptr, 0));
    if (!find.valid()) {
      DWORD error = GetLastError();
      if (error == ERROR_FILE_NOT_FOUND) return std::nullopt;
      if (IsNotFoundError(error)) return AtDestination(DiskError::NoFolder());
      return AtDestination(SystemError(error));
    }
    const DWORD attributes = existing.dwFileAttributes;
    target_entry_.kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::kFolder : EntryKind::kFile;
    target_entry_.read_only = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    target_entry_.hidden = (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    target_entry_.size = (static_cast<std::uint64_t>(existing.nFileSizeHigh) << 32) | existing.nFileSizeLow;
    target_entry_.name = WideToUtf8(existing.cFileName);
    target_as_held_ = folder_ + target_entry_.name;
    return std::nullopt;
  }

  std::optional<StageError> CreateTemporary() {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
      std::wstring path = ToWin32Path(folder_ + MakeTemporaryName());
      temporary_ = ScopedHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
      if (temporary_.valid()) {
        temporary_path_ = std::move(path);
        return std::nullopt;
      }
      DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return AtDestination(ErrorOfSystem(error));
    }
    return AtDestination({DiskError::kFailed, FailureCause::kOther, "no free temporary name"});
  }

  std::optional<StageError> CopyContent() {
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
      if (between_chunks_) between_chunks_();
    }
    // Released before the keep, so that copying a file onto itself (under
    // another spelling of its path) does not trip over our own handle.
    source_.Close();
    return std::nullopt;
  }

  // The temporary file becomes what the destination should look like: no
  // hidden or read-only flag, the source's last-write time, its content on
  // the disk. A time the volume cannot hold (FAT and exFAT refuse times
  // before 1980) does not undo a complete copy: the file keeps the time of
  // its writing then.
  std::optional<StageError> FinishTemporary() {
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

  // temporary_path_ is set only while a file we created is there.
  void DiscardTemporary() {
    if (temporary_path_.empty()) return;
    temporary_.Close();
    DiscardFile(temporary_path_, locks_);
    temporary_path_.clear();
  }

  std::string source_name_;
  std::wstring source_path_;
  std::string destination_;
  const ChunkHook& between_chunks_;
  const PassingLocks& locks_;
  ScopedHandle source_;
  FILETIME last_write_time_{};
  std::string folder_;  // the destination's folder part, as the caller wrote it
  Entry target_entry_;
  std::string target_as_held_;  // the destination, its name as the folder holds it
  std::wstring temporary_path_;
  ScopedHandle temporary_;
};

}  // namespace

Result<std::unique_ptr<StagedFile>, StageError> StageFileCopy(const std::string& source, const std::string& destination,
                                                              const ChunkHook& between_chunks,
                                                              const PassingLocks& locks) {
  return FileStage(source, destination, between_chunks, locks).Run();
}

}  // namespace tolvashu
