#include "files/planning_file_ops.h"

#include <memory>
#include <utility>

#include "files/case_fold.h"
#include "files/pattern_parts.h"
#include "files/wildcard.h"

namespace tolvashu {

namespace {

constexpr char kNoFolder[] = "the folder does not exist";
constexpr char kNoFile[] = "no such file";
constexpr char kCannotList[] = "folder cannot be listed";
constexpr char kCannotRead[] = "cannot be read";

// One key for the spellings of a path that name the same file on the
// case-insensitive file system: any case, either separator, a doubled or a
// trailing separator. A leading "\\" (a network path) is kept.
std::string PathKey(std::string_view path) {
  std::string key;
  for (char c : path) {
    const char unified = IsPathSeparator(c) ? '\\' : c;
    if (unified == '\\' && key.size() > 1 && key.back() == '\\') continue;
    key += unified;
  }
  while (key.size() > 1 && key.back() == '\\') key.pop_back();
  return FoldName(key);
}

std::string FolderOf(const std::string& path) { return path.substr(0, NameStart(path)); }

PlannedChange Change(ChangeKind kind, std::string path) {
  PlannedChange change;
  change.kind = kind;
  change.path = std::move(path);
  return change;
}

class BytesInput : public InputFile {
 public:
  explicit BytesInput(std::string bytes) : bytes_(std::move(bytes)) {}
  std::optional<std::string> ReadAll() override { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace

// Collects what is written and hands it to the plan when closed: a file
// opened and closed with nothing written is planned as emptied.
class PlanningFileOps::PlannedOutput : public OutputFile {
 public:
  PlannedOutput(PlanningFileOps& owner, std::string path) : owner_(owner), path_(std::move(path)) {}
  bool Write(std::string_view bytes) override {
    bytes_.append(bytes);
    return true;
  }
  bool Flush() override { return true; }
  bool Sync() override { return true; }
  bool Close() override {
    if (!closed_) owner_.Written(path_, std::move(bytes_));
    closed_ = true;
    return true;
  }

 private:
  PlanningFileOps& owner_;
  std::string path_;
  std::string bytes_;
  bool closed_ = false;
};

const PlanningFileOps::PlannedFile* PlanningFileOps::Planned(const std::string& path) const {
  auto found = files_.find(PathKey(path));
  return found == files_.end() ? nullptr : &found->second;
}

PlanningFileOps::PlannedFile& PlanningFileOps::Plan(const std::string& path) {
  const std::string key = PathKey(path);
  auto [entry, added] = files_.try_emplace(key);
  if (added) {
    entry->second.folder_key = PathKey(FolderOf(path));
    entry->second.name = path.substr(NameStart(path));
    order_.push_back(key);
  }
  return entry->second;
}

// "" is the current folder, which is there.
bool PlanningFileOps::FolderExists(const std::string& folder) {
  return folder.empty() || folders_.count(PathKey(folder)) > 0 || real_.IsSameFolder(folder, folder);
}

std::optional<bool> PlanningFileOps::FileExists(const std::string& path) {
  if (const PlannedFile* planned = Planned(path)) return planned->exists;
  return real_.HasFile(path);
}

void PlanningFileOps::Written(const std::string& path, std::string bytes) {
  PlannedChange change = Change(bytes.empty() ? ChangeKind::kEmpty : ChangeKind::kWrite, path);
  change.bytes = bytes.size();
  changes_.push_back(std::move(change));
  PlannedFile& file = Plan(path);
  file.exists = true;
  file.content_from.reset();
  file.size = bytes.size();
  file.bytes = std::move(bytes);
}

bool PlanningFileOps::MakeFolder(const std::string& path) {
  const std::string parent = FolderOf(path);
  if (FolderExists(path) || FileExists(path) != false) return false;
  if (!FolderExists(parent)) return false;
  changes_.push_back(Change(ChangeKind::kMakeFolder, path));
  folders_.insert(PathKey(path));
  return true;
}

DeleteResult PlanningFileOps::DeleteMatching(const std::string& pattern) {
  DeleteResult result;
  if (pattern.empty() || IsPathSeparator(pattern.back())) return result;  // a folder names no file
  FileList matches = ListFiles(pattern);
  if (matches.unreadable) result.failures.push_back(*matches.unreadable);
  if (!matches.ok()) return result;
  const std::string folder = FolderOf(pattern);
  for (const std::string& name : matches.names) {
    changes_.push_back(Change(ChangeKind::kDelete, folder + name));
    PlannedFile& file = Plan(folder + name);
    file.exists = false;
    file.content_from.reset();
    file.bytes.clear();
    file.size = 0;
    ++result.deleted;
  }
  return result;
}

// The real listing without the files planned away, then the planned files
// that the real folder does not hold, in the order they were planned.
FileList PlanningFileOps::ListFiles(const std::string& pattern) {
  FileList list = real_.ListFiles(pattern);
  std::optional<PatternParts> parts = SplitPattern(pattern);
  if (!list.ok() || !parts) return list;
  std::set<std::string> listed;
  std::vector<std::string> names;
  for (std::string& name : list.names) {
    const PlannedFile* planned = Planned(parts->folder + name);
    listed.insert(PathKey(parts->folder + name));
    if (!planned || planned->exists) names.push_back(std::move(name));
  }
  const std::string folder_key = PathKey(parts->folder);
  const std::u32string name_pattern = FoldCodePoints(parts->name);
  for (const std::string& key : order_) {
    const PlannedFile& file = files_.at(key);
    if (file.exists && file.folder_key == folder_key && listed.count(key) == 0 &&
        MatchesWildcard(name_pattern, FoldCodePoints(file.name))) {
      names.push_back(file.name);
    }
  }
  list.names = std::move(names);
  return list;
}

CopyResult PlanningFileOps::CopyFile(const std::string& source, const std::string& destination,
                                     const PlaceNewContent& place) {
  PlannedFile content;
  if (const PlannedFile* planned = Planned(source)) {
    if (!planned->exists) return {CopyOutcome::kSourceMissing, FailureCause::kOther, {}, {}};
    content = *planned;
  } else {
    // Read through, as the copy would: a source that cannot be read fails here too.
    Opened<InputFile> input = real_.OpenInput(source);
    if (!input.file) {
      std::optional<bool> there = real_.HasFile(source);
      if (there == false) return {CopyOutcome::kSourceMissing, FailureCause::kOther, {}, {}};
      if (!there) return {CopyOutcome::kFailed, FailureCause::kUnreadable, kCannotList, FolderOf(source)};
      return {CopyOutcome::kFailed, input.cause, std::move(input.reason), {}};
    }
    std::optional<std::string> bytes = input.file->ReadAll();
    if (!bytes) return {CopyOutcome::kFailed, FailureCause::kUnreadable, kCannotRead, {}};
    content.content_from = source;
    content.size = bytes->size();
  }
  if (!FolderExists(FolderOf(destination))) return {CopyOutcome::kFailed, FailureCause::kOther, kNoFolder, {}};
  const bool replaces = FileExists(destination) == true;
  if (Placement placement = place(destination, replaces); placement.refused) {
    return {CopyOutcome::kFailed, placement.refused->cause, placement.refused->reason, {}};
  }

  PlannedChange change = Change(ChangeKind::kCopy, destination);
  change.source = source;
  change.replaces = replaces;
  change.bytes = content.size;
  changes_.push_back(std::move(change));
  PlannedFile& file = Plan(destination);
  file.exists = true;
  file.content_from = std::move(content.content_from);
  file.bytes = std::move(content.bytes);
  file.size = content.size;
  return {CopyOutcome::kCopied, FailureCause::kOther, {}, {}};
}

MoveResult PlanningFileOps::MoveIntoFolder(const std::string& path, const std::string&) {
  return {false, {}, NotPlanned(path)};
}

Opened<OutputFile> PlanningFileOps::CreateHiddenFile(const std::string& path) {
  FileFailure failure = NotPlanned(path);
  return {nullptr, failure.cause, failure.reason};
}

bool PlanningFileOps::IsSameFolder(const std::string& a, const std::string& b) {
  if (folders_.count(PathKey(a)) > 0 || folders_.count(PathKey(b)) > 0) return PathKey(a) == PathKey(b);
  return real_.IsSameFolder(a, b);
}

std::optional<bool> PlanningFileOps::HasFile(const std::string& path) { return FileExists(path); }

Opened<InputFile> PlanningFileOps::OpenInput(const std::string& path) {
  const PlannedFile* planned = Planned(path);
  if (!planned) return real_.OpenInput(path);
  if (!planned->exists) return {nullptr, FailureCause::kOther, kNoFile};
  if (planned->content_from) return real_.OpenInput(*planned->content_from);
  return {std::make_unique<BytesInput>(planned->bytes), FailureCause::kOther, {}};
}

Opened<OutputFile> PlanningFileOps::OpenOutput(const std::string& path) {
  if (!FolderExists(FolderOf(path))) return {nullptr, FailureCause::kOther, kNoFolder};
  return {std::make_unique<PlannedOutput>(*this, path), FailureCause::kOther, {}};
}

}  // namespace tolvashu
