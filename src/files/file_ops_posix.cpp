// The file layer on POSIX, with the Windows semantics that Wine gives a Unix
// tree: names resolved case-insensitively (path_resolver_posix.h), dot-files
// hidden, files that nobody may write read-only.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <system_error>
#include <unordered_map>

#include "files/content_copy_posix.h"
#include "files/copy_ahead_posix.h"
#include "files/durability_posix.h"
#include "files/entry_removal_posix.h"
#include "files/folder_entries_posix.h"
#include "files/file_ops.h"
#include "files/folder_handles_posix.h"
#include "files/folder_watch_posix.h"
#include "files/matching_files_posix.h"
#include "files/open_files_posix.h"
#include "files/path_resolver_posix.h"
#include "files/pattern_parts.h"
#include "files/rename_posix.h"
#include "files/temporary_file_posix.h"
#include "files/unique_fd_posix.h"
#include "files/write_back_posix.h"

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

// Folders of our own are known by the path as the caller named them, with
// no separator at its end.
std::string OwnKey(std::string path) {
  while (!path.empty() && IsPathSeparator(path.back())) path.pop_back();
  return path;
}

// The caller's decision on how a copy's new content takes its place, asked
// once, when the content is complete.
class PendingPlacement {
 public:
  PendingPlacement(const PlaceNewContent& place, std::string destination, bool exists)
      : place_(place), destination_(std::move(destination)), exists_(exists) {}
  const Placement& Decide() {
    if (!decided_) decided_ = place_(destination_, exists_);
    return *decided_;
  }
  const std::optional<Placement>& decided() const { return decided_; }

 private:
  const PlaceNewContent& place_;
  const std::string destination_;
  const bool exists_;
  std::optional<Placement> decided_;
};

// WriteAndMoveTo's result when the caller refused to let the content in.
constexpr int kRefused = -1;

class PosixFileOps : public FileOps {
 public:
  std::string CurrentFolder() override;
  bool MakeFolder(const std::string& path) override;
  DeleteResult DeleteMatching(const std::string& pattern) override;
  FileList ListFiles(const std::string& pattern) override;
  std::unique_ptr<FolderWatch> WatchFolder(const std::string& pattern) override;
  CopyResult CopyFile(const std::string& source, const std::string& destination,
                      const PlaceNewContent& place) override;
  void ExpectCopies(std::vector<ExpectedCopy> copies) override;
  bool IsSameFolder(const std::string& a, const std::string& b) override;
  std::optional<bool> HasFile(const std::string& path) override;
  void RemoveLeftoverTemporaryFiles(const std::string& folder) override;
  Opened<InputFile> OpenInput(const std::string& path) override;
  Opened<OutputFile> OpenOutput(const std::string& path) override;
  MoveResult MoveIntoFolder(const std::string& path, const std::string& folder) override;
  std::optional<FileFailure> RemoveFile(const std::string& path) override;
  std::optional<FileFailure> RemoveFolder(const std::string& path) override;
  std::optional<FileFailure> RemoveOwnFolder(const std::string& path) override;
  std::optional<std::vector<FolderEntry>> ListEntries(const std::string& folder) override;
  std::optional<FileFailure> MakeHiddenFolder(const std::string& path) override;
  Opened<OutputFile> CreateHiddenFile(const std::string& path) override;
  Opened<InputFile> OpenUnlessWritten(const std::string& path) override;
  bool SyncFolder(const std::string& folder) override;
  bool MakeDurable(const std::vector<std::string>& written, const std::vector<std::string>& changed) override;

 private:
  // The source of a copy, open for reading, with its status.
  struct CopySource {
    UniqueFd fd;
    struct stat status {};
    CopyResult failure;  // why there is none, when fd is not valid
  };
  CopySource OpenCopySource(const std::string& path);
  // An existing ordinary file, open for reading; an invalid handle, with
  // `refused` saying why, when there is none.
  UniqueFd OpenForReading(const std::string& path, Opened<InputFile>& refused);
  CopyResult CopyOver(const std::string& source_path, CopySource& source, const ResolvedPath& destination,
                      PendingPlacement& placement, std::optional<CopyAhead::Written>& ahead);
  int WriteAndMoveTo(const CopySource& source, const ResolvedPath& destination, PendingPlacement& placement,
                     std::optional<CopyAhead::Written>& ahead, bool& kept);
  // The on-disk path of the folder `path` names; "" when there is none.
  std::string FolderOnDisk(const std::string& path, std::optional<FileFailure>& failure);

  // The on-disk path of a folder of our own that MakeHiddenFolder made, as
  // the caller named it: the moves into it need not look it up again.
  std::string OwnFolderOnDisk(const std::string& path, std::optional<FileFailure>& failure);

  PathResolver resolver_;
  FolderHandles folders_;
  WriteBack write_back_;
  CopyAhead copy_ahead_;
  std::unordered_map<std::string, std::string> own_folders_;  // as named -> on disk
  // The destination of the copy under way, as the caller's placement sees
  // it, so that a move of that file aside reuses its lookup.
  const std::string* placing_ = nullptr;
  const ResolvedPath* placing_resolved_ = nullptr;
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

CopyResult PosixFileOps::CopyFile(const std::string& source_path, const std::string& destination_path,
                                  const PlaceNewContent& place) {
  std::optional<CopyAhead::Written> ahead = copy_ahead_.Take(source_path, destination_path);
  CopySource source;
  if (ahead && !ahead->file.valid()) {  // opened ahead only: copied here
    source = {std::move(ahead->source), ahead->source_status, {}};
    ahead.reset();
  } else if (ahead) {
    source.status = ahead->source_status;
  } else if (!(source = OpenCopySource(source_path)).fd.valid()) {
    return source.failure;
  }
  ResolvedPath destination = resolver_.Resolve(destination_path);
  if (destination.unknown) return FolderUnreadable(destination_path);
  if (!destination.folder_exists) return Failed(FailureCause::kOther, "folder missing");
  if (IsFolder(destination)) return Failed(FailureCause::kOther, "is a folder");
  if (destination.exists && IsReadOnly(destination.status)) return Failed(FailureCause::kDenied, kReadOnly);

  std::string as_held = destination_path.substr(0, NameStart(destination_path)) + destination.name;
  placing_ = &as_held;
  placing_resolved_ = &destination;
  PendingPlacement placement(place, as_held, destination.exists);
  CopyResult result = CopyOver(source_path, source, destination, placement, ahead);
  placing_ = nullptr;
  placing_resolved_ = nullptr;
  const bool moved_away = placement.decided() && !placement.decided()->replace_existing;
  if (result.ok() && (!destination.exists || moved_away)) {
    resolver_.names().NoteAdded(destination.folder, destination.name);
  } else {
    resolver_.names().NoteReplaced(destination.folder);  // a temporary file came and went
  }
  return result;
}

// Writes the whole content into a temporary file beside the destination,
// then gives it the destination's name (keeping the spelling of an existing
// name) by a link or a rename. There is no fsync here: the file takes the
// name only whole, so a failed copy never leaves a half-written
// destination, and the transfer makes all of its files durable at once when
// it commits (MakeDurable), which costs far less than syncing every one of
// its thousands of files. The write-back helper keeps the content moving to
// the disk meanwhile.
//
// The temporary file is made through a handle of the destination's folder
// kept from earlier copies. Should that handle stand for a folder moved or
// removed since, the copy fails or its temporary file starts out in the
// moved folder; the link or rename still puts it where the path leads. A
// copy that failed through a kept handle is made once more through a new
// one, and one whose content was written ahead (copy_ahead_posix.h) once
// more from the source itself. The old file may be moved aside by then, so
// a source that is gone at that point fails the copy.
CopyResult PosixFileOps::CopyOver(const std::string& source_path, CopySource& source,
                                  const ResolvedPath& destination, PendingPlacement& placement,
                                  std::optional<CopyAhead::Written>& ahead) {
  bool kept = false;
  const bool written_ahead = ahead.has_value();
  int error = WriteAndMoveTo(source, destination, placement, ahead, kept);
  if (error > 0 && (kept || written_ahead)) {
    if (kept) folders_.Forget(destination.folder);
    if (!source.fd.valid()) source = OpenCopySource(source_path);
    if (!source.fd.valid()) return source.failure.outcome == CopyOutcome::kFailed ? source.failure : Failed(error);
    if (lseek(source.fd.get(), 0, SEEK_SET) == 0) error = WriteAndMoveTo(source, destination, placement, ahead, kept);
  }
  if (error == kRefused) return {CopyOutcome::kFailed, placement.decided()->refused->cause,
                                  placement.decided()->refused->reason, {}};
  return error == 0 ? Copied() : Failed(error);
}

// Returns 0, kRefused or the errno value of the failure; `kept` tells
// whether the folder's handle was kept from an earlier copy.
int PosixFileOps::WriteAndMoveTo(const CopySource& source, const ResolvedPath& destination,
                                 PendingPlacement& placement, std::optional<CopyAhead::Written>& ahead, bool& kept) {
  FolderHandles::Handle folder = folders_.Get(destination.folder);
  kept = folder.kept;
  if (folder.fd < 0) return errno;
  if (!folder.kept) write_back_.Watch(destination.folder);
  TemporaryFile temporary;
  if (ahead) {
    temporary.AdoptUnnamed(folder.fd, std::move(ahead->file));
    ahead.reset();
  } else {
    if (int error = temporary.Create(folder.fd, *folder.unnamed_files)) return error;
    if (int error = CopyContent(source.fd.get(), temporary.fd(), source.status.st_size)) return error;
    temporary.KeepModificationTime(source.status.st_mtim);
    temporary.StartWritingBack(source.status.st_size);
  }
  write_back_.Written(source.status.st_size);
  const Placement& decided = placement.Decide();
  if (decided.refused) return kRefused;
  return temporary.MoveTo(destination.path, decided.replace_existing);
}

// The helper writes into the destination's folder as the path spells it,
// and opens the source the same way: where the disk spells either
// otherwise, it writes nothing and CopyFile does the copy itself.
void PosixFileOps::ExpectCopies(std::vector<ExpectedCopy> copies) {
  std::vector<CopyAhead::Job> jobs;
  jobs.reserve(copies.size());
  std::string folder, folder_on_disk;  // the last destination folder, which most copies share
  for (ExpectedCopy& copy : copies) {
    std::string source_on_disk = resolver_.AsWritten(copy.source);
    std::string destination_folder = copy.destination.substr(0, NameStart(copy.destination));
    if (destination_folder != folder) {
      folder_on_disk = resolver_.AsWritten(destination_folder);
      folder = std::move(destination_folder);
    }
    jobs.push_back({std::move(copy.source), std::move(copy.destination), std::move(source_on_disk), folder_on_disk});
  }
  copy_ahead_.Expect(std::move(jobs));
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

UniqueFd PosixFileOps::OpenForReading(const std::string& path, Opened<InputFile>& refused) {
  ResolvedPath file = resolver_.Resolve(path);
  if (file.unknown) {
    refused = NotOpened<InputFile>(FailureCause::kUnreadable, kCannotList);
  } else if (!IsRegularFile(file)) {
    refused = NotOpened<InputFile>(FailureCause::kOther, "no such file");
  } else {
    UniqueFd fd(open(file.path.c_str(), O_RDONLY | kOpenFlags));
    if (fd.valid()) return fd;
    refused = NotOpened<InputFile>(CauseOf(errno), ErrorText(errno));
  }
  return UniqueFd();
}

Opened<InputFile> PosixFileOps::OpenInput(const std::string& path) {
  Opened<InputFile> refused;
  UniqueFd fd = OpenForReading(path, refused);
  if (!fd.valid()) return refused;
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

std::string PosixFileOps::FolderOnDisk(const std::string& path, std::optional<FileFailure>& failure) {
  ResolvedPath folder = resolver_.Resolve(path);
  if (folder.unknown) failure = FileFailure{path, FailureCause::kUnreadable, kCannotList};
  return IsFolder(folder) ? folder.path : std::string();
}

// A name starting with '.' is hidden: nothing else to do.
std::optional<FileFailure> PosixFileOps::MakeHiddenFolder(const std::string& path) {
  ResolvedPath folder = resolver_.Resolve(path);
  if (folder.unknown) return FileFailure{path, FailureCause::kUnreadable, kCannotList};
  if (!folder.folder_exists || folder.name.empty()) return FileFailure{path, FailureCause::kOther, "folder missing"};
  if (folder.exists) return FileFailure{path, FailureCause::kOther, "already there"};
  if (mkdir(folder.path.c_str(), kNewFolderMode) != 0) return FileFailure{path, CauseOf(errno), ErrorText(errno)};
  resolver_.names().NoteAdded(folder.folder, folder.name);
  own_folders_[OwnKey(path)] = folder.path;
  return std::nullopt;
}

std::string PosixFileOps::OwnFolderOnDisk(const std::string& path, std::optional<FileFailure>& failure) {
  auto known = own_folders_.find(OwnKey(path));
  if (known != own_folders_.end()) return known->second;
  std::string folder = FolderOnDisk(path, failure);
  if (folder.empty() && !failure) failure = FileFailure{path, FailureCause::kOther, "folder missing"};
  return folder;
}

// The file is looked up once: a move aside during a copy's placement takes
// the lookup the copy has just made of that very destination.
MoveResult PosixFileOps::MoveIntoFolder(const std::string& path, const std::string& folder_path) {
  MoveResult result;
  ResolvedPath file = placing_ && *placing_ == path ? *placing_resolved_ : resolver_.Resolve(path);
  if (file.unknown) result.failure = FileFailure{path, FailureCause::kUnreadable, kCannotList};
  if (!IsRegularFile(file)) return result;
  if (IsReadOnly(file.status)) {
    result.failure = FileFailure{path, FailureCause::kDenied, kReadOnly};
    return result;
  }
  std::string folder = OwnFolderOnDisk(folder_path, result.failure);
  if (folder.empty()) return result;
  int error = RenameWithoutReplacing(AT_FDCWD, file.path.c_str(), AT_FDCWD, ChildPath(folder, file.name).c_str());
  if (error == ENOENT && own_folders_.erase(OwnKey(folder_path)) != 0) {  // the folder kept was moved or removed since
    folder = OwnFolderOnDisk(folder_path, result.failure);
    if (folder.empty()) return result;
    error = RenameWithoutReplacing(AT_FDCWD, file.path.c_str(), AT_FDCWD, ChildPath(folder, file.name).c_str());
  }
  if (error != 0) {
    result.failure = FileFailure{path, CauseOf(error), ErrorText(error)};
    return result;
  }
  resolver_.names().NoteRemoved(file.folder, file.name);
  resolver_.names().NoteAdded(folder, file.name);
  result.moved = true;
  result.name = file.name;
  return result;
}

std::optional<FileFailure> PosixFileOps::RemoveFile(const std::string& path) {
  ResolvedPath file = resolver_.Resolve(path);
  if (file.unknown) return FileFailure{path, FailureCause::kUnreadable, kCannotList};
  if (!file.exists) return std::nullopt;
  if (!S_ISREG(file.status.st_mode)) return FileFailure{path, FailureCause::kOther, "not a file"};
  if (IsReadOnly(file.status)) return FileFailure{path, FailureCause::kDenied, kReadOnly};
  if (unlink(file.path.c_str()) != 0 && errno != ENOENT) return FileFailure{path, CauseOf(errno), ErrorText(errno)};
  resolver_.names().NoteRemoved(file.folder, file.name);
  return std::nullopt;
}

std::optional<FileFailure> PosixFileOps::RemoveFolder(const std::string& path) {
  ResolvedPath folder = resolver_.Resolve(path);
  if (folder.unknown) return FileFailure{path, FailureCause::kUnreadable, kCannotList};
  if (!folder.exists) return std::nullopt;
  if (rmdir(folder.path.c_str()) != 0 && errno != ENOENT) return FileFailure{path, CauseOf(errno), ErrorText(errno)};
  resolver_.names().NoteRemoved(folder.folder, folder.name);
  return std::nullopt;
}

// Each file is removed by its name through a handle of the folder: no
// file is looked at first, for all of them were put there by the transfer.
std::optional<FileFailure> PosixFileOps::RemoveOwnFolder(const std::string& path) {
  own_folders_.erase(OwnKey(path));
  ResolvedPath folder = resolver_.Resolve(path);
  if (folder.unknown) return FileFailure{path, FailureCause::kUnreadable, kCannotList};
  if (!folder.exists) return std::nullopt;
  DIR* dir = opendir(folder.path.c_str());
  if (dir == nullptr) return FileFailure{path, CauseOf(errno), ErrorText(errno)};
  std::vector<std::string> names;
  int error = ForEachEntry(dir, [&](const dirent& entry) {
    names.emplace_back(entry.d_name);
    return true;
  });
  std::optional<EntryRemovalFailure> refused = RemoveEntries(dirfd(dir), names);
  closedir(dir);
  if (refused) return FileFailure{path + refused->name, CauseOf(refused->error), ErrorText(refused->error)};
  if (error != 0) return FileFailure{path, FailureCause::kUnreadable, ErrorText(error)};
  return RemoveFolder(path);
}

std::optional<std::vector<FolderEntry>> PosixFileOps::ListEntries(const std::string& folder_path) {
  ResolvedPath folder = resolver_.Resolve(folder_path);
  if (folder.unknown) return std::nullopt;
  std::vector<FolderEntry> entries;
  if (!IsFolder(folder)) return entries;
  DIR* dir = opendir(folder.path.c_str());
  if (dir == nullptr) return std::nullopt;
  int error = ForEachEntry(dir, [&](const dirent& entry) {
    struct stat status;
    bool is_folder = entry.d_type == DT_DIR ||
                     (entry.d_type == DT_UNKNOWN && fstatat(dirfd(dir), entry.d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
                      S_ISDIR(status.st_mode));
    entries.push_back({entry.d_name, is_folder});
    return true;
  });
  closedir(dir);
  if (error != 0) return std::nullopt;
  return entries;
}

Opened<OutputFile> PosixFileOps::CreateHiddenFile(const std::string& path) {
  ResolvedPath file = resolver_.Resolve(path);
  if (file.unknown) return NotOpened<OutputFile>(FailureCause::kUnreadable, kCannotList);
  if (!file.folder_exists || file.name.empty()) return NotOpened<OutputFile>(FailureCause::kOther, "folder missing");
  if (file.exists) return NotOpened<OutputFile>(FailureCause::kOther, "already there");
  UniqueFd fd(open(file.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | kOpenFlags, kNewFileMode));
  if (!fd.valid()) return NotOpened<OutputFile>(CauseOf(errno), ErrorText(errno));
  resolver_.names().NoteAdded(file.folder, file.name);
  return {std::make_unique<PosixOutputFile>(std::move(fd)), FailureCause::kOther, {}};
}

// The kernel grants a read lease only while nobody has the file open for
// writing. Where leases cannot be had (another owner's file, a network or
// user-space file system) nobody can tell, and the file is opened.
Opened<InputFile> PosixFileOps::OpenUnlessWritten(const std::string& path) {
  Opened<InputFile> refused;
  UniqueFd fd = OpenForReading(path, refused);
  if (!fd.valid()) return refused;
  if (fcntl(fd.get(), F_SETLEASE, F_RDLCK) != 0) {
    if (errno == EAGAIN) return NotOpened<InputFile>(FailureCause::kInUse, "being written");
  } else {
    fcntl(fd.get(), F_SETLEASE, F_UNLCK);
  }
  return {std::make_unique<PosixInputFile>(std::move(fd)), FailureCause::kOther, {}};
}

bool PosixFileOps::SyncFolder(const std::string& path) {
  std::optional<FileFailure> failure;
  std::string folder = FolderOnDisk(path, failure);
  return !folder.empty() && SyncFolderOnDisk(folder);
}

bool PosixFileOps::MakeDurable(const std::vector<std::string>& written, const std::vector<std::string>& changed) {
  std::vector<std::string> folders;
  for (const std::string& path : changed) {
    std::optional<FileFailure> failure;
    std::string folder = FolderOnDisk(path, failure);
    if (folder.empty()) return false;
    folders.push_back(std::move(folder));
  }
  bool file_by_file = false;
  bool ok = SyncFolders(folders, write_back_.watched(), file_by_file);
  if (!file_by_file) return ok;
  for (const std::string& path : written) {
    ResolvedPath file = resolver_.Resolve(path);
    ok = IsRegularFile(file) && SyncFileOnDisk(file.path) && ok;
  }
  return ok;
}

}  // namespace

std::unique_ptr<FileOps> MakePlatformFileOps() { return std::make_unique<PosixFileOps>(); }

}  // namespace tolvashu
