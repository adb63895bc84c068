// The names each folder holds, looked up case-insensitively without reading
// the folder again for every lookup.
//
// Resolving a Windows name on a case-sensitive disk means finding the entry
// whose name differs only in case. Reading the whole folder for that on every
// file operation would make copying thousands of files into a folder of
// 20,000 entries quadratic, so each folder is read once into a listing keyed
// by its folded names, and kept up to date:
//  - our own creations, renames and deletions are entered as we make them;
//  - every lookup first checks the folder's identity and change times
//    against those the listing was read at and reads it again when they
//    differ, so files made behind our back are found;
//  - where the kernel offers change notification, the listing also takes in
//    every entry added or removed by others, even one made within the same
//    tick of the file system clock as our own last change, which the times
//    alone cannot show.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "transfer/unique_fd_posix.h"

namespace tolvashu {

class FolderNames {
 public:
  FolderNames();
  ~FolderNames();
  FolderNames(const FolderNames&) = delete;
  FolderNames& operator=(const FolderNames&) = delete;

  struct Lookup {
    bool listed = false;              // false: the folder could not be read, so nothing is known
    std::optional<std::string> name;  // the variant found, as the disk spells it
  };
  // The entry of `folder` whose name equals `name` but for case. A folder
  // that cannot be read is never taken for one without such an entry.
  // `folder_status` is a fresh stat of the folder.
  Lookup FindVariant(const std::string& folder, const struct stat& folder_status, std::string_view name);

  // Our own changes to a folder's entries, made just now.
  void NoteAdded(const std::string& folder, const std::string& name);
  void NoteRemoved(const std::string& folder, const std::string& name);
  // An entry was replaced in place: the same names, a new folder time.
  void NoteReplaced(const std::string& folder);

 private:
  struct FolderId {
    dev_t device;
    ino_t inode;
    bool operator==(const FolderId& other) const { return device == other.device && inode == other.inode; }
  };
  struct FolderIdHash {
    std::size_t operator()(const FolderId& id) const;
  };
  // What changes when entries are added or removed.
  struct FolderState {
    struct timespec modified;
    struct timespec changed;
    off_t size;
    bool operator==(const FolderState& other) const;
  };
  struct Listing {
    FolderState state;
    std::unordered_multimap<std::string, std::string> names;  // folded -> as on disk
  };
  using Listings = std::unordered_map<FolderId, Listing, FolderIdHash>;

  static FolderId IdOf(const struct stat& status);
  static FolderState StateOf(const struct stat& status);
  static void Add(Listing& listing, const std::string& name);
  static void Remove(Listing& listing, const std::string& name);

  Listings::iterator Read(const std::string& folder);
  Listing* CachedListing(const std::string& folder, struct stat& status);
  void Watch(const std::string& folder, const FolderId& id);
  void TakeInNotifications();
  void TakeIn(int watch, std::uint32_t mask, const char* name);

  Listings listings_;
  UniqueFd notifications_;  // inotify instance; invalid when unavailable
  bool notifications_tried_ = false;
  std::unordered_map<int, FolderId> watches_;  // watch descriptor -> folder
};

}  // namespace tolvashu
