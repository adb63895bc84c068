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
#include "app/interruption.h"
#include "app/operations.h"
#include "app/plan_text.h"
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

int RunOperation(const CommandLine& line, ConsoleIo& out, ConsoleIo& errors, FileOps& real_files) {
  // A relative --game names a folder as seen from where the program started.
  std::optional<std::string> game_folder;
  if (line.game_folder) game_folder = AbsoluteFolder(*line.game_folder);
  if (line.package_folder && !EnterFolder(*line.package_folder)) {
    PrintDiagnostic(errors, console::kNoPackageFolder + *line.package_folder);
    return kExitRefused;
  }

  // The one place that decides whether this run changes anything: a dry
  // run is the same run over a disk that keeps its changes in memory. The
  // undo of an unfinished transfer goes to a disk of that kind below it, so
  // that the plan starts from the state that the undo leaves.
  const bool plan_only = line.dry_run;
  OverlayDisk undone(real_files.disk());
  Disk& after_undo = undone;  // read through, not copied
  OverlayDisk overlay(after_undo);
  FileOps undoing(undone);
  FileOps planning(overlay);
  FileOps& files = plan_only ? planning : real_files;

  AppState state;
  CommandLineNotice notice(errors.IsTerminal() ? &errors : nullptr);
  CommandLineUi ui(files, state, errors, game_folder, notice);
  Operations operations(files, ui, state, OperationOptions{plan_only, plan_only ? &undoing : nullptr});
  const OperationResult result = operations.Run(*line.operation);
  // A dry run's output is its plan alone.
  if (result == OperationResult::kDone && !plan_only) {
    ui.PrintMessages(out);
  } else {
    ui.PrintDiagnostics();
  }
  if (const int signal = InterruptingSignal()) return kExitSignalBase + signal;
  if (plan_only && (result == OperationResult::kDone || result == OperationResult::kFailed)) {
    out.Write(PlanText(overlay.Changes(), notice.skipped()));
  }
  return ExitStatusOf(result);
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
      return RunOperation(line, out, errors, files);
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
