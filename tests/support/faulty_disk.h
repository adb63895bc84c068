// A disk for fault injection: passes every primitive to a real disk, except
// the Nth call of one kind, which fails with a chosen cause and does not
// touch the disk. A file layer over it (FileOps) meets the failure where a
// system call would have failed, so the file semantics above the seam are
// exercised too. Calls that could not fail for real (a copy whose source is
// missing, a rename or removal of nothing, an open of a missing file) are
// passed on and not counted.
//
// It can also stop dead at the Nth call of any kind, as a killed program
// does: from that call on, nothing reaches the disk any more (the journal's
// writes included), and every call fails. And it records the order of the
// calls that make a transfer durable, so that a test can check it, and what
// was written and not yet flushed, so that a test can then cut the power:
// drop that content as a disk would (LoseUnflushedContent).
#pragma once

#include <array>
#include <optional>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "disk/disk.h"

namespace tolvashu::testing {

enum class FaultKind { kList, kLook, kCopy, kKeep, kOpenOutput, kOpenInput, kMakeFolder, kMove, kRemove, kWrite,
                       kSync };
inline constexpr std::array<FaultKind, 11> kFaultKinds = {
    FaultKind::kList,       FaultKind::kLook,      FaultKind::kCopy,       FaultKind::kKeep,
    FaultKind::kOpenOutput, FaultKind::kOpenInput, FaultKind::kMakeFolder, FaultKind::kMove,
    FaultKind::kRemove,     FaultKind::kWrite,     FaultKind::kSync};
const char* FaultKindName(FaultKind kind);

class FaultyDisk : public Disk {
 public:
  explicit FaultyDisk(Disk& real) : real_(real) {}

  // Makes the `nth` counted call of `kind` (from 1) fail with `cause`.
  void FailNth(FaultKind kind, int nth, FailureCause cause);
  // Makes every listing of `folder` (as the pattern writes it, separator
  // included) fail with `cause`.
  void FailListingOf(std::string folder, FailureCause cause) {
    unlistable_ = std::move(folder);
    cause_ = cause;
  }
  // Stops dead at the `nth` call of any kind (from 1): that call and every
  // later one fail and change nothing, as if the program had been killed.
  void StopDeadAt(int nth) { dead_at_ = nth; }
  // Makes every volume report `space` as its room left.
  void ReportFreeSpace(VolumeSpace space) { free_space_ = space; }
  // The counted calls of `kind` so far, and the calls of every kind.
  int Calls(FaultKind kind) const { return calls_[static_cast<std::size_t>(kind)]; }
  int AllCalls() const { return all_calls_; }
  // Whether the chosen call has come and failed.
  bool Failed() const { return failed_; }
  // The place of the chosen failing call among the calls of every kind; 0
  // until it has come.
  int FailedAtCall() const { return failed_at_; }
  // The calls that make changes durable or mark them committed, the
  // journal's writes, and the moves, keeps and removals, in order: "sync
  // folder", "durable", "journal write", "journal sync", "journal commit",
  // "move PATH", "keep NAME", "remove PATH".
  const std::vector<std::string>& durability_log() const { return log_; }
  // The folders made so far, as asked, and the folders of every MakeDurable
  // call, in order.
  const std::vector<std::string>& made_folders() const { return made_folders_; }
  const std::vector<std::vector<std::string>>& durable_folders() const { return durable_folders_; }

  std::string CurrentFolder() override { return real_.CurrentFolder(); }
  Result<Entry> Look(const std::string& path, Spelling spelling) override;
  Result<std::string> FolderIdentity(const std::string& path) override { return real_.FolderIdentity(path); }
  Result<std::vector<Listed>> List(const std::string& folder, const ListingFilter& wanted) override;
  Result<std::unique_ptr<InputFile>> OpenRead(const std::string& path, ReadSharing sharing) override;
  Result<std::unique_ptr<OutputFile>> OpenWrite(const std::string& path, WriteMode mode) override;
  Result<std::unique_ptr<StagedFile>, StageError> StageCopy(const std::string& source, const std::string& destination,
                                                            const ChunkHook& between_chunks) override;
  Result<void> Rename(const std::string& from, const std::string& to) override;
  Result<void> RemoveFile(const std::string& path) override;
  Result<void, RemovalError> RemoveFiles(const std::string& folder, const std::vector<std::string>& names) override;
  Result<void> RemoveFolder(const std::string& path) override;
  void RemoveAbandonedTemporaryFiles(const std::string& folder) override;
  Result<void> MakeFolder(const std::string& path, Visibility visibility) override;
  Result<void> SyncFolder(const std::string& folder) override;
  // Not counted: the lock is taken before anything the tests count.
  Result<std::unique_ptr<FolderLock>> LockFolder(const std::string& folder) override {
    return real_.LockFolder(folder);
  }
  Result<void> MakeDurable(const std::vector<std::string>& written, const std::vector<std::string>& changed) override;
  // Content written ahead is only ever used by the real disk's own StageCopy.
  void ExpectCopies(std::vector<ExpectedCopy> copies) override { real_.ExpectCopies(std::move(copies)); }
  Result<VolumeSpace> FreeSpace(const std::string& folder) override {
    if (free_space_) return *free_space_;
    return real_.FreeSpace(folder);
  }
  void SetWaitHook(ChunkHook hook) override { real_.SetWaitHook(std::move(hook)); }
  // The plan ahead of a run reads the real disk, uncounted, unless
  // CountPlanReads was called: its calls then count and fail like the run's.
  Disk& PlanReads() override { return count_plan_reads_ ? *this : real_; }
  void CountPlanReads() { count_plan_reads_ = true; }

  // Counts a call towards the kill; true once the disk is dead.
  bool Dead();
  // Counts a call of `kind`; true when this is the one that fails.
  bool Strikes(FaultKind kind);
  // Dead, or the chosen call of `kind`: the call fails.
  bool Fails(FaultKind kind) { return Dead() || Strikes(kind); }
  DiskError Failure() const { return {DiskError::kFailed, cause_, Reason()}; }
  void Log(std::string entry) { log_.push_back(std::move(entry)); }

  // What a power cut does to what was written since its last flush, on the
  // real disk: each journal loses the bytes after its last sync, and each
  // new file kept since the last MakeDurable its content. `as_zeros`: the
  // lost bytes read as zeros (the length stayed); otherwise they are gone.
  // The names stay, as the metadata up to the cut does.
  void LoseUnflushedContent(bool as_zeros);
  // Called by the journals and new files this disk hands out.
  void JournalWritten(std::size_t journal, std::string_view bytes) { journals_[journal].written += bytes; }
  void JournalSynced(std::size_t journal) { journals_[journal].synced = journals_[journal].written.size(); }
  void KeptUnflushed(std::string path) { unflushed_files_.push_back(std::move(path)); }

 private:
  std::string Reason() const;
  // Whether a file is at `path`, asked of the real disk and not counted.
  bool FileThere(const std::string& path);

  Disk& real_;
  std::array<int, kFaultKinds.size()> calls_{};
  int all_calls_ = 0;
  int dead_at_ = 0;
  std::optional<VolumeSpace> free_space_;
  bool count_plan_reads_ = false;
  FaultKind kind_ = FaultKind::kList;
  int nth_ = 0;
  FailureCause cause_ = FailureCause::kOther;
  bool failed_ = false;
  int failed_at_ = 0;
  std::vector<std::string> log_;
  std::string unlistable_;
  struct Journal {
    std::string path;
    std::string written;     // every byte written to it
    std::size_t synced = 0;  // of them, made durable
  };
  std::vector<Journal> journals_;
  std::vector<std::string> unflushed_files_;  // new files kept since the last MakeDurable
  std::vector<std::string> made_folders_;
  std::vector<std::vector<std::string>> durable_folders_;
};

}  // namespace tolvashu::testing
