// The removal of many files of one folder at once, the way a transfer
// clears its holding folders after the commit.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tolvashu {

struct EntryRemovalFailure {
  std::string name;
  int error;  // errno
};

// Removes the files `names` of the open folder `folder`; one already gone
// counts as removed. Removing a file frees its content, which costs far
// more than taking its name out of the folder, and only the latter is done
// one file at a time by the kernel: a long list is shared with a second
// thread. Every file that can be removed is; returns the first that could
// not be, if any.
std::optional<EntryRemovalFailure> RemoveEntries(int folder, const std::vector<std::string>& names);

}  // namespace tolvashu
