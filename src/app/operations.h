// The four data operations behind the main window's buttons, and the folder
// preparation they share. Each runs to its end inside the click.
#pragma once

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/ui.h"
#include "files/file_ops.h"

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
  // The steps every click runs: the package check of Install, the folder
  // dialog, the folder checks, the source check where the row asks for one,
  // the data folders, the transfer, the closing box.
  void Run(const OperationRow& operation);
  // False, having told the user, when the package folder holds nothing to
  // install.
  bool PackageHoldsData(const std::string& package_folder);
  // False, having told the user, when the row checks its source folder and
  // it holds no ordinary file.
  bool SourceHoldsOrdinaryFile(const OperationRow& operation, const std::string& source);
  // The box that lists files or folders that could not be written or read.
  void ShowFailures(const std::vector<FileFailure>& failures);

  FileOps& files_;
  Ui& ui_;
  AppState& state_;
};

}  // namespace tolvashu
