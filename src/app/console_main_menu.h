// The main window (form1) on the console: its caption and four buttons as a
// numbered menu, shown whenever the program is idle.
#pragma once

#include "app/console_io.h"
#include "app/operations.h"

namespace tolvashu {

// Runs until the user chooses "0" or the input ends.
void RunMainMenu(ConsoleIo& io, Operations& operations);

}  // namespace tolvashu
