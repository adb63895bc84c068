// Names of the temporary files a copy writes before it replaces its
// destination. They start with a dot and carry our mark, so that a leftover
// from a crash is hidden on every platform and is never taken for data.
#pragma once

#include <string>
#include <string_view>

namespace tolvashu {

// A fresh name such as ".~tolvashu-3f9c0a1b22d4e871.tmp"; callers create it
// exclusively and ask for another one if it exists.
std::string MakeTemporaryName();

// True for a name that MakeTemporaryName could have made.
bool IsTemporaryName(std::string_view name);

// A wildcard pattern that every such name matches (and others may too).
inline constexpr char kTemporaryPattern[] = ".~tolvashu-*.tmp";

}  // namespace tolvashu
