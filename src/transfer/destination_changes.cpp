#include "transfer/destination_changes.h"

namespace tolvashu {

namespace {

constexpr char kCannotEmpty[] = "cannot be emptied";

}  // namespace

std::optional<FileFailure> EmptyFile(FileOps& files, const std::string& path) {
  if (files.CreateEmpty(path)) return std::nullopt;
  std::optional<FileFailure> failure = files.LastFailure();
  // Opening it may have failed only because another program holds it: the
  // folder's own record of it decides whether it is there.
  if (files.HasFile(path) == false) return std::nullopt;
  return failure ? std::move(*failure) : FileFailure{path, FailureCause::kOther, kCannotEmpty};
}

CopyResult DirectChanges::Copy(const std::string& source, const std::string& name) {
  return files_.CopyFile(source, folder_ + name);
}

std::vector<FileFailure> DirectChanges::Delete(const std::string& pattern) {
  return files_.DeleteMatching(folder_ + pattern).failures;
}

std::optional<FileFailure> DirectChanges::Empty(const std::string& name) { return EmptyFile(files_, folder_ + name); }

}  // namespace tolvashu
