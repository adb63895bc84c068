// The names each folder holds, looked up case-insensitively without reading
// the folder again for every lookup.
//
// Resolving a Windows name on a case-sensitive disk means finding the entry
// whose name differs only in case. Reading the whole folder for that on every
// file operation would make copying thousands of files into a folder of
// 20,000 entries quadratic, so each folder is read once into a listing keyed
// by its folded names, and kept up to date:
//  - a folder the kernel's change notification follows (folder_changes.h)
//    has its listing kept by the notifications alone, our own changes and
//    those of others alike, taken in before each lookup: nothing else needs
//    to be asked of the disk, and a file made behind our back is seen even
//    when it was made within the same tick of the file system clock as our
//    own last change;
//  - any other folder's listing is checked against the folder's identity and
//    change times at every lookup, and read again when they differ; our own
//    creations, renames and deletions are entered as we make them, with the
//    times they leave.
// The temporary files of copies (temporary_name.h) are never listed: they
// come and go with every copy, and no name the installer uses is one.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "disk_posix/folder_changes.h"

namespace tolvashu {

class FolderNames {
 public:
  struct Lookup {
    bool listed = false;              // false: the folder could not be read, so nothing is known
    std::optional<std::string> name;  // the variant found, as the disk spells it
  };
  // The entry of `folder` whose name equals `name` but for case. A folder
  // that cannot be read is never taken for one without such an entry.
  // `folder_status` is a fresh stat of the folder.
  Lookup FindVariant(const std::string& folder, const struct stat& folder_status, std::string_view name);

  // Every name the on-disk `folder` holds, in no particular order, when
  // the folder's changes are followed, so that the names are known to be
  // exact without reading the folder; std::nullopt otherwise.
  // `folder_status` is a fresh stat of the folder.
  std::optional<std::vector<std::string>> FollowedNames(const std::string& folder, const struct stat& folder_status);

  // Whether the listing last known for the on-disk `folder` lacks `name` in
  // every spelling. A hint only, for choosing which lookup to try first:
  // nothing is asked of the disk or taken in, so the folder may since have
  // changed, or its path may lead to another folder now.
  bool ProbablyLacks(const std::string& folder, std::string_view name) const;

  // Our own changes to a folder's entries, made just now. A followed folder
  // learns of them from its notifications, like of anybody else's; these
  // calls keep the other listings right, and cost nothing while there are
  // none.
  void NoteAdded(const std::string& folder, const std::string& name);
  void NoteRemoved(const std::string& folder, const std::string& name);
  // An entry was replaced in place: the same names, a new folder time.
  void NoteReplaced(const std::string& folder);

  // Identifies the entries of the on-disk `folder` (`folder_status` is a
  // fresh stat of it) as they are now: equal stamps mean that no entry was
  // added or removed in between. std::nullopt when the changes of that
  // folder cannot be followed.
  struct Stamp {
    FolderId folder;
    std::uint64_t changes;
    bool operator==(const Stamp& other) const { return folder == other.folder && changes == other.changes; }
  };
  std::optional<Stamp> StampOf(const std::string& folder, const struct stat& folder_status);

 private:
  // What changes when entries are added or removed.
  struct FolderState {
    struct timespec modified;
    struct timespec changed;
    off_t size;
    bool operator==(const FolderState& other) const;
  };
  struct Listing {
    bool followed;      // kept by the change notifications; otherwise by `state`
    FolderState state;  // what the folder's status said when the listing was last known right
    std::unordered_multimap<std::string, std::string> names;  // folded -> as on disk
  };
  using Listings = std::unordered_map<FolderId, Listing, FolderIdHash>;

  static FolderState StateOf(const struct stat& status);
  static void Add(Listing& listing, std::string_view name);
  static void Remove(Listing& listing, std::string_view name);

  Listings::iterator CurrentListing(const std::string& folder, const struct stat& folder_status);
  Listings::iterator Read(const std::string& folder);
  void TakeInChanges();
  void Apply(const FolderChange& change);
  void Forget(Listings::iterator listing);
  Listing* UnfollowedListing(const std::string& folder, struct stat& status);

  Listings listings_;
  std::unordered_map<std::string, FolderId> last_ids_;  // on-disk folder -> what it was when last looked up
  std::size_t unfollowed_listings_ = 0;  // listings that our own changes must update
  FolderChanges changes_;
};

}  // namespace tolvashu
