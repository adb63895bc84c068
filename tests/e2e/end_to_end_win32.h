// The end-to-end run and the screenshot run of the Windows program.
#pragma once

#include <filesystem>

#include "e2e/checks.h"

namespace tolvashu::e2e {

// Works the installer through all its windows and operations and checks
// what it shows and what it does to the files.
void RunEndToEnd(Checks& checks, const std::filesystem::path& program);

// Brings each window into view in turn and, for each, prints
// "SHOT name left top width height" (the client area on the screen) and
// waits for a line on standard input before going on; the caller takes the
// screenshot in between.
void RunScreenshots(Checks& checks, const std::filesystem::path& program);

}  // namespace tolvashu::e2e
