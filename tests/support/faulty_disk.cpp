#include "support/faulty_disk.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <utility>

#include "disk/path_parts.h"

namespace tolvashu::testing {

namespace {

// The journal as the faulty disk lets it be written: its writes and syncs
// are calls like any other, and a dead disk writes nothing more.
class FaultyOutputFile : public OutputFile {
 public:
  FaultyOutputFile(FaultyDisk& disk, std::unique_ptr<OutputFile> real, std::size_t journal)
      : disk_(disk), real_(std::move(real)), journal_(journal) {}
  bool Write(std::string_view bytes) override {
    if (disk_.Fails(FaultKind::kWrite)) return false;
    disk_.Log(bytes.rfind("committed ", 0) == 0 ? "journal commit" : "journal write");
    disk_.JournalWritten(journal_, bytes);
    return real_->Write(bytes);
  }
  bool Flush() override { return !disk_.Fails(FaultKind::kWrite) && real_->Flush(); }
  bool Sync() override {
    if (disk_.Fails(FaultKind::kSync)) return false;
    disk_.Log("journal sync");
    if (!real_->Sync()) return false;
    disk_.JournalSynced(journal_);
    return true;
  }
  bool Close() override { return real_->Close(); }  // what a killed program's files do too

 private:
  FaultyDisk& disk_;
  std::unique_ptr<OutputFile> real_;
  std::size_t journal_;
};

// A staged copy whose keeping is a call like any other.
class FaultyStagedFile : public StagedFile {
 public:
  FaultyStagedFile(FaultyDisk& disk, std::unique_ptr<StagedFile> real, std::string folder)
      : StagedFile(real->destination()), disk_(disk), real_(std::move(real)), folder_(std::move(folder)) {}
  Result<void> Keep() override {
    if (disk_.Fails(FaultKind::kKeep)) return disk_.Failure();
    disk_.Log("keep " + destination().name);
    Result<void> kept = real_->Keep();
    if (kept.ok()) disk_.KeptUnflushed(folder_ + destination().name);
    return kept;
  }

 private:
  FaultyDisk& disk_;
  std::unique_ptr<StagedFile> real_;
  std::string folder_;  // the destination's, as asked
};

// Rewrites the file at `path` on `disk` to hold `content`.
void Rewrite(Disk& disk, const std::string& path, std::string_view content) {
  Result<std::unique_ptr<OutputFile>> file = disk.OpenWrite(path, WriteMode::kCreateOrTruncate);
  if (!file.ok()) return;
  (*file)->Write(content);
  (*file)->Close();
}

}  // namespace

const char* FaultKindName(FaultKind kind) {
  constexpr const char* kNames[] = {"list", "look up",          "copy",        "keep", "open for writing",
                                    "open for reading", "make folder", "move", "remove",
                                    "write", "sync"};
  return kNames[static_cast<std::size_t>(kind)];
}

void FaultyDisk::FailNth(FaultKind kind, int nth, FailureCause cause) {
  kind_ = kind;
  nth_ = nth;
  cause_ = cause;
  failed_ = false;
}

bool FaultyDisk::Dead() {
  ++all_calls_;
  bool dead = dead_at_ > 0 && all_calls_ >= dead_at_;
  failed_ = failed_ || dead;
  return dead;
}

bool FaultyDisk::Strikes(FaultKind kind) {
  int count = ++calls_[static_cast<std::size_t>(kind)];
  bool strikes = kind == kind_ && count == nth_;
  if (strikes) failed_at_ = all_calls_;
  failed_ = failed_ || strikes;
  return strikes;
}

std::string FaultyDisk::Reason() const { return std::string("injected ") + FaultKindName(kind_) + " failure"; }

bool FaultyDisk::FileThere(const std::string& path) {
  Result<Entry> entry = real_.Look(path, Spelling::kAsAsked);
  return entry.ok() && entry->kind == EntryKind::kFile;
}

// A look fails for real only when a folder on the way cannot be read.
Result<Entry> FaultyDisk::Look(const std::string& path, Spelling spelling) {
  if (!Fails(FaultKind::kLook)) return real_.Look(path, spelling);
  return DiskError{DiskError::kUnknown, cause_, Reason()};
}

Result<std::vector<Listed>> FaultyDisk::List(const std::string& folder, const ListingFilter& wanted) {
  if (!Fails(FaultKind::kList) && folder != unlistable_) return real_.List(folder, wanted);
  failed_ = true;
  return Failure();
}

Result<std::unique_ptr<InputFile>> FaultyDisk::OpenRead(const std::string& path, ReadSharing sharing) {
  if (Dead()) return Failure();
  if (!FileThere(path) || !Strikes(FaultKind::kOpenInput)) return real_.OpenRead(path, sharing);
  return Failure();
}

Result<std::unique_ptr<OutputFile>> FaultyDisk::OpenWrite(const std::string& path, WriteMode mode) {
  if (Fails(FaultKind::kOpenOutput)) return Failure();
  Result<std::unique_ptr<OutputFile>> opened = real_.OpenWrite(path, mode);
  if (!opened.ok() || mode != WriteMode::kCreateNewHidden) return opened;
  journals_.push_back({path, {}, 0});
  const std::size_t journal = journals_.size() - 1;
  return std::unique_ptr<OutputFile>(std::make_unique<FaultyOutputFile>(*this, std::move(*opened), journal));
}

Result<std::unique_ptr<StagedFile>, StageError> FaultyDisk::StageCopy(const std::string& source,
                                                                      const std::string& destination,
                                                                      const ChunkHook& between_chunks) {
  if (Dead()) return StageError{false, Failure()};
  if (FileThere(source) && Strikes(FaultKind::kCopy)) return StageError{false, Failure()};
  Result<std::unique_ptr<StagedFile>, StageError> staged = real_.StageCopy(source, destination, between_chunks);
  if (!staged.ok()) return staged;
  return std::unique_ptr<StagedFile>(
      std::make_unique<FaultyStagedFile>(*this, std::move(*staged), FolderPart(destination)));
}

Result<void> FaultyDisk::Rename(const std::string& from, const std::string& to) {
  if (Dead()) return Failure();
  if (FileThere(from) && Strikes(FaultKind::kMove)) return Failure();
  Log("move " + from);
  return real_.Rename(from, to);
}

Result<void> FaultyDisk::RemoveFile(const std::string& path) {
  if (Dead()) return Failure();
  if (FileThere(path) && Strikes(FaultKind::kRemove)) return Failure();
  Log("remove " + path);
  return real_.RemoveFile(path);
}

Result<void, RemovalError> FaultyDisk::RemoveFiles(const std::string& folder, const std::vector<std::string>& names) {
  if (Fails(FaultKind::kRemove)) return RemovalError{names.empty() ? std::string() : names.front(), Failure()};
  Log("remove " + folder);
  return real_.RemoveFiles(folder, names);
}

Result<void> FaultyDisk::RemoveFolder(const std::string& path) {
  if (Fails(FaultKind::kRemove)) return Failure();
  Log("remove " + path);
  return real_.RemoveFolder(path);
}

void FaultyDisk::RemoveAbandonedTemporaryFiles(const std::string& folder) {
  if (!Dead()) real_.RemoveAbandonedTemporaryFiles(folder);
}

Result<void> FaultyDisk::MakeFolder(const std::string& path, Visibility visibility) {
  if (Fails(FaultKind::kMakeFolder)) return Failure();
  Result<void> made = real_.MakeFolder(path, visibility);
  if (made.ok()) made_folders_.push_back(path);
  return made;
}

Result<void> FaultyDisk::SyncFolder(const std::string& folder) {
  if (Fails(FaultKind::kSync)) return Failure();
  Log("sync folder");
  return real_.SyncFolder(folder);
}

Result<void> FaultyDisk::MakeDurable(const std::vector<std::string>& written, const std::vector<std::string>& changed) {
  if (Fails(FaultKind::kSync)) return Failure();
  Log("durable");
  durable_folders_.push_back(changed);
  Result<void> durable = real_.MakeDurable(written, changed);
  if (durable.ok()) {
    // A kept name may be spelt as its folder held it, in another case.
    auto same = [](const std::string& a, const std::string& b) {
      return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
      });
    };
    auto flushed = [&](const std::string& path) {
      return std::any_of(written.begin(), written.end(), [&](const std::string& w) { return same(w, path); });
    };
    unflushed_files_.erase(std::remove_if(unflushed_files_.begin(), unflushed_files_.end(), flushed),
                           unflushed_files_.end());
  }
  return durable;
}

void FaultyDisk::LoseUnflushedContent(bool as_zeros) {
  for (const Journal& journal : journals_) {
    if (!FileThere(journal.path)) continue;
    const std::size_t lost = journal.written.size() - journal.synced;
    Rewrite(real_, journal.path, journal.written.substr(0, journal.synced) + std::string(as_zeros ? lost : 0, '\0'));
  }
  for (const std::string& path : unflushed_files_) {
    Result<Entry> file = real_.Look(path, Spelling::kAsAsked);
    if (!file.ok() || file->kind != EntryKind::kFile) continue;
    Rewrite(real_, path, std::string(as_zeros ? file->size : 0, '\0'));
  }
}

}  // namespace tolvashu::testing
