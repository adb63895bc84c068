// Whether a folder's entries changed, told by the change notifications that
// keep the file layer's listings (folder_names_posix.h).
#pragma once

#include <memory>
#include <string_view>

#include "files/file_ops.h"
#include "files/path_resolver_posix.h"

namespace tolvashu {

// A watch on the folder that `pattern` searches; nullptr for a malformed
// pattern, a folder that does not exist or one whose changes cannot be
// followed. The watch looks the folder up again each time it is asked, so a
// path that comes to lead to another folder counts as a change.
std::unique_ptr<FolderWatch> WatchFolderOf(PathResolver& resolver, std::string_view pattern);

}  // namespace tolvashu
