// The four data operations behind the main window's buttons, and the folder
// preparation they share. Each runs to its end inside the click.
#pragma once

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/ui.h"
#include "files/file_ops.h"
#include "transfer/transfer_report.h"

namespace tolvashu {

struct OperationRow;

// How one operation ended, for a front end that reports it (the console
// program's exit status).
enum class OperationResult {
  kDone,       // the completion message was shown
  kCancelled,  // the folder dialog was closed without a folder
  kRefused,    // a check refused it and its box was shown; nothing changed
  kFailed,     // a failure report was shown
};

struct OperationOptions {
  // The file layer's disk only pretends (a dry run): the operation runs as
  // it would, but the completion message, which would say that data was
  // written, is left out, and an unfinished transfer is told as one that
  // the real run will undo.
  bool plan_only = false;
  // The file layer that unfinished transfers are ended through; the
  // operation's own when null. A dry run gives one over the disk below its
  // own, so that what the undo changes is not part of its plan.
  FileOps* recovery_files = nullptr;
  // Whether a transfer that would not fit on the game folder's drive is
  // refused. Only a comparison that never runs the transfer does without.
  bool check_space = true;
};

class Operations {
 public:
  Operations(FileOps& files, Ui& ui, AppState& state, OperationOptions options = {});

  void ClickBackupBT();
  void ClickInstallBT();
  void ClickRestoreBT();
  void ClickDefoBT();

  // Creates the game folder's Backup, Backup\nationDATA, Backup\pastDATA and
  // default subfolders, skipping those that exist.
  void MakeDataFolders();

  // The steps every click runs: the package check of Install, the folder
  // dialog, the folder checks, the source check where the row asks for one,
  // the data folders, the transfer, the closing box.
  OperationResult Run(const OperationRow& operation);

 private:
  // False, having told the user, when the row checks its source folder and
  // it holds nothing that the transfer would copy from it.
  bool SourceHoldsData(const OperationRow& operation, const std::string& source);
  // False, having told the user, when the new files of the transfer would
  // not fit on the game folder's drive. Tells the notice what the transfer
  // will copy.
  bool PlanFits(const OperationRow& operation, const std::string& source, const std::string& destination);
  // Ends the transfers that did not end in the game folder and its Backup
  // folder. False, having told the user, when one could not be ended.
  bool EndUnfinishedTransfers();
  // The transfer's own box: the completion message, or what stopped it.
  OperationResult TellTransferEnd(const OperationRow& operation, const TransferReport& report);
  // The box that lists files or folders that could not be written or read,
  // under `head`, one of the report heads of app_texts.h.
  void ShowFailures(const char* head, const std::vector<FileFailure>& failures);
  // How a check ends the operation: refused, or failed when it could not
  // read its folder and said so in a failure report.
  OperationResult Refused() const;

  FileOps& files_;
  Ui& ui_;
  AppState& state_;
  const OperationOptions options_;
  bool failure_shown_ = false;  // in the operation that runs
};

}  // namespace tolvashu
