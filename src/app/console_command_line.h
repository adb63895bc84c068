// The console program's arguments:
//   tolvashu-console                      the menus
//   tolvashu-console OPERATION [--game DIR] [--package DIR] [--dry-run [--json]]
//   tolvashu-console check [--package DIR] [--json]
//   tolvashu-console verify [--game DIR] [--package DIR] [--against package|backup|default] [--json]
//   tolvashu-console --help | --version
// OPERATION is install, backup, restore or default. An option's value may
// follow as the next argument or after '=' (--game=DIR); "--" ends the
// options. Options may stand before or after the operation.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/operation_table.h"

namespace tolvashu {

enum class CommandAction { kMenus, kOperation, kCheck, kVerify, kHelp, kVersion, kUsageError };

struct CommandLine {
  CommandAction action = CommandAction::kMenus;
  // kOperation: the operation's row; kVerify: the operation whose result the
  // game folder is compared with (--against: package Install, backup
  // Restore, default Default).
  const OperationRow* operation = nullptr;
  std::string against = "package";  // kVerify: --against as given
  std::optional<std::string> game_folder;
  std::optional<std::string> package_folder;
  bool dry_run = false;
  bool json = false;  // JSON Lines instead of text: a dry run's plan, check, verify
  std::string error;  // kUsageError: what is wrong, one line
};

// `arguments` without the program's name, as UTF-8.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace tolvashu
