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

}  // namespace

FolderChoice::FolderChoice(FileOps& files, std::string& game_path, std::int16_t& path_chosen)
    : files_(files), game_path_(game_path), path_chosen_(path_chosen) {}

void FolderChoice::Load(FolderChoiceView& view) {
  bt2_enabled_ = LoadSavedPath(files_, game_path_) == 1;
  saved_folder_ = bt2_enabled_ ? game_path_ : std::string();
  if (bt2_enabled_) {
    view.SetBT2(SavedPathCaption(game_path_), true);
  } else {
    view.SetBT2(form2::kBT2NoSavedPath, false);
  }
}

void FolderChoice::ClickBT1(FolderChoiceView& view) {
  std::optional<std::string> browsed = view.BrowseForFolder(saved_folder_);
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
  // A folder that cannot be saved is still used for this operation.
  SavePath(files_, game_path_);
  path_chosen_ = 1;
  view.Unload();
}

void FolderChoice::ClickBT2(FolderChoiceView& view) {
  // BT2 confirms the folder read at load. Once a failed BT1 has cleared it
  // there is nothing left to confirm, and no operation may run on an empty
  // game folder: the dialog stays open.
  if (!bt2_enabled_ || game_path_.empty()) return;
  path_chosen_ = 1;
  view.Unload();
}

void FolderChoice::CloseBox(FolderChoiceView& view) { view.Unload(); }

}  // namespace tolvashu
