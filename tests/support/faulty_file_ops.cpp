#include "support/faulty_file_ops.h"

#include "files/pattern_parts.h"

namespace tolvashu::testing {

const char* FaultKindName(FaultKind kind) {
  constexpr const char* kNames[] = {"list",    "copy",       "delete", "open for writing", "open for reading",
                                    "look up", "make folder"};
  return kNames[static_cast<std::size_t>(kind)];
}

void FaultyFileOps::FailNth(FaultKind kind, int nth, FailureCause cause) {
  kind_ = kind;
  nth_ = nth;
  cause_ = cause;
  failed_ = false;
}

bool FaultyFileOps::Strikes(FaultKind kind) {
  int count = ++calls_[static_cast<std::size_t>(kind)];
  bool strikes = kind == kind_ && count == nth_;
  failed_ = failed_ || strikes;
  return strikes;
}

std::string FaultyFileOps::Reason() const { return std::string("injected ") + FaultKindName(kind_) + " failure"; }

bool FaultyFileOps::MakeFolder(const std::string& path) {
  return !Strikes(FaultKind::kMakeFolder) && real_.MakeFolder(path);
}

DeleteResult FaultyFileOps::DeleteMatching(const std::string& pattern) {
  FileList matches = real_.ListFiles(pattern);
  if (matches.names.empty() || !Strikes(FaultKind::kDelete)) return real_.DeleteMatching(pattern);
  // Every match is held: none is deleted.
  DeleteResult result;
  std::string folder = pattern.substr(0, NameStart(pattern));
  for (const std::string& name : matches.names) result.failures.push_back({folder + name, cause_, Reason()});
  return result;
}

FileList FaultyFileOps::ListFiles(const std::string& pattern) {
  if (!Strikes(FaultKind::kList)) return real_.ListFiles(pattern);
  return {{}, false, FileFailure{pattern.substr(0, NameStart(pattern)), cause_, Reason()}};
}

CopyResult FaultyFileOps::CopyFile(const std::string& source, const std::string& destination) {
  if (real_.HasFile(source) != true || !Strikes(FaultKind::kCopy)) return real_.CopyFile(source, destination);
  return {CopyOutcome::kFailed, cause_, Reason(), {}};
}

std::optional<bool> FaultyFileOps::HasFile(const std::string& path) {
  if (Strikes(FaultKind::kHasFile)) return std::nullopt;
  return real_.HasFile(path);
}

Opened<InputFile> FaultyFileOps::OpenInput(const std::string& path) {
  if (real_.HasFile(path) != true || !Strikes(FaultKind::kOpenInput)) return real_.OpenInput(path);
  return {nullptr, cause_, Reason()};
}

Opened<OutputFile> FaultyFileOps::OpenOutput(const std::string& path) {
  if (!Strikes(FaultKind::kOpenOutput)) return real_.OpenOutput(path);
  return {nullptr, cause_, Reason()};
}

}  // namespace tolvashu::testing
