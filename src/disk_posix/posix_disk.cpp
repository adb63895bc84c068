#include "disk_posix/posix_disk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <utility>

#include "disk/path_parts.h"
#include "disk_posix/durability.h"
#include "disk_posix/entry_removal.h"
#include "disk_posix/folder_lock.h"
#include "disk_posix/open_files.h"
#include "disk_posix/rename.h"
#include "disk_posix/system_error.h"
#include "disk_posix/temporary_file.h"

namespace tolvashu {

namespace {

constexpr mode_t kWritableByAnyone = 0222;
constexpr mode_t kNewFolderMode = 0777;  // the umask takes its share
constexpr mode_t kNewFileMode = 0666;    // the umask takes its share
// Never hang on a pipe met by mistake, never take a terminal for our own.
constexpr int kOpenFlags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;

bool IsFolder(const ResolvedPath& path) { return path.exists && S_ISDIR(path.status.st_mode); }
bool IsRegularFile(const ResolvedPath& path) { return path.exists && S_ISREG(path.status.st_mode); }

std::vector<Listed> Filtered(const std::vector<Listed>& entries, const ListingFilter& wanted) {
  if (!wanted) return entries;
  std::vector<Listed> chosen;
  for (const Listed& entry : entries) {
    if (wanted(entry.name, entry.hidden)) chosen.push_back(entry);
  }
  return chosen;
}

// Folders of our own are known by the path as the caller named them, with
// no separator at its end.
std::string OwnKey(const std::string& path) { return WithoutSeparator(path); }

}  // namespace

// Read-only as Wine shows a file to Windows programs: nobody may write it.
// Root may write anything, and a Windows program may still not replace or
// delete a read-only file, whoever runs it: the bits say it, not access().
Entry EntryOf(const ResolvedPath& resolved) {
  Entry entry;
  entry.name = resolved.name;
  if (!resolved.folder_exists) {
    entry.kind = EntryKind::kNoFolder;
  } else if (!resolved.exists) {
    entry.kind = EntryKind::kNone;
  } else {
    const mode_t mode = resolved.status.st_mode;
    entry.kind = S_ISREG(mode) ? EntryKind::kFile : S_ISDIR(mode) ? EntryKind::kFolder : EntryKind::kOther;
    entry.read_only = (mode & kWritableByAnyone) == 0;
    entry.hidden = !entry.name.empty() && entry.name.front() == '.';
    entry.size = static_cast<std::uint64_t>(resolved.status.st_size);
  }
  return entry;
}

ResolvedPath PosixDisk::Resolve(const std::string& path) {
  std::optional<Looked> looked = std::exchange(looked_, std::nullopt);
  if (looked && (looked->asked == path || looked->held == path)) return std::move(looked->resolved);
  return resolver_.Resolve(path);
}

void PosixDisk::KeepLook(const std::string& path, const ResolvedPath& resolved) {
  looked_ = Looked{path, FolderPart(path) + resolved.name, resolved};
}

std::string PosixDisk::CurrentFolder() {
  // "." still names the current directory when the system cannot spell it.
  return WorkingFolder().value_or(".");
}

// The name as the folder holds it comes with every lookup here.
Result<Entry> PosixDisk::Look(const std::string& path, Spelling spelling) {
  ResolvedPath resolved = Resolve(path);
  if (resolved.unknown) return DiskError::Unknown();
  Entry entry = EntryOf(resolved);
  if (spelling == Spelling::kAsAsked) {
    const std::string asked = WithoutSeparator(path);
    entry.name = asked.substr(NameStart(asked));
  }
  KeepLook(path, resolved);
  return entry;
}

Result<std::string> PosixDisk::FolderIdentity(const std::string& path) {
  ResolvedPath folder = Resolve(path);
  if (folder.unknown) return DiskError::Unknown();
  if (!IsFolder(folder)) return DiskError::Absent("no such folder");
  return std::to_string(folder.status.st_dev) + ":" + std::to_string(folder.status.st_ino);
}

// A folder whose changes are followed is read whole once and its listing
// kept for as long as nothing is added to it or removed from it; any other
// is read anew each time, and only the entries wanted are looked at. A
// followed folder that can no longer be read (its permissions changed) is
// listed by the names the notifications kept: each of its files can still
// be named, and tells why it cannot be used when it is. A hidden folder of
// our own that this disk made (a holding folder) is listed once, at its
// end: it is read, and not followed.
Result<std::vector<Listed>> PosixDisk::List(const std::string& folder_path, const ListingFilter& wanted) {
  ResolvedPath folder = Resolve(folder_path.empty() ? "." : folder_path);
  if (folder.unknown) return DiskError::Unknown();
  if (!IsFolder(folder)) return DiskError::Absent("no such folder");
  if (own_folders_.count(OwnKey(folder_path)) != 0) return ReadFolder(folder.path, wanted);
  std::optional<FolderNames::Stamp> stamp = resolver_.names().StampOf(folder.path, folder.status);
  if (!stamp) return ReadFolder(folder.path, wanted);
  const std::vector<Listed>* kept = listings_.Find(folder.path, *stamp);
  if (kept == nullptr) {
    Result<std::vector<Listed>> read = ReadFolder(folder.path, nullptr);
    if (!read.ok()) {
      if (std::optional<std::vector<Listed>> known = KnownEntries(folder, wanted)) return std::move(*known);
      return read;
    }
    listings_.Keep(folder.path, *stamp, std::move(*read));
    kept = listings_.Find(folder.path, *stamp);
  }
  return Filtered(*kept, wanted);
}

// An entry that cannot be looked at may be a file.
std::optional<std::vector<Listed>> PosixDisk::KnownEntries(const ResolvedPath& folder, const ListingFilter& wanted) {
  std::optional<std::vector<std::string>> names = resolver_.names().FollowedNames(folder.path, folder.status);
  if (!names) return std::nullopt;
  std::vector<Listed> entries;
  for (std::string& name : *names) {
    const bool hidden = name.front() == '.';
    if (wanted && !wanted(name, hidden)) continue;
    struct stat status;
    EntryKind kind = EntryKind::kFile;
    if (stat(ChildPath(folder.path, name).c_str(), &status) == 0) {
      kind = S_ISREG(status.st_mode) ? EntryKind::kFile : S_ISDIR(status.st_mode) ? EntryKind::kFolder : EntryKind::kOther;
    } else if (errno == ENOENT) {
      continue;
    }
    entries.push_back({std::move(name), kind, hidden});
  }
  return entries;
}

// The kernel grants a read lease only while nobody has the file open for
// writing. Where leases cannot be had (another owner's file, a network or
// user-space file system) nobody can tell, and the file is opened.
Result<std::unique_ptr<InputFile>> PosixDisk::OpenRead(const std::string& path, ReadSharing sharing) {
  ResolvedPath file = Resolve(path);
  if (file.unknown) return DiskError::Unknown();
  if (!file.exists) return DiskError::Absent();
  if (!S_ISREG(file.status.st_mode)) return DiskError::WrongKind();
  UniqueFd fd(open(file.path.c_str(), O_RDONLY | kOpenFlags));
  if (!fd.valid()) return ErrorOf(errno);
  struct stat status;
  if (fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return DiskError::WrongKind();
  if (sharing == ReadSharing::kUnlessWritten) {
    if (fcntl(fd.get(), F_SETLEASE, F_RDLCK) != 0) {
      if (errno == EAGAIN) return Failed(FailureCause::kInUse, "being written");
    } else {
      fcntl(fd.get(), F_SETLEASE, F_UNLCK);
    }
  }
  return std::unique_ptr<InputFile>(std::make_unique<PosixInputFile>(std::move(fd)));
}

// A name starting with '.' is hidden: a new hidden file needs nothing more.
Result<std::unique_ptr<OutputFile>> PosixDisk::OpenWrite(const std::string& path, WriteMode mode) {
  ResolvedPath file = Resolve(path);
  if (file.unknown) return DiskError::Unknown();
  if (!file.folder_exists || file.name.empty()) return DiskError::NoFolder();
  int flags = O_WRONLY | kOpenFlags;
  if (mode == WriteMode::kCreateNewHidden) {
    if (file.exists) return DiskError::Taken();
    flags |= O_CREAT | O_EXCL;
  } else {
    if (file.exists && !S_ISREG(file.status.st_mode)) return DiskError::WrongKind();
    flags |= O_TRUNC | (file.exists ? 0 : O_CREAT);
  }
  UniqueFd fd(open(file.path.c_str(), flags, kNewFileMode));
  if (!fd.valid()) return FailedWith(errno);
  if (!file.exists) resolver_.names().NoteAdded(file.folder, file.name);
  return std::unique_ptr<OutputFile>(std::make_unique<PosixOutputFile>(std::move(fd)));
}

// The source is opened as written first, which is all it takes when its
// names are spelled as on disk. Only when that fails is it looked up name by
// name, which finds another spelling and tells a missing source from one in
// a folder that cannot be read.
Result<PosixDisk::CopySource> PosixDisk::OpenCopySource(const std::string& path) {
  CopySource source;
  source.fd = UniqueFd(open(resolver_.AsWritten(path).c_str(), O_RDONLY | kOpenFlags));
  if (!source.fd.valid()) {
    ResolvedPath resolved = resolver_.Resolve(path);
    if (resolved.unknown) return DiskError::Unknown();
    if (!resolved.exists) return DiskError::Absent();
    if (!IsRegularFile(resolved)) return DiskError::WrongKind();
    source.fd = UniqueFd(open(resolved.path.c_str(), O_RDONLY | kOpenFlags));
    if (!source.fd.valid()) return errno == ENOENT ? DiskError::Absent() : FailedWith(errno);
  }
  if (fstat(source.fd.get(), &source.status) != 0) return FailedWith(errno);
  if (!S_ISREG(source.status.st_mode)) return DiskError::WrongKind();  // a folder, a pipe
  return source;
}

Result<std::string> PosixDisk::FolderFor(const std::string& to, bool& own) {
  const std::string named = FolderPart(to);
  auto known = own_folders_.find(OwnKey(named));
  own = known != own_folders_.end();
  if (own) return known->second;
  ResolvedPath folder = resolver_.Resolve(named.empty() ? "." : named);
  if (folder.unknown) return DiskError::Unknown();
  if (!IsFolder(folder)) return DiskError::NoFolder();
  return folder.path;
}

std::optional<DiskError> PosixDisk::HeldElsewhere(const std::string& named, const ResolvedPath& file) {
  if (own_folders_.count(OwnKey(FolderPart(named))) != 0) return std::nullopt;
  if (!held_.HeldByAnother(file.path, file.status)) return std::nullopt;
  return Failed(FailureCause::kInUse, "open in another program");
}

Result<void> PosixDisk::Rename(const std::string& from, const std::string& to) {
  ResolvedPath file = Resolve(from);
  if (file.unknown) return DiskError::Unknown();
  if (!file.exists) return DiskError::Absent();
  if (std::optional<DiskError> held = HeldElsewhere(from, file)) return *held;
  const std::string name = to.substr(NameStart(to));
  bool own = false;
  Result<std::string> folder = FolderFor(to, own);
  if (!folder.ok()) return folder.error();
  int error = RenameWithoutReplacing(AT_FDCWD, file.path.c_str(), AT_FDCWD, ChildPath(*folder, name).c_str());
  if (error == ENOENT && own) {  // the folder kept was moved or removed since
    own_folders_.erase(OwnKey(FolderPart(to)));
    folder = FolderFor(to, own);
    if (!folder.ok()) return folder.error();
    error = RenameWithoutReplacing(AT_FDCWD, file.path.c_str(), AT_FDCWD, ChildPath(*folder, name).c_str());
  }
  if (error == EEXIST) return DiskError::Taken();
  if (error != 0) return FailedWith(error);
  resolver_.names().NoteRemoved(file.folder, file.name);
  resolver_.names().NoteAdded(*folder, name);
  return {};
}

Result<void> PosixDisk::RemoveFile(const std::string& path) {
  ResolvedPath file = Resolve(path);
  if (file.unknown) return DiskError::Unknown();
  if (!file.exists) return DiskError::Absent();
  if (S_ISDIR(file.status.st_mode)) return DiskError::WrongKind();
  if (std::optional<DiskError> held = HeldElsewhere(path, file)) return *held;
  if (unlink(file.path.c_str()) != 0) return errno == ENOENT ? DiskError::Absent() : FailedWith(errno);
  resolver_.names().NoteRemoved(file.folder, file.name);
  return {};
}

// Each file is removed by its name through a handle of the folder: nothing
// is looked at first. The folder itself goes next (RemoveFolder), so its
// own listing is not kept up to date.
Result<void, RemovalError> PosixDisk::RemoveFiles(const std::string& folder_path, const std::vector<std::string>& names) {
  ResolvedPath folder = Resolve(folder_path);
  if (folder.unknown) return RemovalError{{}, DiskError::Unknown()};
  if (!folder.exists) return {};
  UniqueFd fd(open(folder.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd.valid()) return RemovalError{{}, FailedWith(errno)};
  if (std::optional<EntryRemovalFailure> refused = RemoveEntries(fd.get(), names)) {
    return RemovalError{refused->name, FailedWith(refused->error)};
  }
  return {};
}

Result<void> PosixDisk::RemoveFolder(const std::string& path) {
  own_folders_.erase(OwnKey(path));
  ResolvedPath folder = Resolve(path);
  if (folder.unknown) return DiskError::Unknown();
  if (!folder.exists) return DiskError::Absent();
  if (rmdir(folder.path.c_str()) != 0) return errno == ENOENT ? DiskError::Absent() : FailedWith(errno);
  resolver_.names().NoteRemoved(folder.folder, folder.name);
  return {};
}

void PosixDisk::RemoveAbandonedTemporaryFiles(const std::string& folder_path) {
  ResolvedPath folder = Resolve(folder_path);
  if (!IsFolder(folder)) return;
  for (const std::string& name : RemoveLeftoverTemporaryFiles(folder.path)) {
    resolver_.names().NoteRemoved(folder.path, name);
  }
}

// A name starting with '.' is hidden: a hidden folder needs nothing more.
Result<void> PosixDisk::MakeFolder(const std::string& path, Visibility visibility) {
  ResolvedPath folder = Resolve(path);
  if (folder.unknown) return DiskError::Unknown();
  if (!folder.folder_exists || folder.name.empty()) return DiskError::NoFolder();
  if (folder.exists) return DiskError::Taken();
  if (mkdir(folder.path.c_str(), kNewFolderMode) != 0) return errno == EEXIST ? DiskError::Taken() : FailedWith(errno);
  resolver_.names().NoteAdded(folder.folder, folder.name);
  if (visibility == Visibility::kHidden) own_folders_[OwnKey(path)] = folder.path;
  return {};
}

// What an unprivileged writer may still use: root's reserve does not count.
Result<VolumeSpace> PosixDisk::FreeSpace(const std::string& path) {
  ResolvedPath folder = Resolve(path);
  if (!IsFolder(folder)) return DiskError::Unknown();
  struct statvfs volume;
  if (statvfs(folder.path.c_str(), &volume) != 0 || volume.f_frsize == 0) return DiskError::Unknown();
  return VolumeSpace{std::uint64_t{volume.f_bavail} * volume.f_frsize, volume.f_frsize};
}

Result<std::unique_ptr<FolderLock>> PosixDisk::LockFolder(const std::string& path) {
  ResolvedPath folder = Resolve(path);
  if (folder.unknown) return DiskError::Unknown();
  if (!IsFolder(folder)) return DiskError::Absent("no such folder");
  Result<std::unique_ptr<FolderLock>> lock = LockFolderOnDisk(folder.path);
  // Each operation takes the lock first, and looks afresh at what others hold.
  if (lock.ok()) {
    if (char* real = realpath(folder.path.c_str(), nullptr)) {
      held_.Watch(real);
      std::free(real);
    }
  }
  return lock;
}

Result<void> PosixDisk::SyncFolder(const std::string& path) {
  ResolvedPath folder = Resolve(path);
  if (!IsFolder(folder) || !SyncFolderOnDisk(folder.path)) return Failed(FailureCause::kOther, "cannot be made durable");
  return {};
}

Result<void> PosixDisk::MakeDurable(const std::vector<std::string>& written, const std::vector<std::string>& changed) {
  const DiskError not_durable = Failed(FailureCause::kOther, "cannot be made durable");
  std::vector<std::string> folders;
  for (const std::string& path : changed) {
    ResolvedPath folder = Resolve(path);
    if (!IsFolder(folder)) return not_durable;
    folders.push_back(std::move(folder.path));
  }
  bool file_by_file = false;
  bool ok = SyncFolders(folders, write_back_.watched(), file_by_file);
  if (file_by_file) {
    for (const std::string& path : written) {
      ResolvedPath file = Resolve(path);
      ok = IsRegularFile(file) && SyncFileOnDisk(file.path) && ok;
    }
  }
  if (!ok) return not_durable;
  return {};
}

// The helper writes into the destination's folder as the path spells it,
// and opens the source the same way: where the disk spells either
// otherwise, it writes nothing and StageCopy does the copy itself.
void PosixDisk::ExpectCopies(std::vector<ExpectedCopy> copies) {
  std::vector<CopyAhead::Job> jobs;
  jobs.reserve(copies.size());
  std::string folder, folder_on_disk;  // the last destination folder, which most copies share
  for (ExpectedCopy& copy : copies) {
    std::string source_on_disk = resolver_.AsWritten(copy.source);
    std::string destination_folder = FolderPart(copy.destination);
    if (destination_folder != folder) {
      folder_on_disk = resolver_.AsWritten(destination_folder);
      folder = std::move(destination_folder);
    }
    jobs.push_back({std::move(copy.source), std::move(copy.destination), std::move(source_on_disk), folder_on_disk});
  }
  copy_ahead_.Expect(std::move(jobs));
}

std::unique_ptr<Disk> MakePlatformDisk() { return std::make_unique<PosixDisk>(); }

}  // namespace tolvashu
