// Finds what a Windows path names on a POSIX disk, the way Wine presents a
// Unix tree to Windows programs:
//  - `\` and `/` both separate names; empty names are ignored;
//  - a path that does not start with a separator is relative to the current
//    directory; `.` and `..` are applied to the text, as Windows does, before
//    anything is looked up;
//  - each name is looked up as written first and, when there is no such
//    entry, case-insensitively among the folder's entries (FolderNames).
#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>

#include "disk_posix/folder_names.h"

namespace tolvashu {

struct ResolvedPath {
  std::string path;    // on disk: existing names as the disk spells them, a missing last name as asked
  std::string folder;  // the on-disk folder that holds the last name
  std::string name;    // the last name; empty for the root
  bool folder_exists = false;
  bool exists = false;
  // A folder on the way could not be read (listed, or looked into), so
  // whether the path exists is not known: neither exists nor missing.
  bool unknown = false;
  struct stat status {};  // of the entry, links followed; valid when it exists
};

// The process's current directory as the system spells it; std::nullopt when
// it cannot be named (it was removed, or it is out of reach).
std::optional<std::string> WorkingFolder();

// The on-disk path of `name` inside the on-disk `folder`.
std::string ChildPath(const std::string& folder, std::string_view name);

class PathResolver {
 public:
  ResolvedPath Resolve(std::string_view windows_path);

  // The on-disk path `windows_path` names when each of its names is spelled
  // as on disk, found without asking the disk (but for the current
  // directory of a relative path); "" when that directory cannot be named.
  std::string AsWritten(std::string_view windows_path);

  // Our own changes, so that later lookups see them (FolderNames).
  FolderNames& names() { return names_; }

 private:
  struct Entry {
    std::string path;
    struct stat status;
  };

  // The existing entry that the on-disk `path` names in any case. `unknown`
  // is set when a folder on the way could not be read.
  std::optional<Entry> FindExisting(const std::string& path, bool& unknown);
  std::optional<Entry> FindInFolder(const Entry& folder, const std::string& name, bool& unknown);
  bool FoundNewInListing(const std::string& folder, ResolvedPath& resolved);

  FolderNames names_;
};

}  // namespace tolvashu
