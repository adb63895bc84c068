#include "transfer/manifest_name.h"

#include <array>

namespace tolvashu {

namespace {

constexpr std::array<std::string_view, 4> kNamedExtensions = {".jpg", ".gif", ".dat", ".txt"};
constexpr char kColon = ':';
constexpr char kBlank = ' ';
constexpr std::string_view kIdeographicSpace = "\u3000";

// The extensions are ASCII, and an ASCII byte is always a whole character in
// UTF-8, so comparing the last bytes compares the last characters.
bool EndsWithNamedExtension(std::string_view item) {
  for (std::string_view extension : kNamedExtensions) {
    if (item.size() >= extension.size() && item.substr(item.size() - extension.size()) == extension) return true;
  }
  return false;
}

}  // namespace

std::optional<std::string> ManifestFileName(std::string_view item) {
  if (!EndsWithNamedExtension(item)) return std::nullopt;
  std::size_t colon = item.find(kColon);
  if (colon == std::string_view::npos) return std::string();
  std::string name;
  std::string_view rest = item.substr(colon + 1);
  for (std::size_t i = 0; i < rest.size();) {
    if (rest.compare(i, kIdeographicSpace.size(), kIdeographicSpace) == 0) {
      i += kIdeographicSpace.size();
    } else {
      if (rest[i] != kColon && rest[i] != kBlank) name += rest[i];
      ++i;
    }
  }
  return name;
}

}  // namespace tolvashu
