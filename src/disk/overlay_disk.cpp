#include "disk/overlay_disk.h"

#include <set>
#include <utility>

#include "disk/path_parts.h"
#include "disk/temporary_name.h"
#include "text/case_fold.h"

namespace tolvashu {

namespace {

constexpr char kNewFolderKey[] = "new:";
constexpr char kRealFolderKey[] = "real:";


std::string ItemKey(const std::string& folder_key, std::string_view name) {
  return folder_key + '\n' + FoldName(name);
}

// The name that a path's last component gives a folder's entry: "", "."
// and ".." give none.
bool NamesAnEntry(std::string_view name) { return !name.empty() && name != "." && name != ".."; }

class BytesInput : public InputFile {
 public:
  explicit BytesInput(std::string bytes) : bytes_(std::move(bytes)) {}
  std::optional<std::string> ReadAll() override { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace

// A staged copy only knows where its content lies; kept, it becomes the
// destination's item.
class OverlayDisk::StagedContent : public StagedFile {
 public:
  StagedContent(OverlayDisk& overlay, Entry destination, std::string path, Content content)
      : StagedFile(std::move(destination)), overlay_(overlay), path_(std::move(path)), content_(std::move(content)) {}

  Result<void> Keep() override {
    Result<Entry> now = overlay_.Look(path_, Spelling::kAsHeld);
    if (!now.ok()) return now.error();
    if (now->exists()) return DiskError::Taken();
    Place place = overlay_.Locate(path_);
    if (!place.folder_key) return DiskError::NoFolder();
    Item item;
    item.name = destination().exists() ? destination().name : place.name;
    item.kind = EntryKind::kFile;
    item.content = content_;
    const std::string held = FolderPart(path_) + item.name;
    overlay_.Put(held, place, std::move(item));
    return {};
  }

 private:
  OverlayDisk& overlay_;
  const std::string path_;
  const Content content_;
};

// What the run writes goes straight into the file's item.
class OverlayDisk::WrittenContent : public OutputFile {
 public:
  WrittenContent(OverlayDisk& overlay, std::string path, std::shared_ptr<std::string> bytes)
      : overlay_(overlay), path_(std::move(path)), bytes_(std::move(bytes)) {}
  bool Write(std::string_view bytes) override {
    bytes_->append(bytes);
    overlay_.Written(path_, bytes_->size());
    return true;
  }
  bool Flush() override { return true; }
  bool Sync() override { return true; }
  bool Close() override { return true; }

 private:
  OverlayDisk& overlay_;
  const std::string path_;
  std::shared_ptr<std::string> bytes_;
};

// --- Where paths lead ---------------------------------------------------------

std::optional<std::string> OverlayDisk::FolderKey(const std::string& path) {
  std::string folder = WithoutSeparator(path);
  if (folder.empty()) folder = ".";
  auto known = folder_keys_.find(folder);
  if (known != folder_keys_.end()) return known->second;
  std::optional<std::string> key = FindFolderKey(folder);
  folder_keys_[folder] = key;
  return key;
}

// A folder the run made or removed is known by its item in its parent;
// any other is the real disk's.
std::optional<std::string> OverlayDisk::FindFolderKey(const std::string& folder) {
  const std::size_t start = NameStart(folder);
  const std::string name = folder.substr(start);
  if (NamesAnEntry(name) && (start > 0 || !IsPathSeparator(folder.front()))) {
    std::optional<std::string> parent = FolderKey(start > 0 ? folder.substr(0, start) : ".");
    if (!parent) return std::nullopt;
    auto item = items_.find(ItemKey(*parent, name));
    if (item != items_.end()) {
      if (!item->second.present || item->second.kind != EntryKind::kFolder) return std::nullopt;
      return item->second.key_as_folder;
    }
    if (IsNew(*parent)) return std::nullopt;  // a new folder holds only what the run put there
  }
  Result<std::string> identity = real_.FolderIdentity(folder);
  if (!identity.ok()) return std::nullopt;
  return kRealFolderKey + *identity;
}

OverlayDisk::Place OverlayDisk::Locate(const std::string& path) {
  const std::string trimmed = WithoutSeparator(path);
  const std::size_t start = NameStart(trimmed);
  Place place;
  place.name = trimmed.substr(start);
  place.folder_key = FolderKey(start > 0 ? trimmed.substr(0, start) : ".");
  return place;
}

OverlayDisk::Item* OverlayDisk::Overlaid(const Place& place) {
  if (!place.folder_key) return nullptr;
  auto item = items_.find(ItemKey(*place.folder_key, place.name));
  return item == items_.end() ? nullptr : &item->second;
}

bool OverlayDisk::IsNew(const std::string& folder_key) const { return folder_key.rfind(kNewFolderKey, 0) == 0; }

bool OverlayDisk::IsOwnFolder(const std::string& folder_key) const { return own_folders_.count(folder_key) != 0; }

Entry OverlayDisk::EntryOf(const Item& item) {
  Entry entry;
  entry.name = item.name;
  if (!item.present) return entry;
  entry.kind = item.kind;
  entry.read_only = item.read_only;
  entry.hidden = item.hidden;
  entry.size = item.content.size;
  return entry;
}

// --- Reading --------------------------------------------------------------------

// The real disk decides what it cannot see: a folder on the way that cannot
// be read, a path that names nothing.
Result<Entry> OverlayDisk::Look(const std::string& path, Spelling spelling) {
  Place place = Locate(path);
  if (!place.folder_key) {
    Result<Entry> real = RealLook(path, spelling);
    if (!real.ok()) return real;
    Entry none;
    none.kind = EntryKind::kNoFolder;
    none.name = place.name;
    return none;
  }
  if (const Item* item = Overlaid(place)) return EntryOf(*item);
  if (NamesAnEntry(place.name) && IsNew(*place.folder_key)) {
    Entry none;
    none.name = place.name;
    return none;
  }
  return RealLook(path, spelling);
}

// An answer that tells the name as held serves a look as asked too, with
// the name as asked. A failed look is not kept: it is met again.
Result<Entry> OverlayDisk::RealLook(const std::string& path, Spelling spelling) {
  auto known = real_looks_.find(path);
  if (known != real_looks_.end() && (known->second.as_held || spelling == Spelling::kAsAsked)) {
    Entry entry = known->second.entry;
    if (spelling == Spelling::kAsAsked && known->second.as_held) {
      const std::string asked = WithoutSeparator(path);
      entry.name = asked.substr(NameStart(asked));
    }
    return entry;
  }
  Result<Entry> real = real_.Look(path, spelling);
  if (real.ok()) real_looks_[path] = RealEntry{*real, spelling == Spelling::kAsHeld};
  return real;
}

Result<std::string> OverlayDisk::FolderIdentity(const std::string& path) {
  std::optional<std::string> key = FolderKey(path);
  if (!key) return DiskError::Absent("no such folder");
  return *key;
}

// The real entries as the run left them, then the run's new ones.
Result<std::vector<Listed>> OverlayDisk::List(const std::string& folder, const ListingFilter& wanted) {
  std::optional<std::string> key = FolderKey(folder);
  if (!key) {
    Result<std::vector<Listed>> real = real_.List(folder, wanted);
    if (!real.ok()) return real;
    return DiskError::Absent("no such folder");
  }
  std::vector<Listed> entries;
  std::set<std::string> listed;
  if (!IsNew(*key)) {
    Result<std::vector<Listed>> real = real_.List(folder, wanted);
    if (!real.ok()) return real;
    for (Listed& entry : *real) {
      const std::string item_key = ItemKey(*key, entry.name);
      listed.insert(item_key);
      auto item = items_.find(item_key);
      if (item == items_.end()) {
        entries.push_back(std::move(entry));
      } else if (item->second.present) {
        entries.push_back({item->second.name, item->second.kind, item->second.hidden});
      }
    }
  }
  for (const std::string& item_key : order_) {
    const Item& item = items_.at(item_key);
    if (item.present && item.folder_key == *key && listed.count(item_key) == 0 &&
        (!wanted || wanted(item.name, item.hidden))) {
      entries.push_back({item.name, item.kind, item.hidden});
    }
  }
  return entries;
}

Result<std::unique_ptr<InputFile>> OverlayDisk::OpenRead(const std::string& path, ReadSharing sharing) {
  Place place = Locate(path);
  const Item* item = Overlaid(place);
  if (!item) {
    if (place.folder_key && IsNew(*place.folder_key)) return DiskError::Absent();
    return real_.OpenRead(path, sharing);
  }
  if (!item->present) return DiskError::Absent();
  if (item->kind != EntryKind::kFile) return DiskError::WrongKind();
  if (item->content.bytes) return std::unique_ptr<InputFile>(std::make_unique<BytesInput>(*item->content.bytes));
  return real_.OpenRead(item->content.real_path, sharing);
}

// --- Changing -------------------------------------------------------------------

// A copy of a file the run wrote takes its bytes as they are now.
OverlayDisk::Content OverlayDisk::ContentOf(const std::string& path, const Entry& entry) {
  Place place = Locate(path);
  if (const Item* item = Overlaid(place)) {
    Content content = item->content;
    if (content.bytes) content.bytes = std::make_shared<std::string>(*content.bytes);
    return content;
  }
  Content content;
  content.real_path = path;
  content.real_key = place.folder_key ? ItemKey(*place.folder_key, place.name) : std::string();
  content.size = entry.size;
  return content;
}

OverlayDisk::Item& OverlayDisk::Change(const std::string& path, const Place& place) {
  const std::string key = ItemKey(*place.folder_key, place.name);
  auto [item, added] = items_.try_emplace(key);
  if (added) {
    order_.push_back(key);
    item->second.folder_key = *place.folder_key;
    item->second.own = IsOwnName(place.name) || IsOwnFolder(*place.folder_key);
    if (!IsNew(*place.folder_key)) {
      Result<Entry> real = RealLook(path, Spelling::kAsAsked);
      item->second.was_real = real.ok() && real->exists();
      item->second.real_kind = real.ok() ? real->kind : EntryKind::kNone;
    }
  }
  return item->second;
}

void OverlayDisk::Put(const std::string& path, const Place& place, Item changed) {
  Item& item = Change(path, place);
  item.path = path;
  item.name = std::move(changed.name);
  item.present = true;
  item.kind = changed.kind;
  item.read_only = changed.read_only;
  item.hidden = changed.hidden;
  item.content = std::move(changed.content);
  if (item.kind == EntryKind::kFolder) {
    item.key_as_folder = std::move(changed.key_as_folder);
    if (item.own) own_folders_.insert(item.key_as_folder);
    folder_keys_.clear();
  }
}

// The entry that `path` named is no longer there.
void OverlayDisk::Gone(const std::string& path, const Entry& entry) {
  Item& gone = Change(path, Locate(path));
  gone.path = FolderPart(path) + entry.name;
  gone.name = entry.name;
  gone.kind = entry.kind;
  gone.present = false;
}

void OverlayDisk::Written(const std::string& path, std::uint64_t size) {
  if (Item* item = Overlaid(Locate(path))) item->content.size = size;
}

// The source is opened, as the copy would open it, but not read.
Result<std::unique_ptr<StagedFile>, StageError> OverlayDisk::StageCopy(const std::string& source,
                                                                       const std::string& destination,
                                                                       const ChunkHook&) {
  Result<Entry> from = Look(source, Spelling::kAsHeld);
  if (!from.ok()) return StageError{true, from.error()};
  if (!from->exists()) return StageError{true, DiskError::Absent()};
  if (from->kind != EntryKind::kFile) return StageError{true, DiskError::WrongKind()};
  if (source_reads_ == SourceReads::kOpened) {
    Result<std::unique_ptr<InputFile>> readable = OpenRead(source, ReadSharing::kWithEveryone);
    if (!readable.ok()) return StageError{true, readable.error()};
  }
  Result<Entry> to = Look(destination, Spelling::kAsHeld);
  if (!to.ok()) return StageError{false, to.error()};
  if (to->kind == EntryKind::kNoFolder) return StageError{false, DiskError::NoFolder()};
  return std::unique_ptr<StagedFile>(
      std::make_unique<StagedContent>(*this, std::move(*to), destination, ContentOf(source, *from)));
}

Result<std::unique_ptr<OutputFile>> OverlayDisk::OpenWrite(const std::string& path, WriteMode mode) {
  Result<Entry> entry = Look(path, Spelling::kAsHeld);
  if (!entry.ok()) return entry.error();
  if (entry->kind == EntryKind::kNoFolder) return DiskError::NoFolder();
  if (mode == WriteMode::kCreateNewHidden && entry->exists()) return DiskError::Taken();
  if (entry->exists() && entry->kind != EntryKind::kFile) return DiskError::WrongKind();
  Place place = Locate(path);
  Item item;
  item.name = entry->exists() ? entry->name : place.name;
  item.read_only = entry->read_only;
  item.hidden = entry->hidden || mode == WriteMode::kCreateNewHidden;
  auto bytes = std::make_shared<std::string>();
  item.content.bytes = bytes;
  const std::string held = FolderPart(path) + item.name;
  Put(held, place, std::move(item));
  return std::unique_ptr<OutputFile>(std::make_unique<WrittenContent>(*this, held, std::move(bytes)));
}

// Only files are renamed by the installer, and only files here.
Result<void> OverlayDisk::Rename(const std::string& from, const std::string& to) {
  Result<Entry> entry = Look(from, Spelling::kAsHeld);
  if (!entry.ok()) return entry.error();
  if (!entry->exists()) return DiskError::Absent();
  if (entry->kind != EntryKind::kFile) return DiskError{DiskError::kFailed, FailureCause::kOther, "not planned"};
  Place target = Locate(to);
  if (!target.folder_key) return DiskError::NoFolder();
  Result<Entry> there = Look(to, Spelling::kAsHeld);
  if (!there.ok()) return there.error();
  if (there->exists()) return DiskError::Taken();
  Item moved;
  moved.name = target.name;
  moved.read_only = entry->read_only;
  moved.hidden = entry->hidden;
  moved.content = ContentOf(from, *entry);
  Put(to, target, std::move(moved));
  Gone(from, *entry);
  return {};
}

Result<void> OverlayDisk::RemoveFile(const std::string& path) {
  Result<Entry> entry = Look(path, Spelling::kAsHeld);
  if (!entry.ok()) return entry.error();
  if (!entry->exists()) return DiskError::Absent();
  if (entry->kind == EntryKind::kFolder) return DiskError::WrongKind("a folder");
  Gone(path, *entry);
  return {};
}

Result<void> OverlayDisk::RemoveFolder(const std::string& path) {
  Result<Entry> entry = Look(path, Spelling::kAsHeld);
  if (!entry.ok()) return entry.error();
  if (!entry->exists()) return DiskError::Absent();
  if (entry->kind != EntryKind::kFolder) return DiskError::WrongKind();
  Result<std::vector<Listed>> held = List(path, nullptr);
  if (!held.ok()) return held.error();
  if (!held->empty()) return DiskError{DiskError::kFailed, FailureCause::kOther, "not empty"};
  Gone(WithoutSeparator(path), *entry);
  folder_keys_.clear();
  return {};
}

Result<void> OverlayDisk::MakeFolder(const std::string& path, Visibility visibility) {
  Result<Entry> entry = Look(path, Spelling::kAsHeld);
  if (!entry.ok()) return entry.error();
  if (entry->kind == EntryKind::kNoFolder) return DiskError::NoFolder();
  if (entry->exists()) return DiskError::Taken();
  Place place = Locate(path);
  Item made;
  made.name = place.name;
  made.kind = EntryKind::kFolder;
  made.hidden = visibility == Visibility::kHidden;
  made.key_as_folder = kNewFolderKey + std::to_string(++new_folders_);
  Put(WithoutSeparator(path), place, std::move(made));
  return {};
}

// --- The net change -------------------------------------------------------------

std::vector<PlannedChange> OverlayDisk::Changes() {
  std::vector<PlannedChange> changes;
  for (const std::string& key : order_) {
    const Item& item = items_.at(key);
    if (item.own) continue;
    PlannedChange change;
    change.path = item.path;
    if (item.kind == EntryKind::kFolder || item.real_kind == EntryKind::kFolder) {
      if (!item.present || item.was_real) continue;
      change.kind = ChangeKind::kMakeFolder;
    } else if (!item.present) {
      if (!item.was_real) continue;
      change.kind = ChangeKind::kDelete;
    } else if (item.content.bytes) {
      change.kind = item.content.bytes->empty() ? ChangeKind::kEmpty : ChangeKind::kWrite;
      change.bytes = item.content.size;
      change.replaces = item.was_real;
      change.written = *item.content.bytes;
    } else {
      if (item.was_real && item.content.real_key == key) continue;  // put back where it was
      change.kind = ChangeKind::kCopy;
      change.source = item.content.real_path;
      change.replaces = item.was_real;
      change.bytes = item.content.size;
    }
    changes.push_back(std::move(change));
  }
  return changes;
}

}  // namespace tolvashu
