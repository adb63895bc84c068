#include "transfer/wildcard.h"

namespace tolvashu {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsForbiddenInName(char c) {
  return c == '<' || c == '>' || c == '"' || c == '|' || static_cast<unsigned char>(c) < 0x20;
}

// Plain `*` / `?` matching. A mismatch after a star retries with the star
// taking one more character; only the last star needs revisiting, which keeps
// the work bounded by name length times pattern length.
bool MatchesPlain(std::u32string_view name, std::u32string_view pattern) {
  std::size_t n = 0;
  std::size_t p = 0;
  std::size_t star = std::u32string_view::npos;
  std::size_t star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == U'*') {
      star = p++;
      star_name = n;
    } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (star != std::u32string_view::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

}  // namespace

std::size_t NameStart(std::string_view path) {
  std::size_t last = path.find_last_of("\\/");
  if (last != std::string_view::npos) return last + 1;
  if (path.size() >= 2 && path[1] == ':' && IsDriveLetter(path[0])) return 2;
  return 0;
}

bool HasWildcard(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

std::optional<PatternParts> SplitPattern(std::string_view pattern) {
  if (pattern.empty()) return std::nullopt;
  std::size_t start = NameStart(pattern);
  PatternParts parts{std::string(pattern.substr(0, start)), std::string(pattern.substr(start))};
  if (HasWildcard(parts.folder)) return std::nullopt;
  for (char c : parts.name) {
    if (IsForbiddenInName(c)) return std::nullopt;
  }
  if (parts.name.empty()) {
    if (!IsSeparator(pattern.back())) return std::nullopt;  // a bare "X:"
    parts.name = "*";
  }
  return parts;
}

bool MatchesWildcard(std::u32string_view name, std::u32string_view pattern) {
  if (MatchesPlain(name, pattern)) return true;
  constexpr std::u32string_view kAnyExtension = U".*";
  if (pattern.size() >= kAnyExtension.size() &&
      pattern.substr(pattern.size() - kAnyExtension.size()) == kAnyExtension) {
    return MatchesPlain(name, pattern.substr(0, pattern.size() - kAnyExtension.size()));
  }
  return false;
}

}  // namespace tolvashu
