#include "disk_posix/entry_removal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <thread>

namespace tolvashu {

namespace {

// Fewer files than this are not worth starting a thread for.
constexpr std::size_t kShared = 64;

std::optional<EntryRemovalFailure> RemoveRange(int folder, const std::vector<std::string>& names, std::size_t from,
                                               std::size_t to) {
  std::optional<EntryRemovalFailure> first;
  for (std::size_t i = from; i < to; ++i) {
    if (unlinkat(folder, names[i].c_str(), 0) != 0 && errno != ENOENT && !first) first = {names[i], errno};
  }
  return first;
}

}  // namespace

std::optional<EntryRemovalFailure> RemoveEntries(int folder, const std::vector<std::string>& names) {
  if (names.size() < kShared) return RemoveRange(folder, names, 0, names.size());
  const std::size_t half = names.size() / 2;
  std::optional<EntryRemovalFailure> second;
  std::thread helper([&] { second = RemoveRange(folder, names, half, names.size()); });
  std::optional<EntryRemovalFailure> first = RemoveRange(folder, names, 0, half);
  helper.join();
  return first ? first : second;
}

}  // namespace tolvashu
