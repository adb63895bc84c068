// The file layer on POSIX, with the Windows semantics that Wine gives a Unix
// tree: names resolved case-insensitively (path_resolver_posix.h), dot-files
// hidden, files that nobody may write read-only.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <system_error>

#include "files/content_copy_posix.h"
#include "files/file_ops.h"
#include "files/folder_handles_posix.h"
#include "files/folder_watch_posix.h"
#include "files/matching_files_posix.h"
#include "files/open_files_posix.h"
#include "files/path_resolver_posix.h"
#include "files/pattern_parts.h"
#include "files/temporary_file_posix.h"
#include "files/unique_fd_posix.h"

namespace tolvashu {

namespace {

constexpr mode_t kWritableByAnyone = 0222;
constexpr mode_t kNewFolderMode = 0777;  // the umask takes its share
constexpr mode_t kNewFileMode = 0666;    // the umask takes its share
// Never hang on a pipe met by mistake, never take a terminal for our own.
constexpr int kOpenFlags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;

// Read-only as Wine shows a file to Windows programs: nobody may write it.
// We check the bits ourselves, since root may write anything, and a Windows
// program may not replace or delete a read-only file, whoever runs it.
bool IsReadOnly(const struct stat& status) { return (status.st_mode & kWritableByAnyone) == 0; }

bool IsFolder(const ResolvedPath& path) { return path.exists && S_ISDIR(path.status.st_mode); }
bool IsRegularFile(const ResolvedPath& path) { return path.exists && S_ISREG(path.status.st_mode); }

constexpr char kReadOnly[] = "read-only";
constexpr char kCannotList[] = "folder cannot be listed";

std::string ErrorText(int error) { return std::generic_category().message(error); }

// What the user can do about an errno value.
FailureCause CauseOf(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return FailureCause::kDenied;
    case ENOSPC:
    case EDQUOT:
      return FailureCause::kDiskFull;
    case ETXTBSY:
    case EBUSY:
      return FailureCause::kInUse;
    default:
      return FailureCause::kOther;
  }
}

CopyResult Copied() { return {CopyOutcome::kCopied, FailureCause::kOther, {}, {}}; }
CopyResult SourceMissing() { return {CopyOutcome::kSourceMissing, FailureCause::kOther, {}, {}}; }
CopyResult Failed(FailureCause cause, std::string reason) {
  return {CopyOutcome::kFailed, cause, std::move(reason), {}};
}
CopyResult Failed(int error) { return Failed(CauseOf(error), ErrorText(error)); }
// The folder of `windows_path` could not be read, so what the path names is not known.
CopyResult FolderUnreadable(std::string_view windows_path) {
  return {CopyOutcome::kFailed, FailureCause::kUnreadable, kCannotList,
          std::string(windows_path.substr(0, NameStart(windows_path)))};
}

template <typename File>
Opened<File> NotOpened(FailureCause cause, std::string reason) {
  return {nullptr, cause, std::move(reason)};
}

class PosixFileOps : public FileOps {
 public:
  std::string CurrentFolder() override;
  bool MakeFolder(const std::string& path) override;
  DeleteResult DeleteMatching(const std::string& pattern) override;
  FileList ListFiles(const std::string& pattern) override;
  std::unique_ptr<FolderWatch> WatchFolder(const std::string& pattern) override;
  CopyResult CopyFile(const std::string& source, const std::string& destination) override;
  bool IsSameFolder(const std::string& a, const std::string& b) override;
  std::optional<bool> HasFile(const std::string& path) override;
  void RemoveLeftoverTemporaryFiles(const std::string& folder) override;
  Opened<InputFile> OpenInput(const std::string& path) override;
  Opened<OutputFile> OpenOutput(const std::string& path) override;

 private:
  // The source of a copy, open for reading, with its status.
  struct CopySource {
    UniqueFd fd;
    struct stat status {};
    CopyResult failure;  // why there is none, when fd is not valid
  };
  CopySource OpenCopySource(const std::string& path);
  CopyResult CopyOver(int source, const struct stat& source_status, const ResolvedPath& destination);
  int WriteAndMoveOver(int source, const struct stat& source_status, const ResolvedPath& destination, bool& kept);

  PathResolver resolver_;
  FolderHandles folders_;
};

std::string PosixFileOps::CurrentFolder() {
  // "." still names the current directory when the system cannot spell it.
  return WorkingFolder().value_or(".");
}

bool PosixFileOps::MakeFolder(const std::string& path) {
  ResolvedPath folder = resolver_.Resolve(path);
  // An unreadable parent might hold the name in another case: making it
  // anyway could give the folder a twin.
  if (folder.unknown || !folder.folder_exists || folder.exists || folder.name.empty()) return false;
  if (mkdir(folder.path.c_str(), kNewFolderMode) != 0) return false;
  resolver_.names().NoteAdded(folder.folder, folder.name);
  return true;
}

// Every match is tried: one that cannot be deleted is listed and the others
// are still deleted. The matches are reached through a handle of their
// folder, opened for this call: by name alone, not by a path looked up anew
// for each of them.
DeleteResult PosixFileOps::DeleteMatching(const std::string& pattern) {
  DeleteResult result;
  MatchingFiles matches = FindMatchingFiles(resolver_, pattern, EmptyName::kNoFile, NameSource::kKnownNames);
  if (matches.unreadable) result.failures.push_back(*matches.unreadable);
  if (matches.names.empty()) return result;
  UniqueFd folder(open(matches.folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!folder.valid()) {  // gone meanwhile, and its files with it, or out of reach
    if (!SaysAbsent(errno)) result.failures.push_back({matches.named_folder, FailureCause::kUnreadable, ErrorText(errno)});
    return result;
  }
  for (const std::string& name : matches.names) {
    struct stat status;
    if (fstatat(folder.get(), name.c_str(), &status, 0) != 0) {  // a file that cannot be looked at may be there
      if (!SaysAbsent(errno)) result.failures.push_back({matches.named_folder + name, CauseOf(errno), ErrorText(errno)});
      continue;
    }
    if (!S_ISREG(status.st_mode)) continue;
    if (IsReadOnly(status)) {
      result.failures.push_back({matches.named_folder + name, FailureCause::kDenied, kReadOnly});
    } else if (unlinkat(folder.get(), name.c_str(), 0) != 0) {
      if (errno != ENOENT) result.failures.push_back({matches.named_folder + name, CauseOf(errno), ErrorText(errno)});
    } else {
      ++result.deleted;
      resolver_.names().NoteRemoved(matches.folder, name);
    }
  }
  return result;
}

FileList PosixFileOps::ListFiles(const std::string& pattern) {
  MatchingFiles matches = FindMatchingFiles(resolver_, pattern, EmptyName::kEveryFile);
  return {std::move(matches.names), matches.malformed, std::move(matches.unreadable)};
}

std::unique_ptr<FolderWatch> PosixFileOps::WatchFolder(const std::string& pattern) {
  return WatchFolderOf(resolver_, pattern);
}

// The source is opened as written first, which is all it takes when its
// names are spelled as on disk. Only when that fails is it looked up name by
// name, which finds another spelling and tells a missing source from one in
// a folder that cannot be read.
PosixFileOps::CopySource PosixFileOps::OpenCopySource(const std::string& path) {
  CopySource source;
  source.fd = UniqueFd(open(resolver_.AsWritten(path).c_str(), O_RDONLY | kOpenFlags));
  if (!source.fd.valid()) {
    ResolvedPath resolved = resolver_.Resolve(path);
    if (resolved.unknown) return {UniqueFd(), {}, FolderUnreadable(path)};
    if (!IsRegularFile(resolved)) return {UniqueFd(), {}, SourceMissing()};
    source.fd = UniqueFd(open(resolved.path.c_str(), O_RDONLY | kOpenFlags));
    if (!source.fd.valid()) return {UniqueFd(), {}, errno == ENOENT ? SourceMissing() : Failed(errno)};
  }
  if (fstat(source.fd.get(), &source.status) != 0) return {UniqueFd(), {}, Failed(errno)};
  if (!S_ISREG(source.status.st_mode)) return {UniqueFd(), {}, SourceMissing()};  // a folder, a pipe
  return source;
}

CopyResult PosixFileOps::CopyFile(const std::string& source_path, const std::string& destination_path) {
  CopySource source = OpenCopySource(source_path);
  if (!source.fd.valid()) return source.failure;
  ResolvedPath destination = resolver_.Resolve(destination_path);
  if (destination.unknown) return FolderUnreadable(destination_path);
  if (!destination.folder_exists) return Failed(FailureCause::kOther, "folder missing");
  if (IsFolder(destination)) return Failed(FailureCause::kOther, "is a folder");
  if (destination.exists && IsReadOnly(destination.status)) return Failed(FailureCause::kDenied, kReadOnly);

  CopyResult result = CopyOver(source.fd.get(), source.status, destination);
  if (result.ok() && !destination.exists) {
    resolver_.names().NoteAdded(destination.folder, destination.name);
  } else {
    resolver_.names().NoteReplaced(destination.folder);  // a temporary file came and went
  }
  return result;
}

// Writes the whole content beside the destination, then renames it over the
// destination (keeping the spelling of an existing name). There is no fsync:
// the rename already guarantees that a failed copy never leaves a half-written
// destination, and syncing every one of the installer's thousands of files
// would make it many times slower than an ordinary copy. After a power cut
// the file system's own journal decides, as it does for any other program.
//
// The temporary file is made through a handle of the destination's folder
// kept from earlier copies. Should that handle stand for a folder moved or
// removed since, the copy fails or its temporary file starts out in the
// moved folder; the rename still puts it where the path leads. A copy that
// failed through a kept handle is made once more through a new one.
CopyResult PosixFileOps::CopyOver(int source, const struct stat& source_status, const ResolvedPath& destination) {
  bool kept = false;
  int error = WriteAndMoveOver(source, source_status, destination, kept);
  if (error != 0 && kept) {
    folders_.Forget(destination.folder);
    if (lseek(source, 0, SEEK_SET) == 0) error = WriteAndMoveOver(source, source_status, destination, kept);
  }
  return error == 0 ? Copied() : Failed(error);
}

// Returns 0 or the errno value of the failure; `kept` tells whether the
// folder's handle was kept from an earlier copy.
int PosixFileOps::WriteAndMoveOver(int source, const struct stat& source_status, const ResolvedPath& destination,
                                   bool& kept) {
  FolderHandles::Handle folder = folders_.Get(destination.folder);
  kept = folder.kept;
  if (folder.fd < 0) return errno;
  TemporaryFile temporary;
  if (int error = temporary.Create(folder.fd)) return error;
  if (int error = CopyContent(source, temporary.fd(), source_status.st_size)) return error;
  temporary.KeepModificationTime(source_status.st_mtim);
  return temporary.MoveOver(destination.path);
}

bool PosixFileOps::IsSameFolder(const std::string& a, const std::string& b) {
  ResolvedPath first = resolver_.Resolve(a);
  ResolvedPath second = resolver_.Resolve(b);
  return IsFolder(first) && IsFolder(second) && first.status.st_dev == second.status.st_dev &&
         first.status.st_ino == second.status.st_ino;
}

std::optional<bool> PosixFileOps::HasFile(const std::string& path) {
  ResolvedPath file = resolver_.Resolve(path);
  if (file.unknown) return std::nullopt;
  return IsRegularFile(file);
}

void PosixFileOps::RemoveLeftoverTemporaryFiles(const std::string& folder_path) {
  ResolvedPath folder = resolver_.Resolve(folder_path);
  if (!IsFolder(folder)) return;
  for (const std::string& name : tolvashu::RemoveLeftoverTemporaryFiles(folder.path)) {
    resolver_.names().NoteRemoved(folder.path, name);
  }
}

Opened<InputFile> PosixFileOps::OpenInput(const std::string& path) {
  ResolvedPath file = resolver_.Resolve(path);
  if (file.unknown) return NotOpened<InputFile>(FailureCause::kUnreadable, kCannotList);
  if (!IsRegularFile(file)) return NotOpened<InputFile>(FailureCause::kOther, "no such file");
  UniqueFd fd(open(file.path.c_str(), O_RDONLY | kOpenFlags));
  if (!fd.valid()) return NotOpened<InputFile>(CauseOf(errno), ErrorText(errno));
  struct stat status;
  if (fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return NotOpened<InputFile>(FailureCause::kOther, "not a file");
  }
  return {std::make_unique<PosixInputFile>(std::move(fd)), FailureCause::kOther, {}};
}

Opened<OutputFile> PosixFileOps::OpenOutput(const std::string& path) {
  ResolvedPath file = resolver_.Resolve(path);
  if (file.unknown) return NotOpened<OutputFile>(FailureCause::kUnreadable, kCannotList);
  if (!file.folder_exists || file.name.empty()) return NotOpened<OutputFile>(FailureCause::kOther, "folder missing");
  if (file.exists && !S_ISREG(file.status.st_mode)) return NotOpened<OutputFile>(FailureCause::kOther, "not a file");
  if (file.exists && IsReadOnly(file.status)) return NotOpened<OutputFile>(FailureCause::kDenied, kReadOnly);
  const int create = file.exists ? 0 : O_CREAT;
  UniqueFd fd(open(file.path.c_str(), O_WRONLY | O_TRUNC | create | kOpenFlags, kNewFileMode));
  if (!fd.valid()) return NotOpened<OutputFile>(CauseOf(errno), ErrorText(errno));
  if (!file.exists) resolver_.names().NoteAdded(file.folder, file.name);
  return {std::make_unique<PosixOutputFile>(std::move(fd)), FailureCause::kOther, {}};
}

}  // namespace

std::unique_ptr<FileOps> MakePlatformFileOps() { return std::make_unique<PosixFileOps>(); }

}  // namespace tolvashu
