// tolvashu-console: the installer on a text console. Like the Windows
// program it reads no argument and no environment setting and works in the
// current directory, the package folder.
#include "app/console_io.h"
#include "app/console_program.h"
#include "files/file_ops.h"

int main() {
  std::unique_ptr<tolvashu::FileOps> files = tolvashu::MakePlatformFileOps();
  std::unique_ptr<tolvashu::ConsoleIo> io = tolvashu::MakeStandardConsoleIo();
  tolvashu::RunConsoleProgram(*io, *files);
  return 0;
}
