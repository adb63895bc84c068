#include "disk_posix/folder_entries.h"

#include <cerrno>
#include <string_view>

namespace tolvashu {

int ForEachEntry(DIR* dir, const std::function<bool(const dirent&)>& visit) {
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(dir);
    if (entry == nullptr) return errno;
    std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (!visit(*entry)) return 0;
  }
}

}  // namespace tolvashu
