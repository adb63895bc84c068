#include "app/command_line_ui.h"

#include <utility>

#include "app/console_message_box.h"
#include "app/console_texts.h"
#include "folderchoice/folder_choice.h"
#include "folderchoice/folder_choice_view.h"

namespace tolvashu {

namespace {

// The dialog as the arguments fill it in: the browser returns --game, and
// the only thing shown is the warning.
class ArgumentFolderView : public FolderChoiceView {
 public:
  ArgumentFolderView(ConsoleIo& errors, const std::optional<std::string>& game_folder)
      : errors_(errors), game_folder_(game_folder) {}

  void SetBT2(const std::string& /*caption*/, bool enabled) override { bt2_enabled_ = enabled; }
  std::optional<std::string> BrowseForFolder(const std::string& /*start_folder*/) override { return game_folder_; }
  void ShowWarning(const std::string& text) override { PrintMessageBox(errors_, text, MessageIcon::kExclamation); }
  void Unload() override {}

  bool bt2_enabled() const { return bt2_enabled_; }

 private:
  ConsoleIo& errors_;
  const std::optional<std::string>& game_folder_;
  bool bt2_enabled_ = false;
};

}  // namespace

CommandLineUi::CommandLineUi(FileOps& files, AppState& state, ConsoleIo& errors,
                             std::optional<std::string> game_folder, CommandLineNotice& notice)
    : files_(files), state_(state), errors_(errors), game_folder_(std::move(game_folder)), notice_(notice) {}

void CommandLineUi::ShowMessage(const std::string& text, MessageIcon icon) { messages_.push_back({text, icon}); }

void CommandLineUi::ShowFolderChoice() {
  FolderChoice choice(files_, state_.GamePath, state_.PathChosen);
  ArgumentFolderView view(errors_, game_folder_);
  choice.Load(view);
  if (game_folder_) {
    choice.ClickBT1(view);
  } else if (view.bt2_enabled()) {
    choice.ClickBT2(view);
  } else {
    errors_.WriteText(console::kNoGameFolder);
  }
}

void CommandLineUi::PrintMessages(ConsoleIo& io) const {
  for (const Message& message : messages_) PrintMessageBox(io, message.text, message.icon);
}

}  // namespace tolvashu
