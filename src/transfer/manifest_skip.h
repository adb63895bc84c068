// Why an item of the world file that names a file is not copied, for a
// front end that tells a package author what their world file does.
#pragma once

#include <optional>
#include <string_view>

namespace tolvashu {

enum class ManifestSkip {
  kNoName,         // nothing follows a ':' (or the item has none)
  kNotCp932,       // the world file's bytes there are no code page 932 text
  kOutsideFolder,  // the name would reach outside the transfer's folders
  kMissing,        // the source folder holds no such file
};

// Why the name taken from an item cannot be copied at all, or std::nullopt
// when it can be tried (and may still be missing).
std::optional<ManifestSkip> WhyNameIsRefused(std::string_view name);

}  // namespace tolvashu
