// The two parts of a file-layer path or pattern: the folder it names and the
// last component, which alone may hold wildcards (see wildcard.h).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tolvashu {

// Both '\' and '/' separate the components of a path, as on Windows.
inline constexpr std::string_view kPathSeparators = "\\/";
inline bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

// Where the last component of a Windows path starts: after the last '\' or
// '/', or after the "X:" of a drive-relative path. 0 when there is no folder.
std::size_t NameStart(std::string_view path);

struct PatternParts {
  std::string folder;  // as written, with its trailing separator; may be ""
  std::string name;    // the last component; "*" for a folder path
};

// Splits a pattern into the folder it searches and the names it matches.
// A pattern ending with a separator means every file of that folder.
// std::nullopt for a malformed pattern: empty, a wildcard outside the last
// component, or a character no Windows name may hold (< > " | and control
// characters, which Windows would otherwise read as extra wildcards).
std::optional<PatternParts> SplitPattern(std::string_view pattern);

}  // namespace tolvashu
