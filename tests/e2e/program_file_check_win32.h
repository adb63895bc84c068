// Checks of the program file itself: its icon, manifest and version
// information, read from its resources without running it.
#pragma once

#include <filesystem>

#include "e2e/checks.h"

namespace tolvashu::e2e {

void CheckProgramFile(Checks& checks, const std::filesystem::path& program);

}  // namespace tolvashu::e2e
