// Follows the entries added to and removed from folders, through the
// kernel's change notification (inotify), so that what we know of a folder
// can be kept right without reading the folder or its status again.
//
// A folder is followed fully only where the kernel sees every change made
// to it: a folder on a local disk. On a network or user-space file system
// others may change entries where this kernel cannot see it; such a folder
// is still watched for the changes made on this machine, but whoever asks
// must also look at the folder itself.
//
// The notifications are read only when someone needs to know (TakeIn), in
// as few reads as the queue allows, never before every file operation.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "disk_posix/unique_fd.h"

namespace tolvashu {

// What makes a folder the same folder however its path is spelled.
struct FolderId {
  dev_t device;
  ino_t inode;
  bool operator==(const FolderId& other) const { return device == other.device && inode == other.inode; }
};

struct FolderIdHash {
  std::size_t operator()(const FolderId& id) const;
};

inline FolderId IdOf(const struct stat& status) { return {status.st_dev, status.st_ino}; }

// One change to a followed folder, as TakeIn hands it on.
struct FolderChange {
  enum Kind {
    kAdded,    // `name` was created or moved in
    kRemoved,  // `name` was deleted or moved out
    kGone,     // the folder itself was deleted, or can no longer be followed
    kLost,     // the kernel dropped changes: nothing known of any folder holds
  };
  Kind kind;
  FolderId folder;        // unused for kLost
  std::string_view name;  // for kAdded and kRemoved
};

class FolderChanges {
 public:
  FolderChanges();
  ~FolderChanges();
  FolderChanges(const FolderChanges&) = delete;
  FolderChanges& operator=(const FolderChanges&) = delete;

  // Starts following the on-disk `folder`, whose identity is `id`. True when
  // the notifications alone show every change of it; false when not (no
  // notification in this kernel, the per-user limit reached, or a file
  // system that others change unseen), though the changes made on this
  // machine may still be handed on.
  bool Follow(const std::string& folder, const FolderId& id);
  bool FollowsFully(const FolderId& id) const { return stamps_.count(id) != 0; }

  // Hands every change reported since the last call to `apply`.
  void TakeIn(const std::function<void(const FolderChange&)>& apply);

  // A number that differs from every earlier one whenever a change of the
  // fully followed folder has been taken in; 0 for any other folder.
  std::uint64_t Stamp(const FolderId& id) const;

 private:
  void Apply(int watch, std::uint32_t mask, std::string_view name,
             const std::function<void(const FolderChange&)>& apply);

  UniqueFd notifications_;  // inotify instance; invalid when unavailable
  bool notifications_tried_ = false;
  std::unordered_map<int, FolderId> watches_;                    // watch descriptor -> folder
  std::unordered_map<FolderId, std::uint64_t, FolderIdHash> stamps_;  // fully followed folder -> its stamp
  std::uint64_t last_stamp_ = 0;
  std::vector<char> buffer_;
};

}  // namespace tolvashu
