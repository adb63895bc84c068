// The console program run by its arguments: help, version, a usage error,
// or one operation, run once as its button runs it, ending with an exit
// status that a script can act on.
#pragma once

#include "app/console_command_line.h"
#include "app/console_io.h"
#include "files/file_ops.h"

namespace tolvashu {

enum ExitStatus : int {
  kExitDone = 0,      // the operation ended with its completion message (or, planned, would)
  kExitRefused = 1,   // a check refused it; nothing changed
  kExitFailed = 2,    // a failure report was shown
  kExitUsage = 64,    // the arguments are wrong
  kExitOutputFailed = 74,  // standard output could not be written
  kExitSignalBase = 128,  // + the signal's number: interrupted, and the transfer undone
};

// Runs every action but the menus. The completion message and a dry run's
// plan go to `out`; refusals, warnings, failure reports, usage errors, a dry
// run's messages and the progress line go to `errors`, each but the progress
// line as a diagnostic after the program's name. With --package the process's current folder
// becomes the package folder.
int RunConsoleCommand(const CommandLine& line, ConsoleIo& out, ConsoleIo& errors, FileOps& files);

// The exit status of a run that ended with `status`, once its output has
// been written out: kExitOutputFailed, told on `errors`, when it could not
// be (a full disk, a closed pipe), for the menus and every action alike.
int ExitStatusOnceWritten(ConsoleIo& out, ConsoleIo& errors, int status);

}  // namespace tolvashu
