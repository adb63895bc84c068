#include "folderchoice/folder_choice.h"

#include "folderchoice/form2_texts.h"
#include "folderchoice/game_check.h"
#include "folderchoice/saved_path.h"

namespace tolvashu {

namespace {

constexpr char kCR[] = "\r";

std::string SavedPathCaption(const std::string& path) {
  return std::string(form2::kBT2SavedBefore) + kCR + path + kCR + form2::kBT2SavedAfter;
}

// The warning for a folder that could not be saved; nothing when it was.
std::optional<std::string> NotSavedWarning(SaveResult saved) {
  if (saved == SaveResult::kSaved) return std::nullopt;
  const char* why = saved == SaveResult::kCannotHold ? form2::kFolderNotSavedCharacters : form2::kFolderNotSavedFile;
  return why + std::string(kCR) + form2::kFolderNotSavedNextTime;
}

}  // namespace

FolderChoice::FolderChoice(FileOps& files, std::string& game_path, std::int16_t& path_chosen)
    : files_(files), game_path_(game_path), path_chosen_(path_chosen) {}

void FolderChoice::Load(FolderChoiceView& view) {
  bt2_folder_.reset();
  if (LoadSavedPath(files_, game_path_) == 1) {
    bt2_folder_ = game_path_;
    view.SetBT2(SavedPathCaption(game_path_), true);
  } else {
    view.SetBT2(form2::kBT2NoSavedPath, false);
  }
}

void FolderChoice::ClickBT1(FolderChoiceView& view) {
  std::optional<std::string> browsed = view.BrowseForFolder(bt2_folder_.value_or(std::string()));
  // A cancelled browser changes nothing and checks nothing: an older folder
  // must not be confirmed by a user who just said no.
  if (!browsed) return;
  browsed_path_ = *browsed;

  if (CheckGameExe(files_, browsed_path_) == -1) {
    view.ShowWarning(form2::kNoGameExe);
    game_path_.clear();
    return;
  }
  if (browsed_path_.empty()) {
    game_path_.clear();
    return;
  }
  game_path_ = browsed_path_;
  // A folder that cannot be saved is still used for this operation, and the
  // player learns that it will not be offered next time.
  if (std::optional<std::string> warning = NotSavedWarning(SavePath(files_, game_path_))) view.ShowWarning(*warning);
  path_chosen_ = 1;
  view.Unload();
}

void FolderChoice::ClickBT2(FolderChoiceView& view) {
  // BT2 confirms the folder its caption shows, also after a failed BT1 has
  // cleared GamePath, and only while that folder is still a game folder
  // (the game may have been moved or removed since it was saved).
  if (!bt2_folder_ || bt2_folder_->empty()) return;
  if (CheckGameExe(files_, *bt2_folder_) == -1) {
    view.ShowWarning(form2::kNoGameExe);
    return;
  }
  game_path_ = *bt2_folder_;
  path_chosen_ = 1;
  view.Unload();
}

void FolderChoice::CloseBox(FolderChoiceView& view) { view.Unload(); }

}  // namespace tolvashu
