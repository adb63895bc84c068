// ASCII-only upper-casing, for names that the code compares against fixed
// ASCII texts (device names) or uses as lookup keys. Every byte outside
// 'a'..'z' stays as it is, so UTF-8 text passes through unchanged.
#pragma once

#include <string>
#include <string_view>

namespace tolvashu {

inline std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace tolvashu
