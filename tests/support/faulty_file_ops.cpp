#include "support/faulty_file_ops.h"

#include <memory>
#include <utility>

#include "files/pattern_parts.h"

namespace tolvashu::testing {

namespace {

// The journal as the faulty layer lets it be written: its writes and syncs
// are calls like any other, and a dead layer writes nothing more.
class FaultyOutputFile : public OutputFile {
 public:
  FaultyOutputFile(FaultyFileOps& layer, std::unique_ptr<OutputFile> real) : layer_(layer), real_(std::move(real)) {}
  bool Write(std::string_view bytes) override {
    if (layer_.Fails(FaultKind::kWrite)) return false;
    if (bytes.rfind("committed ", 0) == 0) layer_.Log("journal commit");
    return real_->Write(bytes);
  }
  bool Flush() override { return !layer_.Fails(FaultKind::kWrite) && real_->Flush(); }
  bool Sync() override {
    if (layer_.Fails(FaultKind::kSync)) return false;
    layer_.Log("journal sync");
    return real_->Sync();
  }
  bool Close() override { return real_->Close(); }  // what a killed program's files do too

 private:
  FaultyFileOps& layer_;
  std::unique_ptr<OutputFile> real_;
};

template <typename File>
Opened<File> NotOpened(const FileFailure& failure) {
  return {nullptr, failure.cause, failure.reason};
}

}  // namespace

const char* FaultKindName(FaultKind kind) {
  constexpr const char* kNames[] = {"list",    "copy",        "delete", "open for writing", "open for reading",
                                    "look up", "make folder", "move",   "remove",           "write",
                                    "sync"};
  return kNames[static_cast<std::size_t>(kind)];
}

void FaultyFileOps::FailNth(FaultKind kind, int nth, FailureCause cause) {
  kind_ = kind;
  nth_ = nth;
  cause_ = cause;
  failed_ = false;
}

bool FaultyFileOps::Dead() {
  ++all_calls_;
  bool dead = dead_at_ > 0 && all_calls_ >= dead_at_;
  failed_ = failed_ || dead;
  return dead;
}

bool FaultyFileOps::Strikes(FaultKind kind) {
  int count = ++calls_[static_cast<std::size_t>(kind)];
  bool strikes = kind == kind_ && count == nth_;
  failed_ = failed_ || strikes;
  return strikes;
}

std::string FaultyFileOps::Reason() const { return std::string("injected ") + FaultKindName(kind_) + " failure"; }

void FaultyFileOps::RemoveLeftoverTemporaryFiles(const std::string& folder) {
  if (!Dead()) real_.RemoveLeftoverTemporaryFiles(folder);
}

bool FaultyFileOps::MakeFolder(const std::string& path) { return !Fails(FaultKind::kMakeFolder) && real_.MakeFolder(path); }

DeleteResult FaultyFileOps::DeleteMatching(const std::string& pattern) {
  if (Dead()) return {0, {Failure(pattern)}};
  FileList matches = real_.ListFiles(pattern);
  if (matches.names.empty() || !Strikes(FaultKind::kDelete)) return real_.DeleteMatching(pattern);
  // Every match is held: none is deleted.
  DeleteResult result;
  std::string folder = pattern.substr(0, NameStart(pattern));
  for (const std::string& name : matches.names) result.failures.push_back(Failure(folder + name));
  return result;
}

FileList FaultyFileOps::ListFiles(const std::string& pattern) {
  const std::string folder = pattern.substr(0, NameStart(pattern));
  if (!Fails(FaultKind::kList) && folder != unlistable_) return real_.ListFiles(pattern);
  failed_ = true;
  return {{}, false, Failure(folder)};
}

CopyResult FaultyFileOps::CopyFile(const std::string& source, const std::string& destination,
                                   const PlaceNewContent& place) {
  const CopyResult failed{CopyOutcome::kFailed, cause_, Reason(), {}};
  if (Dead()) return failed;
  if (real_.HasFile(source) != true || !Strikes(FaultKind::kCopy)) return real_.CopyFile(source, destination, place);
  return failed;
}

std::optional<bool> FaultyFileOps::HasFile(const std::string& path) {
  if (Fails(FaultKind::kHasFile)) return std::nullopt;
  return real_.HasFile(path);
}

Opened<InputFile> FaultyFileOps::OpenInput(const std::string& path) {
  if (Dead()) return NotOpened<InputFile>(Failure(path));
  if (real_.HasFile(path) != true || !Strikes(FaultKind::kOpenInput)) return real_.OpenInput(path);
  return NotOpened<InputFile>(Failure(path));
}

Opened<OutputFile> FaultyFileOps::OpenOutput(const std::string& path) {
  if (Fails(FaultKind::kOpenOutput)) return NotOpened<OutputFile>(Failure(path));
  return real_.OpenOutput(path);
}

MoveResult FaultyFileOps::MoveIntoFolder(const std::string& path, const std::string& folder) {
  if (Dead()) return {false, {}, Failure(path)};
  if (real_.HasFile(path) != true || !Strikes(FaultKind::kMove)) {
    Log("move " + path);
    return real_.MoveIntoFolder(path, folder);
  }
  return {false, {}, Failure(path)};
}

std::optional<FileFailure> FaultyFileOps::RemoveFile(const std::string& path) {
  if (Dead()) return Failure(path);
  if (real_.HasFile(path) == true && Strikes(FaultKind::kRemove)) return Failure(path);
  Log("remove " + path);
  return real_.RemoveFile(path);
}

std::optional<FileFailure> FaultyFileOps::RemoveFolder(const std::string& path) {
  if (Fails(FaultKind::kRemove)) return Failure(path);
  Log("remove " + path);
  return real_.RemoveFolder(path);
}

std::optional<FileFailure> FaultyFileOps::RemoveOwnFolder(const std::string& path) {
  if (Fails(FaultKind::kRemove)) return Failure(path);
  Log("remove " + path);
  return real_.RemoveOwnFolder(path);
}

std::optional<std::vector<FolderEntry>> FaultyFileOps::ListEntries(const std::string& folder) {
  if (Fails(FaultKind::kList)) return std::nullopt;
  return real_.ListEntries(folder);
}

std::optional<FileFailure> FaultyFileOps::MakeHiddenFolder(const std::string& path) {
  if (Fails(FaultKind::kMakeFolder)) return Failure(path);
  return real_.MakeHiddenFolder(path);
}

Opened<OutputFile> FaultyFileOps::CreateHiddenFile(const std::string& path) {
  if (Fails(FaultKind::kOpenOutput)) return NotOpened<OutputFile>(Failure(path));
  Opened<OutputFile> opened = real_.CreateHiddenFile(path);
  if (opened.file) opened.file = std::make_unique<FaultyOutputFile>(*this, std::move(opened.file));
  return opened;
}

Opened<InputFile> FaultyFileOps::OpenUnlessWritten(const std::string& path) {
  if (Dead()) return NotOpened<InputFile>(Failure(path));
  if (real_.HasFile(path) != true || !Strikes(FaultKind::kOpenInput)) return real_.OpenUnlessWritten(path);
  return NotOpened<InputFile>(Failure(path));
}

bool FaultyFileOps::SyncFolder(const std::string& folder) {
  if (Fails(FaultKind::kSync)) return false;
  Log("sync folder");
  return real_.SyncFolder(folder);
}

bool FaultyFileOps::MakeDurable(const std::vector<std::string>& written, const std::vector<std::string>& changed) {
  if (Fails(FaultKind::kSync)) return false;
  Log("durable");
  return real_.MakeDurable(written, changed);
}

}  // namespace tolvashu::testing
