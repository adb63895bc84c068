// Which files other processes hold open: what Windows tells a program by a
// sharing violation, and what a native program on Linux must look for
// itself, since the share modes of the game under Wine are invisible to it.
// A file the game holds is never moved aside or removed under it.
//
// The open files are read from /proc once per operation (on the first
// question after Watch), which costs no system call per file asked about;
// only those inside the watched folder are looked at. Where /proc cannot be
// read, each file asked about is tried with a write lease instead, which
// the kernel grants only while no other process has the file open.
#pragma once

#include <sys/stat.h>

#include <optional>
#include <set>
#include <string>
#include <utility>

namespace tolvashu {

class HeldFiles {
 public:
  // From now on, asks about files in the folder at `real_path` (absolute,
  // as the kernel spells it), from a new look at what is open.
  void Watch(std::string real_path);

  // Whether another process has the file at `path` with `status` open.
  // False outside the watched folder, or where nobody can tell.
  bool HeldByAnother(const std::string& path, const struct stat& status);

 private:
  using FileId = std::pair<dev_t, ino_t>;

  std::optional<std::string> root_;               // with a separator at its end
  std::optional<std::set<FileId>> open_elsewhere_;  // read once per Watch
  bool proc_unreadable_ = false;
};

}  // namespace tolvashu
