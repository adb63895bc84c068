// The four data operations behind the main window's buttons, and the folder
// preparation they share. Each runs to its end inside the click.
#pragma once

#include "app/app_state.h"
#include "app/ui.h"
#include "transfer/file_ops.h"

namespace tolvashu {

struct OperationRow;

class Operations {
 public:
  Operations(FileOps& files, Ui& ui, AppState& state);

  void ClickBackupBT();
  void ClickInstallBT();
  void ClickRestoreBT();
  void ClickDefoBT();

  // Creates the game folder's Backup, Backup\nationDATA, Backup\pastDATA and
  // default subfolders, skipping those that exist.
  void MakeDataFolders();

 private:
  // The steps every click runs: the folder dialog, the data folders, the
  // source check where the row asks for one, the transfer, the closing box.
  void Run(const OperationRow& operation);

  FileOps& files_;
  Ui& ui_;
  AppState& state_;
};

}  // namespace tolvashu
