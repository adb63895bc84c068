#include "disk_posix/folder_changes.h"

#include <linux/magic.h>
#include <limits.h>
#include <sys/inotify.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>

#include "disk/temporary_name.h"

namespace tolvashu {

namespace {

// Entries added to or removed from a folder. The kernel also reports the end
// of a watch (IN_IGNORED) when the folder itself goes.
constexpr std::uint32_t kWatchedChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ONLYDIR;

// Room for many events per read; a read that leaves room for the largest
// possible event has emptied the queue.
constexpr std::size_t kBufferSize = 64 * 1024;
constexpr std::size_t kLargestEvent = sizeof(struct inotify_event) + NAME_MAX + 1;

// File systems whose every change passes through this kernel, which
// therefore reports them all. Not listed, and so never followed: network
// file systems, user-space ones, and layered ones whose lower folders can
// change unseen.
constexpr long kSeenByThisKernel[] = {
    EXT4_SUPER_MAGIC, XFS_SUPER_MAGIC,   BTRFS_SUPER_MAGIC, TMPFS_MAGIC,          RAMFS_MAGIC,
    F2FS_SUPER_MAGIC, MSDOS_SUPER_MAGIC, EXFAT_SUPER_MAGIC, REISERFS_SUPER_MAGIC, NILFS_SUPER_MAGIC,
    0x3153464a,  // jfs
    0x7366746e,  // ntfs3
    0xca451a4e,  // bcachefs
    0x2fc12fc1,  // zfs
};

bool IsSeenByThisKernel(const std::string& folder) {
  struct statfs file_system;
  if (statfs(folder.c_str(), &file_system) != 0) return false;
  for (long type : kSeenByThisKernel) {
    if (file_system.f_type == type) return true;
  }
  return false;
}

}  // namespace

std::size_t FolderIdHash::operator()(const FolderId& id) const {
  return std::hash<ino_t>()(id.inode) ^ (std::hash<dev_t>()(id.device) << 1);
}

FolderChanges::FolderChanges() = default;

FolderChanges::~FolderChanges() = default;

// The notification instance is made when the first folder is followed: a
// file layer that never needs one does not hold a kernel resource that is
// limited per user.
bool FolderChanges::Follow(const std::string& folder, const FolderId& id) {
  if (!notifications_.valid() && !notifications_tried_) {
    notifications_tried_ = true;
    notifications_ = UniqueFd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    buffer_.resize(kBufferSize);
  }
  if (!notifications_.valid()) return false;
  int watch = inotify_add_watch(notifications_.get(), folder.c_str(), kWatchedChanges);
  if (watch < 0) return false;
  watches_[watch] = id;
  if (!IsSeenByThisKernel(folder)) return false;
  stamps_[id] = ++last_stamp_;
  return true;
}

std::uint64_t FolderChanges::Stamp(const FolderId& id) const {
  auto found = stamps_.find(id);
  return found == stamps_.end() ? 0 : found->second;
}

void FolderChanges::TakeIn(const std::function<void(const FolderChange&)>& apply) {
  if (!notifications_.valid()) return;
  for (;;) {
    ssize_t length = read(notifications_.get(), buffer_.data(), buffer_.size());
    if (length < 0 && errno == EINTR) continue;
    if (length <= 0) return;  // EAGAIN: nothing to take in
    for (const char* at = buffer_.data(); at < buffer_.data() + length;) {
      const auto* event = reinterpret_cast<const struct inotify_event*>(at);
      Apply(event->wd, event->mask, event->len > 0 ? event->name : "", apply);
      at += sizeof(struct inotify_event) + event->len;
    }
    if (buffer_.size() - static_cast<std::size_t>(length) >= kLargestEvent) return;
  }
}

void FolderChanges::Apply(int watch, std::uint32_t mask, std::string_view name,
                          const std::function<void(const FolderChange&)>& apply) {
  if (mask & IN_Q_OVERFLOW) {  // changes were lost: every folder has changed
    for (auto& [id, stamp] : stamps_) stamp = ++last_stamp_;
    apply({FolderChange::kLost, {}, {}});
    return;
  }
  // The temporary files of copies come and go with every copy; nobody looks
  // them up or lists them, so their changes are no changes.
  if (IsTemporaryName(name)) return;
  auto watched = watches_.find(watch);
  if (watched == watches_.end()) return;
  const FolderId id = watched->second;
  if (mask & IN_IGNORED) {  // the folder is gone, and so is the watch
    watches_.erase(watched);
    stamps_.erase(id);
    apply({FolderChange::kGone, id, {}});
    return;
  }
  if (auto stamp = stamps_.find(id); stamp != stamps_.end()) stamp->second = ++last_stamp_;
  if (mask & (IN_CREATE | IN_MOVED_TO)) apply({FolderChange::kAdded, id, name});
  if (mask & (IN_DELETE | IN_MOVED_FROM)) apply({FolderChange::kRemoved, id, name});
}

}  // namespace tolvashu
