// The data subfolders of a game folder that every operation makes first.
#pragma once

#include <string>

#include "files/file_ops.h"

namespace tolvashu {

// Creates the game folder's Backup, Backup\nationDATA, Backup\pastDATA and
// default subfolders, skipping those that exist.
void MakeDataFolders(FileOps& files, const std::string& game_path);

}  // namespace tolvashu
