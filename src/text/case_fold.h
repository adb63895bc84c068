// Case-insensitive name comparison the way the Windows file system does it:
// two names are the same name when their characters are equal after each has
// been mapped to its upper-case form (one character to one character; no
// expansions such as «ß» -> «SS»). The mapping comes from the platform's
// Unicode tables, never from the user's locale, so every run of the program
// compares names alike.
#pragma once

#include <string>
#include <string_view>

namespace tolvashu {

char32_t FoldCase(char32_t c);

// The code points of a UTF-8 name, each folded (see code_points.h for bytes
// that are not UTF-8: they stay as they are).
std::u32string FoldCodePoints(std::string_view utf8);

// The folded name as UTF-8: equal for two names exactly when they differ at
// most in case. Used as a lookup key.
std::string FoldName(std::string_view utf8);

}  // namespace tolvashu
