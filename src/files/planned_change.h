// One change that a run would make to the disk, as the planning file layer
// records it instead of making it.
#pragma once

#include <cstdint>
#include <string>

namespace tolvashu {

enum class ChangeKind {
  kMakeFolder,  // a folder is created
  kDelete,      // a file is deleted
  kCopy,        // a file is copied over `path`
  kEmpty,       // a file is created or truncated, and left empty
  kWrite,       // a file is created or truncated, and written
};

struct PlannedChange {
  ChangeKind kind = ChangeKind::kCopy;
  std::string path;         // what changes, as the caller named it
  std::string source;       // kCopy: the file whose content is copied
  bool replaces = false;    // kCopy: a file was at `path` already
  std::uint64_t bytes = 0;  // kCopy, kWrite: how many bytes are written
};

}  // namespace tolvashu
