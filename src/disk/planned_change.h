// What a run would leave changed on the disk at one path, as the dry run's
// overlay (overlay_disk.h) tells it.
#pragma once

#include <cstdint>
#include <string>

namespace tolvashu {

enum class ChangeKind {
  kMakeFolder,  // a folder is there that was not
  kDelete,      // a file is gone, and nothing took its place
  kCopy,        // the file at `path` is a copy of `source`
  kEmpty,       // the file at `path` is empty, made so by the run
  kWrite,       // the file at `path` holds what the run wrote
};

struct PlannedChange {
  ChangeKind kind = ChangeKind::kCopy;
  std::string path;         // what changes, as the run named it
  std::string source;       // kCopy: the file whose content is copied
  bool replaces = false;    // kCopy, kEmpty, kWrite: a file was at `path` already
  std::uint64_t bytes = 0;  // kCopy, kWrite: how many bytes are written
  std::string written;      // kWrite: the bytes written
};

}  // namespace tolvashu
