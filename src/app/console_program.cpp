#include "app/console_program.h"

#include "app/app_state.h"
#include "app/console_main_menu.h"
#include "app/console_ui.h"
#include "app/operations.h"

namespace tolvashu {

void RunConsoleProgram(ConsoleIo& io, FileOps& files) {
  AppState state;
  ConsoleUi ui(io, files, state);
  Operations operations(files, ui, state);
  RunMainMenu(io, operations);
}

}  // namespace tolvashu
