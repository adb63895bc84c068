#include "transfer/folder_names_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>

#include <cerrno>
#include <functional>

#include "transfer/case_fold.h"

namespace tolvashu {

namespace {

// Entries added to or removed from a folder. The kernel also reports the end
// of a watch (IN_IGNORED) when the folder itself goes.
constexpr std::uint32_t kWatchedChanges =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR;

bool SameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

std::size_t FolderNames::FolderIdHash::operator()(const FolderId& id) const {
  return std::hash<ino_t>()(id.inode) ^ (std::hash<dev_t>()(id.device) << 1);
}

bool FolderNames::FolderState::operator==(const FolderState& other) const {
  return SameTime(modified, other.modified) && SameTime(changed, other.changed) && size == other.size;
}

FolderNames::FolderNames() = default;

FolderNames::~FolderNames() = default;

FolderNames::FolderId FolderNames::IdOf(const struct stat& status) { return {status.st_dev, status.st_ino}; }

FolderNames::FolderState FolderNames::StateOf(const struct stat& status) {
  return {status.st_mtim, status.st_ctim, status.st_size};
}

void FolderNames::Add(Listing& listing, const std::string& name) {
  std::string folded = FoldName(name);
  auto [first, last] = listing.names.equal_range(folded);
  for (auto it = first; it != last; ++it) {
    if (it->second == name) return;  // already known
  }
  listing.names.emplace(std::move(folded), name);
}

void FolderNames::Remove(Listing& listing, const std::string& name) {
  auto [first, last] = listing.names.equal_range(FoldName(name));
  for (auto it = first; it != last; ++it) {
    if (it->second == name) {
      listing.names.erase(it);
      return;
    }
  }
}

FolderNames::Lookup FolderNames::FindVariant(const std::string& folder, const struct stat& folder_status,
                                            std::string_view name) {
  TakeInNotifications();
  auto it = listings_.find(IdOf(folder_status));
  if (it == listings_.end() || !(it->second.state == StateOf(folder_status))) it = Read(folder);
  if (it == listings_.end()) return {};
  auto found = it->second.names.find(FoldName(name));
  if (found == it->second.names.end()) return {true, std::nullopt};
  return {true, found->second};
}

// Reads the folder's names into a fresh listing. The watch is set before
// reading, so that no change made meanwhile is missed; the state is taken
// before reading, so that a change made during the read shows as a changed
// state at the next lookup.
FolderNames::Listings::iterator FolderNames::Read(const std::string& folder) {
  UniqueFd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  struct stat status;
  if (!fd.valid() || fstat(fd.get(), &status) != 0) return listings_.end();
  const FolderId id = IdOf(status);
  listings_.erase(id);
  Watch(folder, id);
  DIR* dir = fdopendir(fd.get());
  if (dir == nullptr) return listings_.end();
  fd.Release();  // now owned by `dir`
  Listing listing{StateOf(status), {}};
  bool complete = false;
  for (;;) {
    errno = 0;  // readdir reports a failure only through errno
    const dirent* entry = readdir(dir);
    if (entry == nullptr) {
      complete = errno == 0;
      break;
    }
    std::string_view name = entry->d_name;
    if (name != "." && name != "..") Add(listing, std::string(name));
  }
  closedir(dir);
  if (!complete) return listings_.end();
  return listings_.emplace(id, std::move(listing)).first;
}

// The notification instance is made with the first listing: a file layer
// that never needs one does not hold a kernel resource that is limited per
// user. Without notification (none in this kernel, or the limit reached) the
// change times alone keep the listings right.
void FolderNames::Watch(const std::string& folder, const FolderId& id) {
  if (!notifications_.valid() && !notifications_tried_) {
    notifications_tried_ = true;
    notifications_ = UniqueFd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
  }
  if (!notifications_.valid()) return;
  int watch = inotify_add_watch(notifications_.get(), folder.c_str(), kWatchedChanges);
  if (watch >= 0) watches_[watch] = id;
}

// Applies the changes the kernel has reported since the last call.
void FolderNames::TakeInNotifications() {
  if (!notifications_.valid()) return;
  alignas(struct inotify_event) char buffer[16 * 1024];
  for (;;) {
    ssize_t length = read(notifications_.get(), buffer, sizeof buffer);
    if (length < 0 && errno == EINTR) continue;
    if (length <= 0) return;  // EAGAIN: nothing more to take in
    for (const char* at = buffer; at < buffer + length;) {
      const auto* event = reinterpret_cast<const struct inotify_event*>(at);
      TakeIn(event->wd, event->mask, event->len > 0 ? event->name : "");
      at += sizeof(struct inotify_event) + event->len;
    }
  }
}

void FolderNames::TakeIn(int watch, std::uint32_t mask, const char* name) {
  if (mask & IN_Q_OVERFLOW) {  // changes were lost: read every folder again
    listings_.clear();
    return;
  }
  auto watched = watches_.find(watch);
  if (watched == watches_.end()) return;
  auto listing = listings_.find(watched->second);
  if (mask & IN_IGNORED) {  // the folder is gone, and so is the watch
    if (listing != listings_.end()) listings_.erase(listing);
    watches_.erase(watched);
    return;
  }
  if (listing == listings_.end()) return;
  if (mask & (IN_CREATE | IN_MOVED_TO)) Add(listing->second, name);
  if (mask & (IN_DELETE | IN_MOVED_FROM)) Remove(listing->second, name);
}

// Takes in what others did first, so that the state taken now describes
// our listing.
FolderNames::Listing* FolderNames::CachedListing(const std::string& folder, struct stat& status) {
  TakeInNotifications();
  if (stat(folder.c_str(), &status) != 0) return nullptr;
  auto it = listings_.find(IdOf(status));
  return it == listings_.end() ? nullptr : &it->second;
}

void FolderNames::NoteAdded(const std::string& folder, const std::string& name) {
  struct stat status;
  if (Listing* listing = CachedListing(folder, status)) {
    Add(*listing, name);
    listing->state = StateOf(status);
  }
}

void FolderNames::NoteRemoved(const std::string& folder, const std::string& name) {
  struct stat status;
  if (Listing* listing = CachedListing(folder, status)) {
    Remove(*listing, name);
    listing->state = StateOf(status);
  }
}

void FolderNames::NoteReplaced(const std::string& folder) {
  struct stat status;
  if (Listing* listing = CachedListing(folder, status)) listing->state = StateOf(status);
}

}  // namespace tolvashu
