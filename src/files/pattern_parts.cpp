#include "files/pattern_parts.h"

#include "files/wildcard.h"

namespace tolvashu {

namespace {

bool IsForbiddenInName(char c) {
  return c == '<' || c == '>' || c == '"' || c == '|' || static_cast<unsigned char>(c) < 0x20;
}

}  // namespace

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
