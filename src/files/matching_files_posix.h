// The ordinary files that an enumeration or deletion pattern names: regular
// files (a link counts as what it leads to) whose names do not start with '.'
// (hidden), never folders, never '.' or '..'.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/file_ops.h"
#include "files/path_resolver_posix.h"

namespace tolvashu {

// What a pattern whose last name is empty ("folder\") stands for.
enum class EmptyName { kEveryFile, kNoFile };

// Where the names come from.
enum class NameSource {
  kFolder,  // a reading of the folder: ordinary files only, in the folder's listing order
  // The names already known of a folder whose changes are followed (a
  // reading of the folder otherwise), in no particular order: they may name
  // folders and other entries that are not files, which the caller checks.
  kKnownNames,
};

struct MatchingFiles {
  bool malformed = false;          // SplitPattern (pattern_parts.h) refused it
  std::string folder;              // the folder on disk; empty when it does not exist
  std::string named_folder;        // the folder part as the caller wrote it, separator included
  std::vector<std::string> names;  // as on disk, in the folder's listing order
  // The folder exists but could not be read to its end: `names` may be short.
  std::optional<FileFailure> unreadable;
};

// `pattern` is a folder path + a name with `*` and `?` (wildcard.h), or a
// plain path, which names at most the one file it leads to.
MatchingFiles FindMatchingFiles(PathResolver& resolver, std::string_view pattern, EmptyName empty_name,
                                NameSource source = NameSource::kFolder);

// Hidden, as Wine shows a Unix tree to Windows programs.
inline bool IsHiddenName(std::string_view name) { return !name.empty() && name.front() == '.'; }

}  // namespace tolvashu
