// The file name that an item of the world file names. An item such as
// «背景画像: haikei01.jpg» names a file when its last four characters are
// ".jpg", ".gif", ".dat" or ".txt" (exact, lower case); the name is what
// follows the first ':' with every blank (U+0020, U+3000) and every further
// ':' left out. A full-width colon is no colon.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvashu {

// The name (possibly empty) when the item names a file, std::nullopt when it
// does not. Pure: any bytes in, no failure.
std::optional<std::string> ManifestFileName(std::string_view item);

}  // namespace tolvashu
