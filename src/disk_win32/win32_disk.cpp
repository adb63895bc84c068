// The disk on the Windows file system, through the wide (UTF-16) functions
// only, so that folder names outside code page 932 work too. Only the
// system calls live here; what they mean to the installer is decided in
// files/file_ops.h.
#include <windows.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "disk/disk.h"
#include "disk/path_parts.h"
#include "disk/temporary_name.h"
#include "disk_win32/file_listing.h"
#include "disk_win32/folder_lock.h"
#include "disk_win32/file_stage.h"
#include "disk_win32/handle.h"
#include "disk_win32/open_files.h"
#include "disk_win32/passing_lock.h"
#include "disk_win32/system_error.h"
#include "disk_win32/volume_space.h"
#include "disk_win32/win32_disk.h"
#include "disk_win32/win32_path.h"
#include "text/wide_text_win32.h"

namespace tolvashu {

namespace {

DiskError Malformed() { return {DiskError::kMalformed, FailureCause::kOther, DescribeSystemError(ERROR_INVALID_NAME)}; }
DiskError NotDurable() { return {DiskError::kFailed, FailureCause::kOther, "cannot be made durable"}; }

// The search that Look uses takes these for wildcards.
bool HasSearchCharacter(std::string_view path) { return path.find_first_of("*?<>\"") != std::string_view::npos; }

Entry FromAttributes(std::string name, DWORD attributes, std::uint64_t size) {
  Entry entry;
  entry.name = std::move(name);
  entry.kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::kFolder
               : (attributes & FILE_ATTRIBUTE_DEVICE)  ? EntryKind::kOther
                                                       : EntryKind::kFile;
  entry.read_only = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  entry.hidden = (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
  entry.size = size;
  return entry;
}

// Nothing has the name: kNone when the system says so of the name, kNoFolder
// when it says so of a folder on the way, an error when it cannot tell or
// the path starts at a drive that does not exist. The drive is asked about
// only then: under Wine the question goes to the mount manager every time.
Result<Entry> Missing(const std::string& path, std::string name, DWORD error) {
  Entry missing;
  missing.name = std::move(name);
  if (error == ERROR_FILE_NOT_FOUND) return missing;
  if (!IsNotFoundError(error)) return DiskError{DiskError::kUnknown, CauseOfSystemError(error), DescribeSystemError(error)};
  if (NamesMissingDrive(path)) return Malformed();
  missing.kind = EntryKind::kNoFolder;
  return missing;
}

// The entry's attributes and size, and the name as asked. A root, "." and
// "..", which no search finds by name, are always looked at this way.
Result<Entry> LookByAttributes(const std::string& path, std::string name) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(ToWin32Path(path).c_str(), GetFileExInfoStandard, &data)) {
    DWORD error = GetLastError();
    const bool names_an_entry = !name.empty() && name != "." && name != "..";
    return Missing(path, std::move(name), error == ERROR_FILE_NOT_FOUND && !names_an_entry ? ERROR_PATH_NOT_FOUND : error);
  }
  const std::uint64_t size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return FromAttributes(std::move(name), data.dwFileAttributes, size);
}

// What makes a folder the same folder however its path is spelled: the
// volume it is on and its file id there. The 128-bit id where the volume
// gives one: ReFS and some network servers do not keep the 64-bit index
// unique.
std::optional<std::string> IdentifyFolder(const std::string& path) {
  // Backup semantics let CreateFileW open a folder; no data access is asked.
  ScopedHandle folder(CreateFileW(ToWin32Path(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!folder.valid() || !GetFileInformationByHandle(folder.get(), &info)) return std::nullopt;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return std::nullopt;
  ULONGLONG volume = info.dwVolumeSerialNumber;
  FILE_ID_128 id{};
  FILE_ID_INFO wide_id;
  if (GetFileInformationByHandleEx(folder.get(), FileIdInfo, &wide_id, sizeof wide_id)) {
    volume = wide_id.VolumeSerialNumber;
    id = wide_id.FileId;
  } else {
    const DWORD index[2] = {info.nFileIndexLow, info.nFileIndexHigh};
    std::memcpy(id.Identifier, index, sizeof index);
  }
  std::string identity(reinterpret_cast<const char*>(&volume), sizeof volume);
  identity.append(reinterpret_cast<const char*>(id.Identifier), sizeof id.Identifier);
  return identity;
}

// Best effort where the volume cannot flush a folder by itself: NTFS keeps
// its folders in its own journal.
bool FlushFolder(const std::string& folder) {
  ScopedHandle handle(CreateFileW(ToWin32Path(folder).c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle.valid()) return GetLastError() == ERROR_ACCESS_DENIED;
  if (FlushFileBuffers(handle.get())) return true;
  DWORD error = GetLastError();
  return error == ERROR_ACCESS_DENIED || error == ERROR_INVALID_FUNCTION || error == ERROR_INVALID_PARAMETER;
}

// Every open, rename and removal of a file the transfer works on waits out
// another program's passing hold of it (passing_lock.h).
class Win32Disk : public Disk {
 public:
  explicit Win32Disk(PassingLockWaits waits) : locks_(waits) {}

  std::string CurrentFolder() override {
    DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(size, L'\0');
    DWORD length = size == 0 ? 0 : GetCurrentDirectoryW(size, folder.data());
    folder.resize(length < size ? length : 0);
    return WideToUtf8(folder);
  }

  // Neither way needs sharing rights on the entry itself. The attributes
  // come cheaply; the name as the folder holds it only from a search of the
  // folder, which costs many times as much (under Wine, a reading of the
  // folder), and is made only when asked for.
  Result<Entry> Look(const std::string& path, Spelling spelling) override {
    if (HasSearchCharacter(path)) return Malformed();
    const std::string trimmed = WithoutSeparator(path);
    std::string name = trimmed.substr(NameStart(trimmed));
    if (NamesDevice(trimmed)) return FromAttributes(std::move(name), FILE_ATTRIBUTE_DEVICE, 0);
    if (name.empty() || name == "." || name == "..") return LookByAttributes(trimmed, std::move(name));
    if (spelling == Spelling::kAsAsked) return LookByAttributes(trimmed, std::move(name));
    WIN32_FIND_DATAW found;
    ScopedFind find(
        FindFirstFileExW(ToWin32Path(trimmed).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!find.valid()) return Missing(trimmed, std::move(name), GetLastError());
    const std::uint64_t size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    return FromAttributes(WideToUtf8(found.cFileName), found.dwFileAttributes, size);
  }

  Result<std::string> FolderIdentity(const std::string& path) override {
    if (std::optional<std::string> identity = IdentifyFolder(path)) return *identity;
    return DiskError::Absent("no such folder");
  }

  // No listing is kept between calls: a change notification would reach a
  // program under Wine only once the Wine server has taken in the change,
  // which may be after the program has asked, so it could not vouch for an
  // earlier listing.
  Result<std::vector<Listed>> List(const std::string& folder, const ListingFilter& wanted) override {
    return ListFolder(folder, wanted);
  }

  Result<std::unique_ptr<InputFile>> OpenRead(const std::string& path, ReadSharing sharing) override {
    return OpenInputFile(path, sharing, locks_);
  }

  Result<std::unique_ptr<OutputFile>> OpenWrite(const std::string& path, WriteMode mode) override {
    return OpenOutputFile(path, mode, locks_);
  }

  Result<std::unique_ptr<StagedFile>, StageError> StageCopy(const std::string& source, const std::string& destination,
                                                            const ChunkHook& between_chunks) override {
    return StageFileCopy(source, destination, between_chunks, locks_);
  }

  Result<void> Rename(const std::string& from, const std::string& to) override {
    if (NamesDevice(from) || NamesDevice(to)) return Malformed();
    const std::wstring wide_from = ToWin32Path(from), wide_to = ToWin32Path(to);
    if (!locks_.Try(wide_from, [&] { return MoveFileExW(wide_from.c_str(), wide_to.c_str(), 0) != FALSE; })) {
      return ErrorOfSystem(GetLastError());
    }
    return {};
  }

  // Windows refuses to delete a read-only file: its flag is taken off
  // first, and put back should the file stay all the same.
  Result<void> RemoveFile(const std::string& path) override {
    const std::wstring wide = ToWin32Path(path);
    const auto remove = [&] { return DeleteFileW(wide.c_str()) != FALSE; };
    if (locks_.Try(wide, remove)) return {};
    DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return DiskError::WrongKind("a folder has this name");
    }
    const bool read_only = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (error != ERROR_ACCESS_DENIED || !read_only) return ErrorOfSystem(error);
    SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (locks_.Try(wide, remove)) return {};
    error = GetLastError();
    SetFileAttributesW(wide.c_str(), attributes);
    return ErrorOfSystem(error);
  }

  Result<void> RemoveFolder(const std::string& path) override {
    const std::wstring wide = ToWin32Path(path);
    if (locks_.Try(EntryKind::kFolder, wide, [&] { return RemoveDirectoryW(wide.c_str()) != FALSE; })) return {};
    return ErrorOfSystem(GetLastError());
  }

  // A copy holds its temporary file open without sharing until it is
  // complete, so the system refuses to delete one that is being written.
  void RemoveAbandonedTemporaryFiles(const std::string& folder) override {
    const std::string at = WithSeparator(folder);
    WIN32_FIND_DATAW entry;
    ScopedFind find(FindFirstFileExW(ToWin32Path(at + kTemporaryPattern).c_str(), FindExInfoBasic, &entry,
                                     FindExSearchNameMatch, nullptr, 0));
    if (!find.valid()) return;
    do {
      std::string name = WideToUtf8(entry.cFileName);
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && IsTemporaryName(name)) {
        DeleteFileW(ToWin32Path(at + name).c_str());
      }
    } while (FindNextFileW(find.get(), &entry));
  }

  Result<void> MakeFolder(const std::string& path, Visibility visibility) override {
    std::wstring wide = ToWin32Path(path);
    if (!CreateDirectoryW(wide.c_str(), nullptr)) return ErrorOfSystem(GetLastError());
    // A folder that shows is still a working one.
    if (visibility == Visibility::kHidden) SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN);
    return {};
  }

  Result<void> SyncFolder(const std::string& folder) override {
    if (!FlushFolder(folder)) return NotDurable();
    return {};
  }

  Result<std::unique_ptr<FolderLock>> LockFolder(const std::string& folder) override {
    return LockFolderOnWindows(folder);
  }

  // Each new file was flushed to the disk before it was closed (the copy
  // does it): only the folders remain.
  Result<void> MakeDurable(const std::vector<std::string>&, const std::vector<std::string>& changed) override {
    bool ok = true;
    for (const std::string& folder : changed) ok = FlushFolder(folder) && ok;
    if (!ok) return NotDurable();
    return {};
  }

  Result<VolumeSpace> FreeSpace(const std::string& folder) override { return FreeSpaceOnWindows(folder); }
  void SetWaitHook(ChunkHook hook) override { locks_.SetWaitHook(std::move(hook)); }

 private:
  PassingLocks locks_;
};

}  // namespace

std::unique_ptr<Disk> MakeWin32Disk(PassingLockWaits waits) { return std::make_unique<Win32Disk>(waits); }

std::unique_ptr<Disk> MakePlatformDisk() { return MakeWin32Disk(PassingLockWaits{}); }

}  // namespace tolvashu
