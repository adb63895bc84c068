// The one record of what a transfer has done to its destination: the
// folders where it moved files aside (into a holding folder), the files and
// folders it created, and the names it copied. It serves the transfer's memo of repeated copies, the commit
// (which removes what was held) and the undo (which removes what was
// created and puts back what was held).
//
// Paths are relative to the destination folder, with the names as the
// destination's folders hold them (the disk's spelling), so that the same
// file is always recorded under the same text.
//
// The memo: a second copy of the same name would only write the same bytes
// again (the scenario files of the fixed range are copied again by the
// series, and some catalogue names are also copied by a sweep), so it is
// left out. Only names that no other name of the transfer can reach are
// remembered: one component of ASCII letters, digits, '_', '-' and inner
// dots. Such a name reaches the same file as another only by ASCII case (a
// Windows short name always holds '~'), so the memo is keyed by the name in
// ASCII upper case and a repeat must match the remembered spelling exactly.
// Anything else that writes to the destination, or any other name, makes
// the memo forget what it cannot rule out.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tolvashu {

class TransferRecord {
 public:
  // --- The memo of copies ---------------------------------------------------

  // True when `name` was copied, and nothing written since can have changed
  // its source or its destination.
  bool AlreadyCopied(std::string_view name) const;
  // After a copy of `name`; `copied` says whether the destination now holds
  // the source's content.
  void Copied(std::string_view name, bool copied);
  // After the destination's `name_or_pattern` was deleted or emptied.
  void Changed(std::string_view name_or_pattern);

  // --- What the destination holds of the transfer ---------------------------

  // `folder` (relative, "" or ending with '\') got its holding folder,
  // which holds every file the transfer moved aside there.
  void HoldingFolderMade(const std::string& folder);
  // The file `path` is about to be created by the transfer.
  void Created(const std::string& path);
  // The file at `path` is (about to be) moved into its folder's holding folder.
  void MovedAside(const std::string& path) { moved_aside_.insert(path); }
  // The transfer made the folder `folder` (relative, ending with '\\').
  void FolderMade(const std::string& folder) { made_folders_.push_back(folder); }
  // Whether the transfer created `path` (spelled as recorded).
  bool IsCreated(const std::string& path) const { return created_set_.count(path) != 0; }

  // The folders with a holding folder, in the order they got one.
  const std::vector<std::string>& holding_folders() const { return holding_folders_; }
  // The files created, in the order they were created.
  const std::vector<std::string>& created() const { return created_; }
  // The folders made, in the order they were made.
  const std::vector<std::string>& made_folders() const { return made_folders_; }
  // The paths whose files were moved aside.
  const std::set<std::string>& moved_aside() const { return moved_aside_; }

 private:
  std::unordered_map<std::string, std::string> copied_;  // upper-case name -> name as copied
  std::vector<std::string> holding_folders_;
  std::vector<std::string> created_;
  std::vector<std::string> made_folders_;
  std::set<std::string> created_set_;
  std::set<std::string> moved_aside_;
};

}  // namespace tolvashu
