// The whole console program over a console and a file layer: the main menu
// until the user quits, with the process-wide state of one run.
#pragma once

#include "app/console_io.h"
#include "files/file_ops.h"

namespace tolvashu {

void RunConsoleProgram(ConsoleIo& io, FileOps& files);

}  // namespace tolvashu
