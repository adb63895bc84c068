#include "app/operations.h"

#include <optional>
#include <string>
#include <vector>

#include "app/operation_table.h"
#include "app/transfer_report_text.h"
#include "folderchoice/policy_steps.h"
#include "transfer/folder_overlap.h"
#include "transfer/package_data.h"
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

}  // namespace

Operations::Operations(FileOps& files, Ui& ui, AppState& state, OperationOptions options)
    : files_(files), ui_(ui), state_(state), options_(options) {}

void Operations::ClickBackupBT() { Run(kBackupOperation); }
void Operations::ClickInstallBT() { Run(kInstallOperation); }
void Operations::ClickRestoreBT() { Run(kRestoreOperation); }
void Operations::ClickDefoBT() { Run(kDefaultOperation); }

void Operations::MakeDataFolders() {
  constexpr ErrorPolicy kPolicy = ErrorPolicy::kSkipAndContinue;
  // A folder that exists already, or whose parent is missing, is passed over.
  for (const char* tail : kDataFolderTails) SkipOnFailure<kPolicy>(files_.MakeFolder(state_.GamePath + tail));
}

void Operations::ShowFailures(const std::vector<FileFailure>& failures) {
  failure_shown_ = true;
  ui_.ShowMessage(TransferReportText(failures, state_.GamePath + "\\"), MessageIcon::kExclamation);
}

OperationResult Operations::Refused() const {
  return failure_shown_ ? OperationResult::kFailed : OperationResult::kRefused;
}

bool Operations::PackageHoldsData(const std::string& package_folder) {
  PackageData data = FindPackageData(files_, package_folder);
  if (data.found) return true;
  if (data.unreadable) {
    ShowFailures({*data.unreadable});
  } else {
    ui_.ShowMessage(JoinLines({texts::kNothingToInstall1, texts::kNothingToInstall2, texts::kNothingToInstall3}),
                    MessageIcon::kNone);
  }
  return false;
}

// Hidden and system files and subfolders do not count. A folder that cannot
// be listed is told as such rather than taken for an empty one.
bool Operations::SourceHoldsOrdinaryFile(const OperationRow& operation, const std::string& source) {
  std::vector<std::string> no_data_lines = Lines(operation.no_source_data_lines);
  if (no_data_lines.empty()) return true;
  std::optional<std::string> entry = files_.FirstEntry(source + "*.*");
  if (entry && !entry->empty()) return true;
  if (!entry && files_.LastFailure()) {
    ShowFailures({*files_.LastFailure()});
  } else {
    ui_.ShowMessage(JoinLines(no_data_lines), MessageIcon::kNone);
  }
  return false;
}

// Every check that can refuse the operation runs before anything is created,
// deleted or copied, so that a refused operation changes nothing.
OperationResult Operations::Run(const OperationRow& operation) {
  state_.PathChosen = 0;
  failure_shown_ = false;
  const bool from_package = operation.source_base == SourceBase::kCurrentFolder;
  // Checked before the dialog, which would save PathDATA.txt in a folder
  // that is no package.
  if (from_package && !PackageHoldsData(files_.CurrentFolder() + operation.source_tail)) return Refused();
  ui_.ShowFolderChoice();
  if (state_.PathChosen == 0) return OperationResult::kCancelled;
  // The dialog never confirms an empty game folder; should anything else
  // leave one, the transfer would run on the root of the current drive.
  if (state_.GamePath.empty()) return OperationResult::kCancelled;

  const std::string source = (from_package ? files_.CurrentFolder() : state_.GamePath) + operation.source_tail;
  const std::string destination = state_.GamePath + operation.destination_tail;
  if (FolderOverlap overlap = CheckFolderOverlap(files_, source, destination); overlap != FolderOverlap::kNone) {
    ui_.ShowMessage(OverlapText(overlap), MessageIcon::kNone);
    return OperationResult::kRefused;
  }
  if (!SourceHoldsOrdinaryFile(operation, source)) return Refused();

  MakeDataFolders();
  TransferReport report = TransferDataSet(files_, ui_.Notice(), source, destination, operation.music_switch);
  if (report.overlap != FolderOverlap::kNone) {
    ui_.ShowMessage(OverlapText(report.overlap), MessageIcon::kNone);
    return OperationResult::kRefused;
  }
  if (!report.failures.empty()) {
    ShowFailures(report.failures);
    return OperationResult::kFailed;
  }
  if (!options_.plan_only) ui_.ShowMessage(operation.completion_message, MessageIcon::kNone);
  return OperationResult::kDone;
}

}  // namespace tolvashu
