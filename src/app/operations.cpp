#include "app/operations.h"

#include <optional>
#include <string>
#include <vector>

#include "app/data_folders.h"
#include "app/operation_plan.h"
#include "app/operation_table.h"
#include "app/space_check.h"
#include "app/transfer_report_text.h"
#include "folderchoice/policy_steps.h"
#include "transfer/folder_overlap.h"
#include "transfer/package_data.h"
#include "transfer/recovery.h"
#include "transfer/transfer_data_set.h"

namespace tolvashu {

namespace {

std::vector<std::string> Lines(const std::array<const char*, 3>& lines) {
  std::vector<std::string> out;
  for (const char* line : lines) {
    if (line) out.emplace_back(line);
  }
  return out;
}

// The box of a transfer refused because it would delete its own source.
std::string OverlapText(FolderOverlap overlap) {
  const char* first = overlap == FolderOverlap::kSameFolder ? texts::kSameFolder1 : texts::kSourceInClearedFolder1;
  return JoinLines({first, texts::kNothingChanged});
}

std::string ShortageText(const SpaceShortage& shortage) {
  return JoinLines({texts::kNoSpace1,
                    texts::kNoSpaceNeeded + NeededMegabytes(shortage) + texts::kNoSpaceFree + FreeMegabytes(shortage),
                    texts::kNothingChanged});
}

}  // namespace

Operations::Operations(FileOps& files, Ui& ui, AppState& state, OperationOptions options)
    : files_(files), ui_(ui), state_(state), options_(options) {}

void Operations::ClickBackupBT() { Run(kBackupOperation); }
void Operations::ClickInstallBT() { Run(kInstallOperation); }
void Operations::ClickRestoreBT() { Run(kRestoreOperation); }
void Operations::ClickDefoBT() { Run(kDefaultOperation); }

void Operations::MakeDataFolders() { tolvashu::MakeDataFolders(files_, state_.GamePath); }

void Operations::ShowFailures(const char* head, const std::vector<FileFailure>& failures) {
  failure_shown_ = true;
  ui_.ShowMessage(TransferReportText(head, failures, state_.GamePath + "\\"), MessageIcon::kExclamation);
}

OperationResult Operations::Refused() const {
  return failure_shown_ ? OperationResult::kFailed : OperationResult::kRefused;
}

// Hidden and system files and subfolders do not count, nor do files that
// no step of the transfer would take. A folder that cannot be listed is told
// as such rather than taken for an empty one.
bool Operations::SourceHoldsData(const OperationRow& operation, const std::string& source) {
  std::vector<std::string> no_data_lines = Lines(operation.no_source_data_lines);
  if (no_data_lines.empty()) return true;
  PackageData data = FindPackageData(files_, source);
  if (data.found) return true;
  if (data.unreadable) {
    ShowFailures(texts::kReportHead, {*data.unreadable});
  } else {
    ui_.ShowMessage(JoinLines(no_data_lines), MessageIcon::kNone);
  }
  return false;
}

// A committed transfer is finished without a word; an uncommitted one is
// undone and the user told so, and the operation goes on. One that cannot
// be ended keeps the operation from running: its holding folders may be
// the only copy of the player's files.
bool Operations::EndUnfinishedTransfers() {
  FileOps& files = options_.recovery_files ? *options_.recovery_files : files_;
  bool undone = false;
  for (const char* tail : kDestinationTails) {
    Recovery recovery = RecoverUnfinishedTransfer(files, state_.GamePath + tail);
    switch (recovery.outcome) {
      case Recovery::kNothing:
      case Recovery::kFinished:
        break;
      case Recovery::kUndone:
        undone = true;
        break;
      case Recovery::kNotUndone:
        ShowFailures(texts::kReportNotUndoneHead, recovery.failures);
        return false;
      case Recovery::kCannotLook:
        ShowFailures(texts::kReportHead, recovery.failures);
        return false;
    }
  }
  if (undone) ui_.ShowMessage(options_.plan_only ? texts::kWillRecover : texts::kRecovered, MessageIcon::kNone);
  return true;
}

// The plan is made over the game folder as it is now, data folders and all,
// and its total goes to the notice of the transfer that follows.
bool Operations::PlanFits(const OperationRow& operation, const std::string& source, const std::string& destination) {
  TransferPlan plan =
      PlanTransfer(files_, ui_.Notice(), state_.GamePath, source, destination, operation.music_switch);
  std::optional<SpaceShortage> shortage;
  if (options_.check_space) shortage = FindSpaceShortage(files_.disk(), {destination, state_.GamePath}, plan.changes);
  if (shortage) {
    ui_.ShowMessage(ShortageText(*shortage), MessageIcon::kNone);
    return false;
  }
  ui_.Notice().Expect(plan.total);
  return true;
}

OperationResult Operations::TellTransferEnd(const OperationRow& operation, const TransferReport& report) {
  if (report.interrupted && report.outcome == TransferOutcome::kUndone) {
    ui_.ShowMessage(texts::kInterruptedUndone, MessageIcon::kNone);
    return OperationResult::kFailed;
  }
  switch (report.outcome) {
    case TransferOutcome::kCompleted:
      if (!options_.plan_only) ui_.ShowMessage(operation.completion_message, MessageIcon::kNone);
      return OperationResult::kDone;
    case TransferOutcome::kUndone:
      ShowFailures(texts::kReportUndoneHead, report.failures);
      break;
    case TransferOutcome::kNotUndone: {
      std::vector<FileFailure> told = report.failures;
      told.insert(told.end(), report.not_undone.begin(), report.not_undone.end());
      ShowFailures(texts::kReportNotUndoneHead, told);
      break;
    }
  }
  return OperationResult::kFailed;
}

// Every check that can refuse the operation runs before anything is created,
// deleted or copied, so that a refused operation changes nothing. Only an
// unfinished earlier transfer is ended first: every check must see the game
// folder as it really is.
OperationResult Operations::Run(const OperationRow& operation) {
  state_.PathChosen = 0;
  failure_shown_ = false;
  const bool from_package = operation.source_base == SourceBase::kCurrentFolder;
  // Checked before the dialog, which would save PathDATA.txt in a folder
  // that is no package.
  if (from_package && !SourceHoldsData(operation, files_.CurrentFolder() + operation.source_tail)) return Refused();
  ui_.ShowFolderChoice();
  if (state_.PathChosen == 0) return OperationResult::kCancelled;
  // The dialog never confirms an empty game folder; should anything else
  // leave one, the transfer would run on the root of the current drive.
  if (state_.GamePath.empty()) return OperationResult::kCancelled;
  // One operation at a time per game folder, from before the look for an
  // unfinished transfer to the end. Where no lock can be made at all (a
  // folder nobody may write), nothing can be changed there either.
  FolderLocked locked;
  if (!options_.plan_only) locked = files_.LockFolder(state_.GamePath);
  if (locked.by_another) {
    ui_.ShowMessage(texts::kAnotherOperation, MessageIcon::kNone);
    return OperationResult::kRefused;
  }
  if (!EndUnfinishedTransfers()) return OperationResult::kFailed;

  const std::string source = (from_package ? files_.CurrentFolder() : state_.GamePath) + operation.source_tail;
  const std::string destination = state_.GamePath + operation.destination_tail;
  if (FolderOverlap overlap = CheckFolderOverlap(files_, source, destination); overlap != FolderOverlap::kNone) {
    ui_.ShowMessage(OverlapText(overlap), MessageIcon::kNone);
    return OperationResult::kRefused;
  }
  if (!from_package && !SourceHoldsData(operation, source)) return Refused();
  if (!PlanFits(operation, source, destination)) return OperationResult::kRefused;

  MakeDataFolders();
  TransferReport report = TransferDataSet(files_, ui_.Notice(), source, destination, operation.music_switch);
  if (report.overlap != FolderOverlap::kNone) {
    ui_.ShowMessage(OverlapText(report.overlap), MessageIcon::kNone);
    return OperationResult::kRefused;
  }
  return TellTransferEnd(operation, report);
}

}  // namespace tolvashu
