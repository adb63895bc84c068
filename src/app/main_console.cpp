// tolvashu-console: the installer on a text console. With no argument it
// speaks in numbered menus, as the Windows program speaks in windows, in the
// current directory, the package folder; with arguments it runs one
// operation and ends with an exit status (console_command.h).
#include "app/console_command.h"
#include "app/console_command_line.h"
#include "app/console_io.h"
#include "app/console_program.h"
#include "app/interruption.h"
#include "app/program_arguments.h"
#include "files/file_ops.h"

int main(int argc, char** argv) {
  tolvashu::CatchInterruptions();
  const tolvashu::CommandLine line = tolvashu::ParseCommandLine(tolvashu::ProgramArguments(argc, argv));
  std::unique_ptr<tolvashu::FileOps> files = tolvashu::MakePlatformFileOps();
  std::unique_ptr<tolvashu::ConsoleIo> io = tolvashu::MakeStandardConsoleIo();
  std::unique_ptr<tolvashu::ConsoleIo> errors = tolvashu::MakeStandardErrorIo();
  int status = 0;
  if (line.action == tolvashu::CommandAction::kMenus) {
    tolvashu::RunConsoleProgram(*io, *files);
    const int signal = tolvashu::InterruptingSignal();
    if (signal != 0) status = tolvashu::kExitSignalBase + signal;
  } else {
    status = tolvashu::RunConsoleCommand(line, *io, *errors, *files);
  }
  return tolvashu::ExitStatusOnceWritten(*io, *errors, status);
}
