// Reading an open folder to its end, entry by entry.
#pragma once

#include <dirent.h>

#include <functional>

namespace tolvashu {

// Hands every entry of `dir` but "." and ".." to `visit`, which returns
// false to stop. Returns 0 when the folder was read to its end or `visit`
// stopped, or the errno value of the read that failed: readdir reports a
// failure only through errno.
int ForEachEntry(DIR* dir, const std::function<bool(const dirent&)>& visit);

}  // namespace tolvashu
