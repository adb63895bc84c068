// Wildcard names as the installer's deletion and enumeration patterns use
// them: `*` stands for any run of characters (also none), `?` for exactly one
// character, and a pattern that ends with ".*" also matches a name that has
// nothing where the ".*" stands, so "*.*" matches every name, with or without
// a dot, and "namedata*.*" matches «namedata1» as well as «namedata1.dat».
//
// Matching compares code points exactly: fold both sides first (case_fold.h)
// for the file system's case-insensitive matching.
#pragma once

#include <string>
#include <string_view>

namespace tolvashu {

// True when the text holds `*` or `?`.
bool HasWildcard(std::string_view text);

bool MatchesWildcard(std::u32string_view pattern, std::u32string_view name);

}  // namespace tolvashu
