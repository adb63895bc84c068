#include "disk_posix/folder_names.h"

#include <dirent.h>
#include <fcntl.h>

#include <cerrno>

#include "text/case_fold.h"
#include "disk_posix/folder_entries.h"
#include "disk/temporary_name.h"

namespace tolvashu {

namespace {

bool SameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

bool FolderNames::FolderState::operator==(const FolderState& other) const {
  return SameTime(modified, other.modified) && SameTime(changed, other.changed) && size == other.size;
}

FolderNames::FolderState FolderNames::StateOf(const struct stat& status) {
  return {status.st_mtim, status.st_ctim, status.st_size};
}

void FolderNames::Add(Listing& listing, std::string_view name) {
  std::string folded = FoldName(name);
  auto [first, last] = listing.names.equal_range(folded);
  for (auto it = first; it != last; ++it) {
    if (it->second == name) return;  // already known
  }
  listing.names.emplace(std::move(folded), std::string(name));
}

void FolderNames::Remove(Listing& listing, std::string_view name) {
  auto [first, last] = listing.names.equal_range(FoldName(name));
  for (auto it = first; it != last; ++it) {
    if (it->second == name) {
      listing.names.erase(it);
      return;
    }
  }
}

// The folder's listing brought up to date: what others did taken in, and
// read again when it is not followed and the folder's state has moved on.
FolderNames::Listings::iterator FolderNames::CurrentListing(const std::string& folder,
                                                           const struct stat& folder_status) {
  TakeInChanges();
  last_ids_.insert_or_assign(folder, IdOf(folder_status));
  auto it = listings_.find(IdOf(folder_status));
  if (it == listings_.end() || (!it->second.followed && !(it->second.state == StateOf(folder_status)))) {
    it = Read(folder);
  }
  return it;
}

FolderNames::Lookup FolderNames::FindVariant(const std::string& folder, const struct stat& folder_status,
                                            std::string_view name) {
  auto it = CurrentListing(folder, folder_status);
  if (it == listings_.end()) return {};
  auto found = it->second.names.find(FoldName(name));
  if (found == it->second.names.end()) return {true, std::nullopt};
  return {true, found->second};
}

std::optional<std::vector<std::string>> FolderNames::FollowedNames(const std::string& folder,
                                                                  const struct stat& folder_status) {
  auto it = CurrentListing(folder, folder_status);
  if (it == listings_.end() || !it->second.followed) return std::nullopt;
  std::vector<std::string> names;
  names.reserve(it->second.names.size());
  for (const auto& [folded, name] : it->second.names) names.push_back(name);
  return names;
}

bool FolderNames::ProbablyLacks(const std::string& folder, std::string_view name) const {
  auto id = last_ids_.find(folder);
  if (id == last_ids_.end()) return false;
  auto listing = listings_.find(id->second);
  return listing != listings_.end() && listing->second.names.count(FoldName(name)) == 0;
}

std::optional<FolderNames::Stamp> FolderNames::StampOf(const std::string& folder, const struct stat& folder_status) {
  const FolderId id = IdOf(folder_status);
  TakeInChanges();
  if (!changes_.FollowsFully(id) && !changes_.Follow(folder, id)) return std::nullopt;
  return Stamp{id, changes_.Stamp(id)};
}

// Reads the folder's names into a fresh listing. The folder is followed
// before it is read, so that no change made meanwhile is missed; its state
// is taken before reading, so that a change made during the read shows as a
// changed state at the next lookup.
FolderNames::Listings::iterator FolderNames::Read(const std::string& folder) {
  UniqueFd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  struct stat status;
  if (!fd.valid() || fstat(fd.get(), &status) != 0) return listings_.end();
  const FolderId id = IdOf(status);
  if (auto old = listings_.find(id); old != listings_.end()) Forget(old);
  const bool followed = changes_.FollowsFully(id) || changes_.Follow(folder, id);
  DIR* dir = fdopendir(fd.get());
  if (dir == nullptr) return listings_.end();
  fd.Release();  // now owned by `dir`
  Listing listing{followed, StateOf(status), {}};
  int error = ForEachEntry(dir, [&](const dirent& entry) {
    if (!IsTemporaryName(entry.d_name)) Add(listing, entry.d_name);
    return true;
  });
  closedir(dir);
  if (error != 0) return listings_.end();
  if (!followed) ++unfollowed_listings_;
  return listings_.emplace(id, std::move(listing)).first;
}

void FolderNames::Forget(Listings::iterator listing) {
  if (!listing->second.followed) --unfollowed_listings_;
  listings_.erase(listing);
}

void FolderNames::TakeInChanges() {
  changes_.TakeIn([this](const FolderChange& change) { Apply(change); });
}

void FolderNames::Apply(const FolderChange& change) {
  if (change.kind == FolderChange::kLost) {  // read every folder again
    listings_.clear();
    unfollowed_listings_ = 0;
    return;
  }
  auto listing = listings_.find(change.folder);
  if (listing == listings_.end()) return;
  switch (change.kind) {
    case FolderChange::kAdded:
      Add(listing->second, change.name);
      break;
    case FolderChange::kRemoved:
      Remove(listing->second, change.name);
      break;
    default:
      Forget(listing);
  }
}

// A followed folder's listing learns of our changes from the notifications,
// like of anybody else's. Any other listing is updated here, with the state
// the change left, taken after what others did has been taken in.
FolderNames::Listing* FolderNames::UnfollowedListing(const std::string& folder, struct stat& status) {
  if (unfollowed_listings_ == 0) return nullptr;
  TakeInChanges();
  if (stat(folder.c_str(), &status) != 0) return nullptr;
  auto it = listings_.find(IdOf(status));
  return it == listings_.end() || it->second.followed ? nullptr : &it->second;
}

void FolderNames::NoteAdded(const std::string& folder, const std::string& name) {
  struct stat status;
  if (Listing* listing = UnfollowedListing(folder, status)) {
    Add(*listing, name);
    listing->state = StateOf(status);
  }
}

void FolderNames::NoteRemoved(const std::string& folder, const std::string& name) {
  struct stat status;
  if (Listing* listing = UnfollowedListing(folder, status)) {
    Remove(*listing, name);
    listing->state = StateOf(status);
  }
}

void FolderNames::NoteReplaced(const std::string& folder) {
  struct stat status;
  if (Listing* listing = UnfollowedListing(folder, status)) listing->state = StateOf(status);
}

}  // namespace tolvashu
