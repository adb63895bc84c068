// The file semantics, written once over the disk's primitives. Each
// operation looks at what a path names first and decides from that entry,
// so that every platform refuses and reports alike; the primitive that
// follows is handed the name as the folder holds it.
#include "files/file_ops.h"

#include <utility>

#include "disk/path_parts.h"
#include "disk/temporary_name.h"
#include "files/pattern_parts.h"
#include "files/wildcard.h"
#include "text/case_fold.h"
#include "text/text_codec.h"

namespace tolvashu {

namespace {

constexpr char kReadOnly[] = "read-only";
constexpr char kCannotList[] = "folder cannot be listed";
constexpr char kFolderMissing[] = "folder missing";
constexpr char kNotAFile[] = "not a file";
constexpr char kNoSuchFile[] = "no such file";
constexpr char kAlreadyThere[] = "already there";

// The path of what `entry` found at `path`: its folder as the caller wrote
// it, its name as the folder holds it.
std::string AsHeld(const std::string& path, const Entry& entry) { return FolderPart(path) + entry.name; }

// A read-only file is never replaced, moved aside or deleted, whoever runs
// the program: Windows refuses it, and root on Linux (or Wine as root)
// would not.
std::optional<FileFailure> ReadOnlyRefusal(const std::string& path, const Entry& entry) {
  if (entry.kind == EntryKind::kFile && entry.read_only) return FileFailure{path, FailureCause::kDenied, kReadOnly};
  return std::nullopt;
}

// A failure of `path` told in the user's terms: a folder on the way that
// cannot be read is unreadable, a missing folder is just that, and anything
// else keeps the cause and the words the disk gave.
FileFailure FailureOf(const std::string& path, const DiskError& error) {
  switch (error.kind) {
    case DiskError::kUnknown:
      return {path, FailureCause::kUnreadable, kCannotList};
    case DiskError::kNoFolder:
      return {path, FailureCause::kOther, kFolderMissing};
    default:
      return {path, error.cause, error.reason};
  }
}

bool SaysNothingIsThere(const DiskError& error) {
  return error.kind == DiskError::kAbsent || error.kind == DiskError::kNoFolder;
}

CopyResult Copied() { return {CopyOutcome::kCopied, FailureCause::kOther, {}, {}}; }
CopyResult SourceMissing() { return {CopyOutcome::kSourceMissing, FailureCause::kOther, {}, {}}; }
CopyResult Failed(FailureCause cause, std::string reason) {
  return {CopyOutcome::kFailed, cause, std::move(reason), {}};
}
CopyResult Failed(const FileFailure& failure) { return Failed(failure.cause, failure.reason); }
// The folder of `path` could not be read, so what the path names is not known.
CopyResult FolderUnreadable(const std::string& path) {
  return {CopyOutcome::kFailed, FailureCause::kUnreadable, kCannotList, FolderPart(path)};
}

// A source that is not there, or is no ordinary file (a folder, a device, a
// pipe), is a missing source: normal, and never a failure.
CopyResult StagingFailure(const std::string& source, const std::string& destination, const StageError& failed) {
  const DiskError& error = failed.error;
  if (failed.at_source) {
    switch (error.kind) {
      case DiskError::kUnknown:
        return FolderUnreadable(source);
      case DiskError::kFailed:
        return Failed(error.cause, error.reason);
      default:
        return SourceMissing();
    }
  }
  if (error.kind == DiskError::kUnknown) return FolderUnreadable(destination);
  return Failed(FailureOf(destination, error));
}

template <typename File>
Opened<File> NotOpened(const FileFailure& failure) {
  return {nullptr, failure.cause, failure.reason};
}

template <typename File>
Opened<File> OpenedOrNot(Result<std::unique_ptr<File>> opened, const std::string& path) {
  if (opened.ok()) return {std::move(*opened), FailureCause::kOther, {}};
  const DiskError& error = opened.error();
  if (error.kind == DiskError::kWrongKind) return {nullptr, FailureCause::kOther, kNotAFile};
  if (SaysNothingIsThere(error) || error.kind == DiskError::kMalformed) return {nullptr, FailureCause::kOther, kNoSuchFile};
  return NotOpened<File>(FailureOf(path, error));
}

// Hidden files and our own are never data; "*" and "*.*" match every other
// name, and need no folding.
ListingFilter DataFilesMatching(const std::string& pattern) {
  const bool every_name = pattern == "*" || pattern == "*.*";
  std::u32string folded = every_name ? std::u32string() : FoldCodePoints(pattern);
  return [every_name, folded = std::move(folded)](std::string_view name, bool hidden) {
    if (hidden || IsOwnName(name)) return false;  // before folding: most skipped entries cost nothing
    return every_name || MatchesWildcard(folded, FoldCodePoints(name));
  };
}

}  // namespace

// --- StagedCopy -------------------------------------------------------------

StagedCopy::StagedCopy(std::unique_ptr<StagedFile> staged, FoundFile destination)
    : result_(Copied()), staged_(std::move(staged)), destination_(std::move(destination)) {}

CopyResult StagedCopy::Keep() {
  if (!staged_) return result_.ok() ? Failed(FailureCause::kOther, "kept already") : result_;
  Result<void> kept = staged_->Keep();
  staged_.reset();
  if (kept.ok()) return Copied();
  if (kept.error().kind == DiskError::kTaken) return Failed(FailureCause::kOther, kAlreadyThere);
  return Failed(FailureOf(destination_.path, kept.error()));
}

// --- FileOps ----------------------------------------------------------------

FileOps::FileOps(Disk& disk) : disk_(disk) {}

FileOps::FileOps(std::unique_ptr<Disk> owned) : owned_(std::move(owned)), disk_(*owned_) {}

FileOps::~FileOps() = default;

std::optional<Entry> FileOps::LookAt(const std::string& path, Spelling spelling,
                                     std::optional<FileFailure>& refused) {
  Result<Entry> entry = disk_.Look(path, spelling);
  if (entry.ok()) return std::move(*entry);
  refused = FailureOf(path, entry.error());
  return std::nullopt;
}

std::string FileOps::CurrentFolder() { return disk_.CurrentFolder(); }

// An unreadable parent might hold the name in another case: making it
// anyway could give the folder a twin.
bool FileOps::MakeFolder(const std::string& path) {
  Result<Entry> entry = disk_.Look(path, Spelling::kAsAsked);
  if (!entry.ok() || entry->kind != EntryKind::kNone) return false;
  return disk_.MakeFolder(path, Visibility::kShown).ok();
}

// A folder path names no file: deleting "every file" for it would empty
// the folder whenever a caller's name came out empty. Every match is tried:
// one that cannot be deleted is listed, and the others are still deleted.
DeleteResult FileOps::DeleteMatching(const std::string& pattern) {
  DeleteResult result;
  if (NameStart(pattern) == pattern.size()) return result;
  FileList matches = ListFiles(pattern);
  if (matches.unreadable) result.failures.push_back(*matches.unreadable);
  const std::string folder = FolderPart(pattern);
  for (const std::string& name : matches.names) {
    std::optional<FileFailure> refused;
    std::optional<Entry> entry = LookAt(folder + name, Spelling::kAsAsked, refused);  // the name as listed
    if (entry && entry->kind != EntryKind::kFile) continue;  // gone meanwhile
    if (entry) refused = ReadOnlyRefusal(folder + name, *entry);
    if (!refused) {
      Result<void> removed = disk_.RemoveFile(folder + name);
      if (removed.ok()) {
        ++result.deleted;
        continue;
      }
      if (SaysNothingIsThere(removed.error())) continue;
      refused = FailureOf(folder + name, removed.error());
    }
    result.failures.push_back(std::move(*refused));
  }
  return result;
}

// A plain name is looked up like any path: the folder is not read.
FileList FileOps::ListNamedFile(const std::string& path, const std::string& folder) {
  FileList list;
  Result<Entry> entry = disk_.Look(path, Spelling::kAsHeld);
  if (!entry.ok()) {
    if (entry.error().kind == DiskError::kMalformed) {
      list.malformed = true;
    } else {
      list.unreadable = FileFailure{folder, FailureCause::kUnreadable, kCannotList};
    }
  } else if (entry->kind == EntryKind::kFile && !entry->hidden && !IsOwnName(entry->name)) {
    list.names.push_back(entry->name);
  }
  return list;
}

FileList FileOps::ListFiles(const std::string& pattern) {
  FileList list;
  std::optional<PatternParts> parts = SplitPattern(pattern);
  if (!parts) {
    list.malformed = true;
    return list;
  }
  if (!HasWildcard(parts->name)) return ListNamedFile(pattern, parts->folder);
  Result<std::vector<Listed>> listed = disk_.List(parts->folder, DataFilesMatching(parts->name));
  if (!listed.ok()) {
    const DiskError& error = listed.error();
    if (error.kind == DiskError::kMalformed) list.malformed = true;
    if (!SaysNothingIsThere(error) && error.kind != DiskError::kMalformed) {
      list.unreadable = FileFailure{parts->folder, error.cause, error.reason};
    }
    return list;
  }
  for (Listed& entry : *listed) {
    if (entry.kind == EntryKind::kFile) list.names.push_back(std::move(entry.name));
  }
  return list;
}

StagedCopy FileOps::StageCopy(const std::string& source, const std::string& destination) {
  Result<std::unique_ptr<StagedFile>, StageError> staged = disk_.StageCopy(source, destination, chunk_hook_);
  if (!staged.ok()) return StagedCopy(StagingFailure(source, destination, staged.error()));
  const Entry& entry = (*staged)->destination();
  if (entry.kind == EntryKind::kFolder) return StagedCopy(Failed(FailureCause::kOther, "is a folder"));
  if (entry.kind == EntryKind::kOther) return StagedCopy(Failed(FailureCause::kOther, kNotAFile));
  if (std::optional<FileFailure> refused = ReadOnlyRefusal(destination, entry)) return StagedCopy(Failed(*refused));
  FoundFile found{AsHeld(destination, entry), entry.exists()};
  return StagedCopy(std::move(*staged), std::move(found));
}

// An existing destination steps aside under a name of our own while the new
// content takes its name, and goes only then: a copy that fails leaves the
// old file where it was.
CopyResult FileOps::CopyFile(const std::string& source, const std::string& destination) {
  StagedCopy copy = StageCopy(source, destination);
  if (!copy.ok()) return copy.result();
  if (!copy.destination().exists) return copy.Keep();
  const std::string target = copy.destination().path;
  const std::string aside = FolderPart(target) + MakeAsideName();
  if (Result<void> moved = disk_.Rename(target, aside); !moved.ok()) return Failed(FailureOf(target, moved.error()));
  CopyResult kept = copy.Keep();
  if (!kept.ok()) {
    // Should even the way back fail, the old content stays whole, hidden
    // under the name of our own, and the user is told where.
    if (!disk_.Rename(aside, target).ok()) kept.reason += "; the old file is kept as " + aside;
    return kept;
  }
  // A file that cannot be removed stays hidden under a name of our own.
  static_cast<void>(disk_.RemoveFile(aside));
  return kept;
}

void FileOps::ExpectCopies(std::vector<ExpectedCopy> copies) { disk_.ExpectCopies(std::move(copies)); }

bool FileOps::IsSameFolder(const std::string& a, const std::string& b) {
  Result<std::string> first = disk_.FolderIdentity(a);
  if (!first.ok()) return false;
  Result<std::string> second = disk_.FolderIdentity(b);
  return second.ok() && *first == *second;
}

std::optional<bool> FileOps::HasFile(const std::string& path) {
  Result<Entry> entry = disk_.Look(path, Spelling::kAsAsked);
  if (!entry.ok()) return entry.error().kind == DiskError::kMalformed ? std::optional<bool>(false) : std::nullopt;
  return entry->kind == EntryKind::kFile;
}

FolderLocked FileOps::LockFolder(const std::string& folder) {
  Result<std::unique_ptr<FolderLock>> locked = disk_.LockFolder(folder);
  if (locked.ok()) return {std::move(*locked), false};
  return {nullptr, locked.error().kind == DiskError::kTaken};
}

std::optional<bool> FileOps::HasFileNamedExactly(const std::string& path) {
  Result<Entry> entry = disk_.Look(path, Spelling::kAsHeld);
  if (!entry.ok()) return entry.error().kind == DiskError::kMalformed ? std::optional<bool>(false) : std::nullopt;
  return entry->kind == EntryKind::kFile && entry->name == path.substr(NameStart(path));
}

std::optional<bool> FileOps::HasFolder(const std::string& path) {
  Result<Entry> entry = disk_.Look(path, Spelling::kAsAsked);
  if (!entry.ok()) return entry.error().kind == DiskError::kMalformed ? std::optional<bool>(false) : std::nullopt;
  return entry->kind == EntryKind::kFolder;
}

void FileOps::RemoveLeftoverTemporaryFiles(const std::string& folder) { disk_.RemoveAbandonedTemporaryFiles(folder); }

MoveResult FileOps::MoveIntoFolder(const std::string& path, const std::string& folder) {
  MoveResult result;
  std::optional<Entry> entry = LookAt(path, Spelling::kAsHeld, result.failure);
  if (!entry || entry->kind != EntryKind::kFile) return result;
  if ((result.failure = ReadOnlyRefusal(path, *entry))) return result;
  result = MoveIntoFolder(FoundFile{AsHeld(path, *entry), true}, folder);
  if (result.failure) result.failure->path = path;
  return result;
}

MoveResult FileOps::MoveIntoFolder(const FoundFile& file, const std::string& folder) {
  MoveResult result;
  const std::string name = file.path.substr(NameStart(file.path));
  Result<void> renamed = disk_.Rename(file.path, WithSeparator(folder) + name);
  if (!renamed.ok()) {
    result.failure = FailureOf(file.path, renamed.error());
    return result;
  }
  result.moved = true;
  result.name = name;
  return result;
}

std::optional<FileFailure> FileOps::RemoveFile(const std::string& path) {
  std::optional<FileFailure> refused;
  std::optional<Entry> entry = LookAt(path, Spelling::kAsAsked, refused);
  if (!entry) return refused;
  if (!entry->exists()) return std::nullopt;
  if (entry->kind != EntryKind::kFile) return FileFailure{path, FailureCause::kOther, kNotAFile};
  if ((refused = ReadOnlyRefusal(path, *entry))) return refused;
  Result<void> removed = disk_.RemoveFile(path);
  if (removed.ok() || SaysNothingIsThere(removed.error())) return std::nullopt;
  return FailureOf(path, removed.error());
}

std::optional<FileFailure> FileOps::RemoveFolder(const std::string& path) {
  Result<void> removed = disk_.RemoveFolder(path);
  if (removed.ok() || SaysNothingIsThere(removed.error())) return std::nullopt;
  return FailureOf(path, removed.error());
}

// Everything in a folder of our own is ours to remove, whatever its
// attributes; the disk may remove many files at once.
std::optional<FileFailure> FileOps::RemoveOwnFolder(const std::string& path) {
  Result<std::vector<Listed>> entries = disk_.List(path, nullptr);
  if (!entries.ok()) {
    if (SaysNothingIsThere(entries.error())) return std::nullopt;
    return FileFailure{path, FailureCause::kUnreadable, entries.error().reason};
  }
  std::vector<std::string> names;
  names.reserve(entries->size());
  for (Listed& entry : *entries) names.push_back(std::move(entry.name));
  Result<void, RemovalError> removed = disk_.RemoveFiles(path, names);
  if (!removed.ok()) return FailureOf(WithSeparator(path) + removed.error().name, removed.error().error);
  return RemoveFolder(path);
}

std::optional<std::vector<FolderEntry>> FileOps::ListEntries(const std::string& folder) {
  Result<std::vector<Listed>> listed = disk_.List(folder, nullptr);
  std::vector<FolderEntry> entries;
  if (!listed.ok()) {
    if (SaysNothingIsThere(listed.error())) return entries;
    return std::nullopt;
  }
  entries.reserve(listed->size());
  for (Listed& entry : *listed) entries.push_back({std::move(entry.name), entry.kind == EntryKind::kFolder});
  return entries;
}

std::optional<FileFailure> FileOps::MakeHiddenFolder(const std::string& path) {
  std::optional<FileFailure> refused;
  std::optional<Entry> entry = LookAt(path, Spelling::kAsAsked, refused);
  if (!entry) return refused;
  if (entry->kind == EntryKind::kNoFolder) return FileFailure{path, FailureCause::kOther, kFolderMissing};
  if (entry->exists()) return FileFailure{path, FailureCause::kOther, kAlreadyThere};
  Result<void> made = disk_.MakeFolder(path, Visibility::kHidden);
  if (!made.ok()) return FailureOf(path, made.error());
  return std::nullopt;
}

Opened<OutputFile> FileOps::CreateHiddenFile(const std::string& path) {
  std::optional<FileFailure> refused;
  std::optional<Entry> entry = LookAt(path, Spelling::kAsAsked, refused);
  if (!entry) return NotOpened<OutputFile>(*refused);
  if (entry->kind == EntryKind::kNoFolder) return {nullptr, FailureCause::kOther, kFolderMissing};
  if (entry->exists()) return {nullptr, FailureCause::kOther, kAlreadyThere};
  return OpenedOrNot(disk_.OpenWrite(path, WriteMode::kCreateNewHidden), path);
}

Opened<InputFile> FileOps::OpenUnlessWritten(const std::string& path) {
  return OpenedOrNot(disk_.OpenRead(path, ReadSharing::kUnlessWritten), path);
}

bool FileOps::SyncFolder(const std::string& folder) { return disk_.SyncFolder(folder).ok(); }

bool FileOps::MakeDurable(const std::vector<std::string>& written, const std::vector<std::string>& changed) {
  return disk_.MakeDurable(written, changed).ok();
}

Opened<InputFile> FileOps::OpenInput(const std::string& path) {
  return OpenedOrNot(disk_.OpenRead(path, ReadSharing::kWithEveryone), path);
}

Opened<OutputFile> FileOps::OpenOutput(const std::string& path) {
  std::optional<FileFailure> refused;
  std::optional<Entry> entry = LookAt(path, Spelling::kAsAsked, refused);
  if (!entry) return NotOpened<OutputFile>(*refused);
  if (entry->kind == EntryKind::kNoFolder || entry->name.empty()) return {nullptr, FailureCause::kOther, kFolderMissing};
  if (entry->exists() && entry->kind != EntryKind::kFile) return {nullptr, FailureCause::kOther, kNotAFile};
  if ((refused = ReadOnlyRefusal(path, *entry))) return NotOpened<OutputFile>(*refused);
  return OpenedOrNot(disk_.OpenWrite(path, WriteMode::kCreateOrTruncate), path);
}

// --- The enumeration ----------------------------------------------------------

std::optional<std::string> FileOps::FirstEntry(const std::string& pattern) {
  next_entry_ = 0;
  entries_.reset();
  FileList list = ListFiles(pattern);
  last_failure_ = std::move(list.unreadable);
  if (!list.ok()) return std::nullopt;
  entries_ = std::move(list.names);
  return NextEntry();
}

std::optional<std::string> FileOps::NextEntry() {
  if (!entries_) return std::nullopt;
  if (next_entry_ >= entries_->size()) return std::string();
  return (*entries_)[next_entry_++];
}

// --- The current file ---------------------------------------------------------

template <typename File>
std::unique_ptr<File> FileOps::Keep(const std::string& path, Opened<File> opened) {
  if (opened.file) {
    last_failure_.reset();
  } else {
    last_failure_ = FileFailure{path, opened.cause, std::move(opened.reason)};
  }
  return std::move(opened.file);
}

void FileOps::SetChunkHook(std::function<void()> hook) {
  disk_.SetWaitHook(hook);
  chunk_hook_ = std::move(hook);
}

bool FileOps::OpenForWriting(const std::string& path) {
  last_failure_.reset();
  if (input_ || output_) return false;  // file number 1 is in use
  output_ = Keep(path, OpenOutput(path));
  return output_ != nullptr;
}

bool FileOps::CreateEmpty(const std::string& path) {
  if (!OpenForWriting(path)) return false;
  return CloseAll();
}

bool FileOps::OpenForReading(const std::string& path) {
  last_failure_.reset();
  if (input_ || output_) return false;  // file number 1 is in use
  input_ = Keep(path, OpenInput(path));
  return input_ != nullptr;
}

bool FileOps::LoadInput() {
  if (!input_) return false;
  if (reader_) return true;
  std::optional<std::string> bytes = input_->ReadAll();
  if (!bytes) return false;
  reader_.emplace(DecodeCp932(*bytes));
  return true;
}

std::optional<std::string> FileOps::ReadItem() {
  if (!LoadInput()) return std::nullopt;
  return reader_->ReadItem();
}

std::optional<bool> FileOps::AtEnd() {
  if (!LoadInput()) return std::nullopt;
  return reader_->AtEnd();
}

bool FileOps::WriteLine(const std::string& text) {
  if (!output_) return false;
  std::optional<std::string> bytes = EncodeCp932(text);
  if (!bytes) return false;
  bytes->append("\r\n");
  return output_->Write(*bytes);
}

bool FileOps::CloseAll() {
  bool ok = true;
  if (output_) ok = output_->Close();
  output_.reset();
  input_.reset();
  reader_.reset();
  return ok;
}

std::unique_ptr<FileOps> MakePlatformFileOps() { return std::make_unique<FileOps>(MakePlatformDisk()); }

}  // namespace tolvashu
