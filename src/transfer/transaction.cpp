#include "transfer/transaction.h"

#include <algorithm>
#include <set>
#include <utility>

#include "disk/path_parts.h"
#include "disk/temporary_name.h"
#include "files/wildcard.h"
#include "text/case_fold.h"

namespace tolvashu {

namespace {

constexpr char kJournalNotWritten[] = "the journal cannot be written";
constexpr char kNotDurable[] = "cannot be made durable";
constexpr char kCannotEmpty[] = "cannot be emptied";

// Copies taken in one batch: enough to spread one journal sync over many
// files, few enough that the handles of staged content stay far within
// what a process may hold open.
constexpr std::size_t kBatchFiles = 256;

CopyResult Refused(const FileFailure& failure) { return {CopyOutcome::kFailed, failure.cause, failure.reason, {}}; }
// A failure of another file than the copy's destination.
CopyResult RefusedAt(FileFailure failure) {
  return {CopyOutcome::kFailed, failure.cause, std::move(failure.reason), std::move(failure.path)};
}

// Truncates or creates `path` through the current file. A failure counts
// unless a look that needs no sharing rights shows that no file of that
// name is there: with no file at all (its folder is missing, say) nothing
// old survives.
std::optional<FileFailure> EmptyFile(FileOps& files, const std::string& path) {
  if (files.CreateEmpty(path)) return std::nullopt;
  std::optional<FileFailure> failure = files.LastFailure();
  // Opening it may have failed only because another program holds it: the
  // folder's own record of it decides whether it is there.
  if (files.HasFile(path) == false) return std::nullopt;
  return failure ? std::move(*failure) : FileFailure{path, FailureCause::kOther, kCannotEmpty};
}

// The folders of `folder` (relative, ending with a separator) from the
// outermost in: «a\b\» gives «a\» and «a\b\».
std::vector<std::string> FolderLevels(const std::string& folder) {
  std::vector<std::string> levels;
  for (std::size_t at = folder.find_first_of(kPathSeparators); at != std::string::npos;
       at = folder.find_first_of(kPathSeparators, at + 1)) {
    levels.push_back(folder.substr(0, at + 1));
  }
  return levels;
}

}  // namespace

Transaction::Transaction(FileOps& files, std::string destination)
    : files_(files),
      destination_(std::move(destination)),
      id_(MakeOwnId()),
      journal_path_(destination_ + JournalName(id_)) {}

Transaction::~Transaction() = default;

std::optional<FileFailure> Transaction::Begin() {
  Opened<OutputFile> opened = files_.CreateHiddenFile(journal_path_);
  if (!opened.file) return FileFailure{journal_path_, opened.cause, opened.reason};
  journal_ = std::move(opened.file);
  // The journal's own entry in the folder must survive a power cut too.
  if (journal_->Write(JournalHeader(id_)) && journal_->Sync() && files_.SyncFolder(destination_)) {
    return std::nullopt;
  }
  RemoveJournal();
  return FileFailure{journal_path_, FailureCause::kOther, kJournalNotWritten};
}

// A journal that failed once is not written again: a record cut short in
// the middle of it would make every record after it unreadable.
bool Transaction::Write(const std::string& lines) {
  if (!journal_ || journal_failed_) return false;
  if (journal_->Write(lines) && journal_->Flush()) return true;
  journal_failed_ = true;
  return false;
}

bool Transaction::Write(JournalRecord::Kind kind, const std::string& path) {
  return Write(JournalLine(id_, {kind, path}));
}

bool Transaction::SyncJournal() {
  if (!journal_ || journal_failed_) return false;
  if (journal_->Sync()) return true;
  journal_failed_ = true;
  return false;
}

bool Transaction::WriteDurably(JournalRecord::Kind kind, const std::string& path) {
  return Write(kind, path) && SyncJournal();
}

std::optional<FileFailure> Transaction::KeepBatch() {
  if (batch_.empty()) return std::nullopt;
  std::vector<Staged> batch = std::exchange(batch_, {});
  batch_keys_.clear();
  if (!Write(std::exchange(batch_records_, {})) || !SyncJournal()) return JournalFailure();
  for (Staged& staged : batch) {
    CopyResult kept = staged.copy.Keep();
    if (!kept.ok()) return FileFailure{destination_ + staged.path, kept.cause, std::move(kept.reason)};
  }
  return std::nullopt;
}

bool Transaction::InBatch(const std::string& path) const { return batch_keys_.count(FoldName(path)) != 0; }

// By the names alone, whatever their folders: a batch kept too early costs
// only a sync.
bool Transaction::BatchMayMatch(const std::string& pattern) const {
  const std::u32string wanted = FoldCodePoints(pattern.substr(NameStart(pattern)));
  return std::any_of(batch_.begin(), batch_.end(), [&](const Staged& staged) {
    return MatchesWildcard(wanted, FoldCodePoints(staged.path.substr(NameStart(staged.path))));
  });
}

FileFailure Transaction::JournalFailure() const { return {journal_path_, FailureCause::kOther, kJournalNotWritten}; }

std::optional<std::string> Transaction::HoldingFolder(const std::string& folder, std::optional<FileFailure>& failure) {
  const std::string path = destination_ + folder + HoldingFolderName(id_);
  const std::vector<std::string>& made = record_.holding_folders();
  if (std::find(made.begin(), made.end(), folder) != made.end()) return path + "\\";
  // Elsewhere than in the folders the next start always looks into, found
  // through its record alone.
  const bool written = SearchedForHoldingFolders(folder) ? Write(JournalRecord::kFolder, folder)
                                                         : WriteDurably(JournalRecord::kFolder, folder);
  if (!written) {
    failure = JournalFailure();
    return std::nullopt;
  }
  if (std::optional<FileFailure> refused = files_.MakeHiddenFolder(path)) {
    failure = FileFailure{destination_ + folder, refused->cause, refused->reason};
    return std::nullopt;
  }
  record_.HoldingFolderMade(folder);
  return path + "\\";
}

std::optional<FileFailure> Transaction::MoveAside(const std::string& path) {
  std::optional<FileFailure> failure;
  std::optional<std::string> holding = HoldingFolder(FolderPart(path), failure);
  if (!holding) return failure;
  return files_.MoveIntoFolder(destination_ + path, *holding).failure;
}

std::optional<FileFailure> Transaction::MoveAside(const FoundFile& file) {
  std::optional<FileFailure> failure;
  std::optional<std::string> holding = HoldingFolder(FolderPart(file.path.substr(destination_.size())), failure);
  if (!holding) return failure;
  return files_.MoveIntoFolder(file, *holding).failure;
}

// The new content is written whole beside its destination first. A file
// that is there is moved aside, unless the transfer created it itself: that
// one makes way. The journal learns that a name is the transfer's own only
// once the name is free, so that should the move fail, nothing that is there
// is ever taken for a new file, and a held file that no record names is put
// back all the same. The record is written with the batch's others, and the
// content takes the name with its batch once they are durable; a copy to a
// name the batch is still to give is staged again after it.
CopyResult Transaction::Copy(const std::string& source, const std::string& name) {
  StagedCopy copy = files_.StageCopy(source, destination_ + name);
  if (!copy.ok()) return copy.result();
  if (InBatch(copy.destination().path.substr(destination_.size()))) {
    copy = StagedCopy(CopyResult{});  // discarded: what it looked at is about to change
    if (std::optional<FileFailure> failure = KeepBatch()) return RefusedAt(std::move(*failure));
    copy = files_.StageCopy(source, destination_ + name);
    if (!copy.ok()) return copy.result();
  }
  const FoundFile& target = copy.destination();
  const std::string path = target.path.substr(destination_.size());
  if (target.exists && record_.IsCreated(path)) {
    if (std::optional<FileFailure> failure = files_.RemoveFile(target.path)) return Refused(*failure);
  } else {
    std::string lines;
    if (target.exists) {
      if (std::optional<FileFailure> failure = MoveAside(target)) return Refused(*failure);
      lines = JournalLine(id_, {JournalRecord::kAside, path});
    }
    batch_records_ += lines + JournalLine(id_, {JournalRecord::kNew, path});
    if (target.exists) record_.MovedAside(path);
    record_.Created(path);
  }
  batch_keys_.insert(FoldName(path));
  batch_.push_back({std::move(copy), path});
  if (batch_.size() >= kBatchFiles) {
    if (std::optional<FileFailure> failure = KeepBatch()) return RefusedAt(std::move(*failure));
  }
  return {CopyOutcome::kCopied, FailureCause::kOther, {}, {}};
}

// Every match is recorded in one write before the first of them moves.
std::vector<FileFailure> Transaction::Delete(const std::string& pattern) {
  std::vector<FileFailure> failures;
  if (BatchMayMatch(pattern)) {
    if (std::optional<FileFailure> failure = KeepBatch()) return {std::move(*failure)};
  }
  FileList matches = files_.ListFiles(destination_ + pattern);
  if (matches.unreadable) failures.push_back(std::move(*matches.unreadable));
  if (matches.names.empty()) return failures;
  const std::string folder = FolderPart(pattern);
  std::string lines;
  for (const std::string& name : matches.names) {
    if (record_.IsCreated(folder + name)) continue;
    lines += JournalLine(id_, {JournalRecord::kAside, folder + name});
    record_.MovedAside(folder + name);  // of use only where the transfer later creates that name
  }
  std::optional<FileFailure> failure;
  if (!HoldingFolder(folder, failure) || !Write(lines)) {
    failures.push_back(failure ? std::move(*failure) : JournalFailure());
    return failures;
  }
  for (const std::string& name : matches.names) {
    const std::string path = folder + name;
    failure = record_.IsCreated(path) ? files_.RemoveFile(destination_ + path) : MoveAside(path);
    if (failure) failures.push_back(std::move(*failure));
  }
  return failures;
}

// A file that is there is moved aside and a new empty one made in its
// place, under the name as the folder held it. Where there was none, an
// empty file that cannot be made leaves nothing old behind either.
std::optional<FileFailure> Transaction::Empty(const std::string& name) {
  if (BatchMayMatch(name)) {
    if (std::optional<FileFailure> failure = KeepBatch()) return failure;
  }
  std::optional<bool> there = files_.HasFile(destination_ + name);
  if (!there) return FileFailure{destination_ + name, FailureCause::kUnreadable, "cannot be looked up"};
  if (!*there || record_.IsCreated(name)) {
    if (!WriteDurably(JournalRecord::kNew, name)) return JournalFailure();
    record_.Created(name);
    return EmptyFile(files_, destination_ + name);
  }
  std::optional<FileFailure> failure;
  std::optional<std::string> holding = HoldingFolder(FolderPart(name), failure);
  if (!holding) return failure;
  MoveResult moved = files_.MoveIntoFolder(destination_ + name, *holding);
  if (moved.failure) return moved.failure;
  const std::string path = moved.moved ? FolderPart(name) + moved.name : name;
  if (!Write(JournalLine(id_, {JournalRecord::kAside, path}) + JournalLine(id_, {JournalRecord::kNew, path})) ||
      !SyncJournal()) {
    return JournalFailure();
  }
  record_.MovedAside(path);
  record_.Created(path);
  if (files_.CreateEmpty(destination_ + path)) return std::nullopt;
  std::optional<FileFailure> refused = files_.LastFailure();
  return refused ? refused : FileFailure{destination_ + path, FailureCause::kOther, "cannot be emptied"};
}

// A folder that is not there yet is recorded before it is made, like any
// change. One that cannot be made is passed over: the copy into it says why.
std::optional<FileFailure> Transaction::MakeFolders(const std::string& folder) {
  for (const std::string& level : FolderLevels(folder)) {
    const std::string path = destination_ + WithoutSeparator(level);
    if (files_.HasFolder(path) == true) continue;
    if (!WriteDurably(JournalRecord::kMadeFolder, level)) return JournalFailure();
    if (files_.MakeFolder(path)) record_.FolderMade(level);
  }
  return std::nullopt;
}

UnfinishedTransfer Transaction::Unfinished() const {
  return {destination_, id_, record_.created(), record_.holding_folders(), record_.made_folders(),
          record_.moved_aside()};
}

// The order is what makes a power cut at any moment leave either the old
// state or the new one: new files and journal durable, then the commit mark
// durable, and only then the old files removed.
std::optional<FileFailure> Transaction::Commit() {
  if (std::optional<FileFailure> failure = KeepBatch()) return failure;
  std::vector<std::string> written;
  std::set<std::string> changed{destination_};
  for (const std::string& path : record_.created()) {
    written.push_back(destination_ + path);
    changed.insert(destination_ + FolderPart(path));
  }
  for (const std::string& folder : record_.holding_folders()) {
    changed.insert(destination_ + folder);
    changed.insert(destination_ + folder + HoldingFolderName(id_) + "\\");
  }
  // A made folder's own entry is in its parent.
  for (const std::string& folder : record_.made_folders()) changed.insert(destination_ + ParentFolder(folder));
  if (!files_.MakeDurable(written, {changed.begin(), changed.end()})) {
    return FileFailure{destination_, FailureCause::kOther, kNotDurable};
  }
  if (!journal_ || !journal_->Sync() || !Write(JournalCommitLine(id_)) || !journal_->Sync()) return JournalFailure();
  if (FinishTransfer(files_, Unfinished()).empty()) {
    RemoveJournal();
  } else {
    journal_.reset();  // committed: the next start finishes the removal
  }
  return std::nullopt;
}

std::vector<FileFailure> Transaction::Rollback() {
  batch_.clear();  // the staged copies of a batch not kept are discarded
  batch_keys_.clear();
  batch_records_.clear();
  if (!journal_) return {};  // never begun: nothing was changed
  std::vector<FileFailure> left = UndoTransfer(files_, Unfinished());
  if (!left.empty()) {
    journal_.reset();
  } else if (!RemoveJournal()) {
    left.push_back({journal_path_, FailureCause::kOther, "cannot be removed"});
  }
  return left;
}

bool Transaction::RemoveJournal() {
  if (journal_) journal_->Close();
  journal_.reset();
  return !files_.RemoveFile(journal_path_);
}

}  // namespace tolvashu
