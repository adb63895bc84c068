// Recognises a game folder by its executable. The folder is a path as the
// folder browser returns it (no trailing separator except at a drive root);
// the executable's name is appended by plain concatenation.
#pragma once

#include <cstdint>
#include <string>

#include "files/file_ops.h"

namespace tolvashu {

inline constexpr char kGameExe[] = "\\Morbek.exe";
inline constexpr char kAltGameExe[] = "\\!Tolvashu.exe";

// 1 when "Morbek.exe" opens for reading in `folder`; otherwise the result of
// CheckAltGameExe.
std::int16_t CheckGameExe(FileOps& files, const std::string& folder);

// 1 when "!Tolvashu.exe" opens for reading in `folder`, -1 when it does not.
std::int16_t CheckAltGameExe(FileOps& files, const std::string& folder);

}  // namespace tolvashu
