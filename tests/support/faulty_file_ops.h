// A file layer for fault injection: passes every call to a real file layer,
// except the Nth call of one kind, which fails with a chosen cause and does
// not touch the disk. Calls that could not fail for real (a copy whose
// source is missing, a deletion that matches nothing, an open of a missing
// file) are passed on and not counted.
//
// It can also stop dead at the Nth call of any kind, as a killed program
// does: from that call on, nothing reaches the disk any more (the journal's
// writes included), and every call fails. And it records the order of the
// calls that make a transfer durable, so that a test can check it.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "files/file_ops.h"

namespace tolvashu::testing {

enum class FaultKind { kList, kCopy, kDelete, kOpenOutput, kOpenInput, kHasFile, kMakeFolder, kMove, kRemove,
                       kWrite, kSync };
inline constexpr std::array<FaultKind, 11> kFaultKinds = {
    FaultKind::kList,   FaultKind::kCopy,       FaultKind::kDelete, FaultKind::kOpenOutput,
    FaultKind::kOpenInput, FaultKind::kHasFile, FaultKind::kMakeFolder, FaultKind::kMove,
    FaultKind::kRemove, FaultKind::kWrite,      FaultKind::kSync};
const char* FaultKindName(FaultKind kind);

class FaultyFileOps : public FileOps {
 public:
  explicit FaultyFileOps(FileOps& real) : real_(real) {}

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
  // The counted calls of `kind` so far, and the calls of every kind.
  int Calls(FaultKind kind) const { return calls_[static_cast<std::size_t>(kind)]; }
  int AllCalls() const { return all_calls_; }
  // Whether the chosen call has come and failed.
  bool Failed() const { return failed_; }
  // The calls that make changes durable or mark them committed, and the
  // removals, in order: "sync folder", "durable", "journal sync",
  // "journal commit", "remove PATH".
  const std::vector<std::string>& durability_log() const { return log_; }

  using FileOps::CopyFile;
  std::string CurrentFolder() override { return real_.CurrentFolder(); }
  bool IsSameFolder(const std::string& a, const std::string& b) override { return real_.IsSameFolder(a, b); }
  // Content written ahead is only ever used by the real layer's own CopyFile.
  void ExpectCopies(std::vector<ExpectedCopy> copies) override { real_.ExpectCopies(std::move(copies)); }
  void RemoveLeftoverTemporaryFiles(const std::string& folder) override;
  bool MakeFolder(const std::string& path) override;
  DeleteResult DeleteMatching(const std::string& pattern) override;
  FileList ListFiles(const std::string& pattern) override;
  CopyResult CopyFile(const std::string& source, const std::string& destination,
                      const PlaceNewContent& place) override;
  std::optional<bool> HasFile(const std::string& path) override;
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

  // Counts a call towards the kill; true once the layer is dead.
  bool Dead();
  // Counts a call of `kind`; true when this is the one that fails.
  bool Strikes(FaultKind kind);
  // Dead, or the chosen call of `kind`: the call fails.
  bool Fails(FaultKind kind) { return Dead() || Strikes(kind); }
  FileFailure Failure(const std::string& path) const { return {path, cause_, Reason()}; }
  void Log(std::string entry) { log_.push_back(std::move(entry)); }

 private:
  std::string Reason() const;

  FileOps& real_;
  std::array<int, kFaultKinds.size()> calls_{};
  int all_calls_ = 0;
  int dead_at_ = 0;
  FaultKind kind_ = FaultKind::kList;
  int nth_ = 0;
  FailureCause cause_ = FailureCause::kOther;
  bool failed_ = false;
  std::vector<std::string> log_;
  std::string unlistable_;
};

}  // namespace tolvashu::testing
