// The file layer on the Windows file system, through the wide (UTF-16)
// functions only, so that folder names outside code page 932 work too.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/file_copy_win32.h"
#include "files/file_listing_win32.h"
#include "files/file_ops.h"
#include "files/handle_win32.h"
#include "files/open_files_win32.h"
#include "files/path_win32.h"
#include "files/pattern_parts.h"
#include "files/system_error_win32.h"
#include "files/temporary_name.h"
#include "files/undoable_changes_win32.h"
#include "text/wide_text_win32.h"

namespace tolvashu {

namespace {

// What makes a folder the same folder however its path is spelled: the
// volume it is on and its file id there. The 128-bit id where the volume
// gives one: ReFS and some network servers do not keep the 64-bit index
// unique.
struct FolderIdentity {
  ULONGLONG volume;
  FILE_ID_128 id;
  bool operator==(const FolderIdentity& other) const {
    return volume == other.volume && std::equal(std::begin(id.Identifier), std::end(id.Identifier),
                                                std::begin(other.id.Identifier));
  }
};

std::optional<FolderIdentity> IdentifyFolder(const std::string& path) {
  // Backup semantics let CreateFileW open a folder; no data access is asked.
  ScopedHandle folder(CreateFileW(ToWin32Path(path).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!folder.valid() || !GetFileInformationByHandle(folder.get(), &info)) return std::nullopt;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return std::nullopt;
  FILE_ID_INFO wide_id;
  if (GetFileInformationByHandleEx(folder.get(), FileIdInfo, &wide_id, sizeof wide_id)) {
    return FolderIdentity{wide_id.VolumeSerialNumber, wide_id.FileId};
  }
  FolderIdentity identity{info.dwVolumeSerialNumber, {}};
  const DWORD index[2] = {info.nFileIndexLow, info.nFileIndexHigh};
  std::memcpy(identity.id.Identifier, index, sizeof index);
  return identity;
}

class Win32FileOps : public FileOps {
 public:
  std::string CurrentFolder() override {
    DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(size, L'\0');
    DWORD length = size == 0 ? 0 : GetCurrentDirectoryW(size, folder.data());
    folder.resize(length < size ? length : 0);
    return WideToUtf8(folder);
  }

  bool MakeFolder(const std::string& path) override {
    return CreateDirectoryW(ToWin32Path(path).c_str(), nullptr) != FALSE;
  }

  DeleteResult DeleteMatching(const std::string& pattern) override {
    DeleteResult result;
    // A folder path names no file: deleting "every file" for it would empty
    // the folder whenever a caller's name came out empty.
    if (NameStart(pattern) == pattern.size()) return result;
    Listing listing = ListOrdinaryFiles(pattern);
    if (listing.unreadable) result.failures.push_back(std::move(*listing.unreadable));
    for (const ListedFile& file : listing.files) {
      std::string path = listing.folder + file.name;
      // Refused here, since Wine running as root would delete it.
      if (file.read_only) {
        result.failures.push_back({path, FailureCause::kDenied, kReadOnlyReason});
      } else if (DeleteFileW(ToWin32Path(path).c_str())) {
        ++result.deleted;
      } else if (DWORD error = GetLastError(); !IsNotFoundError(error)) {
        result.failures.push_back(SystemFailure(path, error));
      }  // else: gone meanwhile, nothing to do
    }
    return result;
  }

  FileList ListFiles(const std::string& pattern) override {
    Listing listing = ListOrdinaryFiles(pattern);
    FileList list{{}, listing.malformed, std::move(listing.unreadable)};
    list.names.reserve(listing.files.size());
    for (ListedFile& file : listing.files) list.names.push_back(std::move(file.name));
    return list;
  }

  // No WatchFolder: every enumeration reads its folder anew. A change
  // notification would reach a program under Wine only once the Wine server
  // has taken in the change, which may be after the program has asked, so it
  // could not vouch for an earlier listing.

  CopyResult CopyFile(const std::string& source, const std::string& destination,
                      const PlaceNewContent& place) override {
    return CopyThroughTemporaryFile(source, destination, chunk_hook(), place);
  }

  bool IsSameFolder(const std::string& a, const std::string& b) override {
    std::optional<FolderIdentity> first = IdentifyFolder(a);
    return first && first == IdentifyFolder(b);
  }

  // The attributes come from the folder's entry: no sharing rights needed.
  std::optional<bool> HasFile(const std::string& path) override {
    if (NamesDevice(path)) return false;
    DWORD attributes = GetFileAttributesW(ToWin32Path(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    if (IsNotFoundError(GetLastError())) return false;
    return std::nullopt;
  }

  // A copy holds its temporary file open without sharing until it is moved
  // into place, so the system refuses to delete one that is being written.
  void RemoveLeftoverTemporaryFiles(const std::string& folder) override {
    WIN32_FIND_DATAW entry;
    ScopedFind find(FindFirstFileExW(ToWin32Path(folder + kTemporaryPattern).c_str(), FindExInfoBasic, &entry,
                                     FindExSearchNameMatch, nullptr, 0));
    if (!find.valid()) return;
    do {
      std::string name = WideToUtf8(entry.cFileName);
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && IsTemporaryName(name)) {
        DeleteFileW(ToWin32Path(folder + name).c_str());
      }
    } while (FindNextFileW(find.get(), &entry));
  }

  Opened<InputFile> OpenInput(const std::string& path) override { return OpenInputFile(path); }
  Opened<OutputFile> OpenOutput(const std::string& path) override { return OpenOutputFile(path); }

  MoveResult MoveIntoFolder(const std::string& path, const std::string& folder) override {
    return MoveFileIntoFolder(path, folder);
  }
  std::optional<FileFailure> RemoveFile(const std::string& path) override { return RemoveOneFile(path); }
  std::optional<FileFailure> RemoveFolder(const std::string& path) override { return RemoveEmptyFolder(path); }
  std::optional<FileFailure> RemoveOwnFolder(const std::string& path) override { return RemoveFolderWithFiles(path); }
  std::optional<std::vector<FolderEntry>> ListEntries(const std::string& folder) override {
    return ListFolderEntries(folder);
  }
  std::optional<FileFailure> MakeHiddenFolder(const std::string& path) override { return MakeHiddenFolderAt(path); }
  Opened<OutputFile> CreateHiddenFile(const std::string& path) override { return CreateHiddenOutputFile(path); }
  Opened<InputFile> OpenUnlessWritten(const std::string& path) override { return OpenInputFileUnlessWritten(path); }
  bool SyncFolder(const std::string& folder) override { return FlushFolder(folder); }

  // Each new file was flushed to the disk before it was closed (the copy
  // does it): only the folders remain.
  bool MakeDurable(const std::vector<std::string>&, const std::vector<std::string>& changed) override {
    bool ok = true;
    for (const std::string& folder : changed) ok = FlushFolder(folder) && ok;
    return ok;
  }
};

}  // namespace

std::unique_ptr<FileOps> MakePlatformFileOps() { return std::make_unique<Win32FileOps>(); }

}  // namespace tolvashu
