#include "files/wildcard.h"

namespace tolvashu {

namespace {

constexpr std::u32string_view kAnyExtension = U".*";

// Plain `*` and `?` matching. A `*` first matches nothing; when the rest
// fails, the most recent `*` takes one more character. Earlier stars never
// need to be revisited, so the cost is at most pattern length x name length.
bool MatchesStars(std::u32string_view pattern, std::u32string_view name) {
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t star = std::u32string_view::npos;  // position of the last `*` seen
  std::size_t star_name = 0;                     // where that `*`'s match ends
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
      ++p, ++n;
    } else if (p < pattern.size() && pattern[p] == U'*') {
      star = p++;
      star_name = n;
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

bool EndsWith(std::u32string_view text, std::u32string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

}  // namespace

bool HasWildcard(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

bool MatchesWildcard(std::u32string_view pattern, std::u32string_view name) {
  if (MatchesStars(pattern, name)) return true;
  if (!EndsWith(pattern, kAnyExtension)) return false;
  return MatchesStars(pattern.substr(0, pattern.size() - kAnyExtension.size()), name);
}

}  // namespace tolvashu
