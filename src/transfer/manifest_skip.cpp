#include "transfer/manifest_skip.h"

#include "transfer/inside_folder.h"

namespace tolvashu {

namespace {

// What the code page 932 decoder puts where the bytes are no character; no
// code page 932 character decodes to it.
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

}  // namespace

std::optional<ManifestSkip> WhyNameIsRefused(std::string_view name) {
  if (name.empty()) return ManifestSkip::kNoName;
  // Such a name is not the one the author wrote: whatever file it reached
  // would be the wrong one.
  if (name.find(kReplacementCharacter) != std::string_view::npos) return ManifestSkip::kNotCp932;
  if (!StaysInsideFolder(name)) return ManifestSkip::kOutsideFolder;
  return std::nullopt;
}

}  // namespace tolvashu
