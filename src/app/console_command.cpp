#include "app/console_command.h"

#include <optional>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "app/command_line_notice.h"
#include "app/command_line_ui.h"
#include "app/console_message_box.h"
#include "app/console_paths.h"
#include "app/console_texts.h"
#include "app/game_verify.h"
#include "app/interruption.h"
#include "app/operations.h"
#include "app/package_check.h"
#include "app/package_check_text.h"
#include "app/plan_json.h"
#include "app/plan_text.h"
#include "app/transfer_report_text.h"
#include "disk/overlay_disk.h"

namespace tolvashu {

namespace {

int ExitStatusOf(OperationResult result) {
  switch (result) {
    case OperationResult::kDone:
      return kExitDone;
    case OperationResult::kCancelled:  // no folder given, saved or passing the check
    case OperationResult::kRefused:
      return kExitRefused;
    case OperationResult::kFailed:
      break;
  }
  return kExitFailed;
}

// Each operation's name beside its button's caption.
std::string HelpText() {
  struct Item {
    std::string_view name;
    const char* caption;
  };
  constexpr Item kItems[] = {{"install", texts::kInstallBT},
                             {"backup", texts::kBackupBT},
                             {"restore", texts::kRestoreBT},
                             {"default", texts::kDefoBT}};
  constexpr std::size_t kNameColumns = 10;
  std::string text = console::kHelpHead;
  for (const Item& item : kItems) {
    text += "  " + std::string(item.name) + std::string(kNameColumns - item.name.size(), ' ') + item.caption + "\n";
  }
  return text + console::kHelpOptions;
}

// How an operation by argument runs: for real, as a dry run that prints its
// plan, or as a dry run whose plan is compared with the game folder.
enum class RunMode { kReal, kDryRun, kVerify };

// What a planned run would leave changed, and what that does to each file.
struct PlanOutcome {
  std::vector<PlannedChange> changes;
  std::vector<PlannedEffect> effects;
};

std::string PlanOutput(const CommandLine& line, const PlanOutcome& plan, const std::vector<SkippedItem>& skipped,
                       const SpaceOutlook& space) {
  PlanSummary summary = SummarizePlan(plan.effects, space);
  if (line.json) return PlanJson(plan.changes, plan.effects, skipped, summary);
  return PlanText(plan.changes, skipped) + PlanSummaryText(summary);
}

// 0 when the game folder agrees, 1 when it differs, 2 when it could not be
// compared: a file could not be read, the operation failed or a check
// refused it (no backup, no default data, no game folder).
int VerifyOutput(const CommandLine& line, OperationResult result, const PlanOutcome& plan, ConsoleIo& out) {
  if (result != OperationResult::kDone) return kExitFailed;
  Verdict verdict = VerdictOf(plan.changes, plan.effects);
  out.Write(line.json ? VerdictJson(verdict, line.against) : VerdictText(verdict));
  if (verdict.unreadable()) return kExitFailed;
  return verdict.agrees() ? kExitDone : kExitRefused;
}

int RunOperation(const CommandLine& line, ConsoleIo& out, ConsoleIo& errors, FileOps& real_files, RunMode mode) {
  // A relative --game names a folder as seen from where the program started.
  std::optional<std::string> game_folder;
  if (line.game_folder) game_folder = AbsoluteFolder(*line.game_folder);
  if (line.package_folder && !EnterFolder(*line.package_folder)) {
    PrintDiagnostic(errors, console::kNoPackageFolder + *line.package_folder);
    return mode == RunMode::kVerify ? kExitFailed : kExitRefused;
  }

  // The one place that decides whether this run changes anything: a dry
  // run is the same run over a disk that keeps its changes in memory. The
  // undo of an unfinished transfer goes to a disk of that kind below it, so
  // that the plan starts from the state that the undo leaves.
  const bool plan_only = mode != RunMode::kReal;
  OverlayDisk undone(real_files.disk());
  Disk& after_undo = undone;  // read through, not copied
  OverlayDisk overlay(after_undo);
  FileOps undoing(undone);
  FileOps planning(overlay);
  FileOps& files = plan_only ? planning : real_files;

  AppState state;
  CommandLineNotice notice(errors.IsTerminal() ? &errors : nullptr);
  CommandLineUi ui(files, state, errors, game_folder, notice);
  // What verify compares with needs no room on the drive: nothing is written.
  const OperationOptions options{plan_only, plan_only ? &undoing : nullptr, mode != RunMode::kVerify};
  Operations operations(files, ui, state, options);
  const OperationResult result = operations.Run(*line.operation);
  // A dry run's output is its plan alone.
  if (result == OperationResult::kDone && !plan_only) {
    ui.PrintMessages(out);
  } else {
    ui.PrintDiagnostics();
  }
  if (const int signal = InterruptingSignal()) return kExitSignalBase + signal;
  if (!plan_only) return ExitStatusOf(result);

  PlanOutcome plan;
  plan.changes = overlay.Changes();
  plan.effects = EffectsOf(after_undo, plan.changes);
  if (mode == RunMode::kVerify) return VerifyOutput(line, result, plan, out);
  if (result == OperationResult::kDone || result == OperationResult::kFailed) {
    const std::vector<std::string> volume{state.GamePath + line.operation->destination_tail, state.GamePath};
    out.Write(PlanOutput(line, plan, notice.skipped(), LookAtSpace(overlay, volume, plan.changes)));
  }
  return ExitStatusOf(result);
}

// 0 when the package holds data that the transfer takes, 1 when it holds
// none, 2 when it (or a part of it) cannot be read.
int RunCheck(const CommandLine& line, ConsoleIo& out, ConsoleIo& errors, FileOps& files) {
  if (line.package_folder && !EnterFolder(*line.package_folder)) {
    PrintDiagnostic(errors, console::kNoPackageFolder + *line.package_folder);
    return kExitFailed;
  }
  PackageCheck check = CheckPackage(files);
  if (!check.failures.empty()) {
    PrintDiagnostic(errors, TransferReportText(texts::kReportHead, check.failures, files.CurrentFolder() + "\\"),
                    MessageIcon::kExclamation);
  }
  out.Write(line.json ? PackageCheckJson(check) : PackageCheckText(check));
  if (!check.failures.empty()) return kExitFailed;
  return check.taken.empty() ? kExitRefused : kExitDone;
}

}  // namespace

int RunConsoleCommand(const CommandLine& line, ConsoleIo& out, ConsoleIo& errors, FileOps& files) {
  switch (line.action) {
    case CommandAction::kHelp:
      out.Write(HelpText());
      return kExitDone;
    case CommandAction::kVersion:
      out.Write(std::string(console::kProgramName) + " " TOLVASHU_VERSION "\n");
      return kExitDone;
    case CommandAction::kUsageError:
      PrintDiagnostic(errors, line.error);
      errors.Write(console::kUsage);
      return kExitUsage;
    case CommandAction::kOperation:
      return RunOperation(line, out, errors, files, line.dry_run ? RunMode::kDryRun : RunMode::kReal);
    case CommandAction::kVerify:
      return RunOperation(line, out, errors, files, RunMode::kVerify);
    case CommandAction::kCheck:
      return RunCheck(line, out, errors, files);
    case CommandAction::kMenus:
      break;
  }
  return kExitUsage;  // the menus are not run here
}

int ExitStatusOnceWritten(ConsoleIo& out, ConsoleIo& errors, int status) {
  std::optional<std::string> failure = out.OutputFailure();
  if (!failure) return status;
  PrintDiagnostic(errors, console::kOutputFailed + (failure->empty() ? "。" : ": " + *failure));
  return kExitOutputFailed;
}

}  // namespace tolvashu
