#include "app/console_folder_choice_view.h"

#include "app/console_message_box.h"
#include "app/console_texts.h"
#include "disk/path_parts.h"
#include "folderchoice/form2_texts.h"

namespace tolvashu {

namespace {

// The folder browser returns a folder without a trailing separator, except
// for a root such as «D:\» or «/».
std::string AsBrowserReturnsIt(std::string path) {
  while (path.size() > 1 && IsPathSeparator(path.back()) && path[path.size() - 2] != ':') path.pop_back();
  return path;
}

}  // namespace

void ConsoleFolderChoiceView::Run(FolderChoice& choice) {
  unloaded_ = false;
  choice.Load(*this);
  while (!unloaded_) {
    Print();
    std::optional<std::string> line = io_.ReadChoice();
    if (!line) {
      choice.CloseBox(*this);
    } else {
      Dispatch(*line, choice);
    }
  }
}

void ConsoleFolderChoiceView::Dispatch(const std::string& choice, FolderChoice& logic) {
  if (choice == "1") {
    logic.ClickBT1(*this);
  } else if (choice == "2") {
    // A disabled button cannot be pressed.
    if (bt2_enabled_) logic.ClickBT2(*this);
  } else if (choice == "0") {
    logic.CloseBox(*this);
  }
  // Anything else shows the dialog again.
}

void ConsoleFolderChoiceView::Print() {
  io_.WriteText(form2::kCaption);
  io_.WriteText(form2::kLabel1);
  io_.WriteText(std::string("1: ") + form2::kBT1);
  io_.WriteText(std::string("2: ") + (bt2_enabled_ ? "" : console::kDisabledMark) + bt2_caption_);
  io_.WriteText(console::kCloseItem);
  io_.Write(console::kPrompt);
}

void ConsoleFolderChoiceView::SetBT2(const std::string& caption, bool enabled) {
  bt2_caption_ = caption;
  bt2_enabled_ = enabled;
}

// The console's browser is a typed path: there is no folder to open in.
std::optional<std::string> ConsoleFolderChoiceView::BrowseForFolder(const std::string& /*start_folder*/) {
  io_.WriteText(form2::kBrowserTitle);
  std::optional<std::string> line = io_.ReadLine();
  // An empty line or the end of input is the browser's Cancel.
  if (!line || line->empty()) return std::nullopt;
  return AsBrowserReturnsIt(*line);
}

void ConsoleFolderChoiceView::ShowWarning(const std::string& text) {
  PrintMessageBox(io_, text, MessageIcon::kExclamation);
}

}  // namespace tolvashu
