#include "disk_posix/listing_cache.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "disk/temporary_name.h"
#include "disk_posix/folder_entries.h"
#include "disk_posix/system_error.h"
#include "disk_posix/unique_fd.h"

namespace tolvashu {

namespace {

// Enough for a source folder and its two data subfolders, each listed in turn.
constexpr std::size_t kKeptListings = 4;

// Hidden, as Wine shows a Unix tree to Windows programs.
bool IsHiddenName(const char* name) { return name[0] == '.'; }

// The listing's type says enough for most entries; links, and file systems
// that give no type, need a stat, which follows a link to what it leads to.
EntryKind KindOf(int folder_fd, const dirent& entry) {
  if (entry.d_type == DT_REG) return EntryKind::kFile;
  if (entry.d_type == DT_DIR) return EntryKind::kFolder;
  if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return EntryKind::kOther;
  struct stat status;
  if (fstatat(folder_fd, entry.d_name, &status, 0) != 0) return EntryKind::kOther;  // a broken link
  if (S_ISREG(status.st_mode)) return EntryKind::kFile;
  return S_ISDIR(status.st_mode) ? EntryKind::kFolder : EntryKind::kOther;
}

}  // namespace

Result<std::vector<Listed>> ReadFolder(const std::string& folder, const ListingFilter& wanted) {
  UniqueFd fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd.valid()) {
    if (errno == ENOENT || errno == ENOTDIR) return DiskError::Absent("no such folder");
    return Failed(FailureCause::kUnreadable, ErrorOf(errno).reason);
  }
  DIR* dir = fdopendir(fd.get());
  if (dir == nullptr) return Failed(FailureCause::kUnreadable, ErrorOf(errno).reason);
  fd.Release();  // now owned by `dir`
  std::vector<Listed> entries;
  int error = ForEachEntry(dir, [&](const dirent& entry) {
    const bool hidden = IsHiddenName(entry.d_name);
    if (IsTemporaryName(entry.d_name) || (wanted && !wanted(entry.d_name, hidden))) return true;
    entries.push_back({entry.d_name, KindOf(dirfd(dir), entry), hidden});
    return true;
  });
  closedir(dir);
  if (error != 0) return Failed(FailureCause::kUnreadable, ErrorOf(error).reason);
  return entries;
}

const std::vector<Listed>* ListingCache::Find(const std::string& folder, const FolderNames::Stamp& stamp) const {
  for (const Kept& kept : kept_) {
    if (kept.folder == folder && kept.stamp == stamp) return &kept.entries;
  }
  return nullptr;
}

void ListingCache::Keep(const std::string& folder, const FolderNames::Stamp& stamp, std::vector<Listed> entries) {
  kept_.erase(std::remove_if(kept_.begin(), kept_.end(), [&](const Kept& kept) { return kept.folder == folder; }),
              kept_.end());
  if (kept_.size() == kKeptListings) kept_.erase(kept_.begin());
  kept_.push_back({folder, stamp, std::move(entries)});
}

}  // namespace tolvashu
