// A file layer for fault injection: passes every call to a real file layer,
// except the Nth call of one kind, which fails with a chosen cause and does
// not touch the disk. Calls that could not fail for real (a copy whose
// source is missing, a deletion that matches nothing, an open of a missing
// file) are passed on and not counted.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "files/file_ops.h"

namespace tolvashu::testing {

enum class FaultKind { kList, kCopy, kDelete, kOpenOutput, kOpenInput, kHasFile, kMakeFolder };
inline constexpr std::array<FaultKind, 7> kFaultKinds = {
    FaultKind::kList,      FaultKind::kCopy,    FaultKind::kDelete,    FaultKind::kOpenOutput,
    FaultKind::kOpenInput, FaultKind::kHasFile, FaultKind::kMakeFolder};
const char* FaultKindName(FaultKind kind);

class FaultyFileOps : public FileOps {
 public:
  explicit FaultyFileOps(FileOps& real) : real_(real) {}

  // Makes the `nth` counted call of `kind` (from 1) fail with `cause`.
  void FailNth(FaultKind kind, int nth, FailureCause cause);
  // The counted calls of `kind` so far.
  int Calls(FaultKind kind) const { return calls_[static_cast<std::size_t>(kind)]; }
  // Whether the chosen call has come and failed.
  bool Failed() const { return failed_; }

  std::string CurrentFolder() override { return real_.CurrentFolder(); }
  bool IsSameFolder(const std::string& a, const std::string& b) override { return real_.IsSameFolder(a, b); }
  void RemoveLeftoverTemporaryFiles(const std::string& folder) override { real_.RemoveLeftoverTemporaryFiles(folder); }
  bool MakeFolder(const std::string& path) override;
  DeleteResult DeleteMatching(const std::string& pattern) override;
  FileList ListFiles(const std::string& pattern) override;
  CopyResult CopyFile(const std::string& source, const std::string& destination) override;
  std::optional<bool> HasFile(const std::string& path) override;
  Opened<InputFile> OpenInput(const std::string& path) override;
  Opened<OutputFile> OpenOutput(const std::string& path) override;

 private:
  // Counts a call of `kind`; true when this is the one that fails.
  bool Strikes(FaultKind kind);
  std::string Reason() const;

  FileOps& real_;
  std::array<int, kFaultKinds.size()> calls_{};
  FaultKind kind_ = FaultKind::kList;
  int nth_ = 0;
  FailureCause cause_ = FailureCause::kOther;
  bool failed_ = false;
};

}  // namespace tolvashu::testing
