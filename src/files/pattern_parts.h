// The two parts of a file-layer path or pattern: the folder it names and the
// last component, which alone may hold wildcards (see wildcard.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "disk/path_parts.h"

namespace tolvashu {

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
