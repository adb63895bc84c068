#include "transfer/destination_changes.h"

#include "files/pattern_parts.h"

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

std::vector<std::string> FolderLevels(const std::string& folder) {
  std::vector<std::string> levels;
  for (std::size_t at = folder.find_first_of(kPathSeparators); at != std::string::npos;
       at = folder.find_first_of(kPathSeparators, at + 1)) {
    levels.push_back(folder.substr(0, at + 1));
  }
  return levels;
}

// One that exists already, or cannot be made, is passed over: the copy into
// it then says what is wrong.
std::optional<FileFailure> DirectChanges::MakeFolders(const std::string& folder) {
  for (const std::string& level : FolderLevels(folder)) files_.MakeFolder(folder_ + level.substr(0, level.size() - 1));
  return std::nullopt;
}

std::optional<FileFailure> DirectChanges::Empty(const std::string& name) { return EmptyFile(files_, folder_ + name); }

}  // namespace tolvashu
