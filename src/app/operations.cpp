#include "app/operations.h"

#include <string>
#include <vector>

#include "app/operation_table.h"
#include "app/transfer_report_text.h"
#include "folderchoice/policy_steps.h"
#include "transfer/transfer_data_set.h"

namespace tolvashu {

namespace {

struct Message {
  std::string text;
  MessageIcon icon = MessageIcon::kNone;
};

std::vector<std::string> Lines(const std::array<const char*, 3>& lines) {
  std::vector<std::string> out;
  for (const char* line : lines) {
    if (line) out.emplace_back(line);
  }
  return out;
}

// Hidden and system files and subfolders do not count. A failing
// enumeration counts as an empty folder: there is nothing to copy from.
bool HoldsOrdinaryFile(FileOps& files, const std::string& folder) {
  std::optional<std::string> entry = files.FirstEntry(folder + "*.*");
  return entry && !entry->empty();
}

// The box that ends an operation whose transfer ran: the completion message,
// unless the transfer changed nothing or could not write some files.
Message OutcomeMessage(const OperationRow& operation, const TransferReport& report, const std::string& game_folder) {
  if (report.same_folder) return {JoinLines({texts::kSameFolder1, texts::kSameFolder2}), MessageIcon::kNone};
  if (!report.failures.empty()) {
    return {TransferReportText(report.failures, game_folder), MessageIcon::kExclamation};
  }
  return {operation.completion_message, MessageIcon::kNone};
}

}  // namespace

Operations::Operations(FileOps& files, Ui& ui, AppState& state) : files_(files), ui_(ui), state_(state) {}

void Operations::ClickBackupBT() { Run(kBackupOperation); }
void Operations::ClickInstallBT() { Run(kInstallOperation); }
void Operations::ClickRestoreBT() { Run(kRestoreOperation); }
void Operations::ClickDefoBT() { Run(kDefaultOperation); }

void Operations::MakeDataFolders() {
  constexpr ErrorPolicy kPolicy = ErrorPolicy::kSkipAndContinue;
  // A folder that exists already, or whose parent is missing, is passed over.
  for (const char* tail : kDataFolderTails) SkipOnFailure<kPolicy>(files_.MakeFolder(state_.GamePath + tail));
}

void Operations::Run(const OperationRow& operation) {
  state_.PathChosen = 0;
  ui_.ShowFolderChoice();
  if (state_.PathChosen == 0) return;
  // The dialog never confirms an empty game folder; should anything else
  // leave one, the transfer would run on the root of the current drive.
  if (state_.GamePath.empty()) return;

  MakeDataFolders();
  const bool from_package = operation.source_base == SourceBase::kCurrentFolder;
  const std::string source = (from_package ? files_.CurrentFolder() : state_.GamePath) + operation.source_tail;
  const std::string destination = state_.GamePath + operation.destination_tail;

  std::vector<std::string> no_data_lines = Lines(operation.no_source_data_lines);
  if (!no_data_lines.empty() && !HoldsOrdinaryFile(files_, source)) {
    ui_.ShowMessage(JoinLines(no_data_lines), MessageIcon::kNone);
    return;
  }

  TransferReport report = TransferDataSet(files_, ui_.Notice(), source, destination, operation.music_switch);
  Message outcome = OutcomeMessage(operation, report, state_.GamePath + "\\");
  ui_.ShowMessage(outcome.text, outcome.icon);
}

}  // namespace tolvashu
