// The console program's arguments:
//   tolvashu-console                      the menus
//   tolvashu-console OPERATION [--game DIR] [--package DIR] [--dry-run]
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

enum class CommandAction { kMenus, kOperation, kHelp, kVersion, kUsageError };

struct CommandLine {
  CommandAction action = CommandAction::kMenus;
  const OperationRow* operation = nullptr;  // kOperation: the operation's row
  std::optional<std::string> game_folder;
  std::optional<std::string> package_folder;
  bool dry_run = false;
  std::string error;  // kUsageError: what is wrong, one line
};

// `arguments` without the program's name, as UTF-8.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace tolvashu
