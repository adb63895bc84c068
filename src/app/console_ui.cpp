#include "app/console_ui.h"

#include "app/console_folder_choice_view.h"
#include "app/console_message_box.h"

namespace tolvashu {

ConsoleUi::ConsoleUi(ConsoleIo& io, FileOps& files, AppState& state)
    : io_(io), files_(files), state_(state), notice_(io) {}

void ConsoleUi::ShowMessage(const std::string& text, MessageIcon icon) { PrintMessageBox(io_, text, icon); }

void ConsoleUi::ShowFolderChoice() {
  if (!folder_choice_) folder_choice_.emplace(files_, state_.GamePath, state_.PathChosen);
  ConsoleFolderChoiceView view(io_);
  view.Run(*folder_choice_);
}

}  // namespace tolvashu
