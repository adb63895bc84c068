#include "app/command_line_ui.h"

#include <utility>

#include "app/console_message_box.h"
#include "app/console_paths.h"
#include "app/console_texts.h"
#include "folderchoice/folder_choice.h"
#include "folderchoice/folder_choice_view.h"
#include "folderchoice/form2_texts.h"

namespace tolvashu {

namespace {

// Why the folder given with --game is no game folder, with its path: there
// is nothing there, a file, or a folder without the game's executable.
std::string NotAGameFolderText(FileOps& files, const std::string& folder) {
  const std::string named = ShownPath(folder) + ": ";
  const std::optional<bool> is_folder = files.HasFolder(folder);
  if (!is_folder) return named + console::kGameFolderCannotLook;
  if (*is_folder) return named + console::kGameFolderWithoutExe;
  if (files.HasFile(folder).value_or(false)) return named + console::kGameFolderIsAFile;
  return named + console::kGameFolderMissing;
}

// The dialog as the arguments fill it in: the browser returns --game, and
// the only thing shown is the warning, a diagnostic on standard error.
class ArgumentFolderView : public FolderChoiceView {
 public:
  ArgumentFolderView(FileOps& files, ConsoleIo& errors, const std::optional<std::string>& game_folder)
      : files_(files), errors_(errors), game_folder_(game_folder) {}

  void SetBT2(const std::string& /*caption*/, bool enabled) override { bt2_enabled_ = enabled; }
  std::optional<std::string> BrowseForFolder(const std::string& /*start_folder*/) override { return game_folder_; }
  // The game check's warning, about the folder --game gave, says which
  // folder and what is there instead.
  void ShowWarning(const std::string& text) override {
    const bool about_game_folder = game_folder_ && text == form2::kNoGameExe;
    PrintDiagnostic(errors_, about_game_folder ? NotAGameFolderText(files_, *game_folder_) : text,
                    MessageIcon::kExclamation);
  }
  void Unload() override {}

  bool bt2_enabled() const { return bt2_enabled_; }

 private:
  FileOps& files_;
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
  ArgumentFolderView view(files_, errors_, game_folder_);
  choice.Load(view);
  if (game_folder_) {
    choice.ClickBT1(view);
  } else if (view.bt2_enabled()) {
    choice.ClickBT2(view);
  } else {
    PrintDiagnostic(errors_, console::kNoGameFolder);
  }
}

void CommandLineUi::PrintMessages(ConsoleIo& out) const {
  for (const Message& message : messages_) PrintMessageBox(out, message.text, message.icon);
}

void CommandLineUi::PrintDiagnostics() const {
  for (const Message& message : messages_) PrintDiagnostic(errors_, message.text, message.icon);
}

}  // namespace tolvashu
