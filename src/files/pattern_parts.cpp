#include "files/pattern_parts.h"

#include "files/wildcard.h"

namespace tolvashu {

namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsForbiddenInName(char c) {
  return c == '<' || c == '>' || c == '"' || c == '|' || static_cast<unsigned char>(c) < 0x20;
}

}  // namespace

std::size_t NameStart(std::string_view path) {
  std::size_t last = path.find_last_of(kPathSeparators);
  if (last != std::string_view::npos) return last + 1;
  if (path.size() >= 2 && path[1] == ':' && IsDriveLetter(path[0])) return 2;
  return 0;
}

std::optional<PatternParts> SplitPattern(std::string_view pattern) {
  if (pattern.empty()) return std::nullopt;
  std::size_t start = NameStart(pattern);
  PatternParts parts{std::string(pattern.substr(0, start)), std::string(pattern.substr(start))};
  if (HasWildcard(parts.folder)) return std::nullopt;
  for (char c : parts.name) {
    if (IsForbiddenInName(c)) return std::nullopt;
  }
  if (parts.name.empty()) {
    if (!IsPathSeparator(pattern.back())) return std::nullopt;  // a bare "X:"
    parts.name = "*";
  }
  return parts;
}

}  // namespace tolvashu
