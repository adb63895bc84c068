// A small parser of our own: six commands and seven options do not need a
// library, and this one reads UTF-8 arguments alike on every platform.
#include "app/console_command_line.h"

#include <string_view>

#include "app/console_texts.h"

namespace tolvashu {

namespace {

struct OperationName {
  std::string_view name;
  const OperationRow* row;
};
constexpr OperationName kOperationNames[] = {
    {"install", &kInstallOperation},
    {"backup", &kBackupOperation},
    {"restore", &kRestoreOperation},
    {"default", &kDefaultOperation},
};

// What verify compares the game folder with, by the operation that would
// leave it so.
constexpr OperationName kAgainstNames[] = {
    {"package", &kInstallOperation},
    {"backup", &kRestoreOperation},
    {"default", &kDefaultOperation},
};

template <std::size_t N>
const OperationRow* RowNamed(const OperationName (&names)[N], std::string_view name) {
  for (const OperationName& operation : names) {
    if (operation.name == name) return operation.row;
  }
  return nullptr;
}

constexpr std::string_view kCheckCommand = "check";
constexpr std::string_view kVerifyCommand = "verify";

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

  CommandLine Parse() {
    bool options_ended = false;
    for (next_ = 0; next_ < arguments_.size() && line_.action != CommandAction::kUsageError;) {
      const std::string& argument = arguments_[next_++];
      if (options_ended || argument.size() < 2 || argument.compare(0, 1, "-") != 0) {
        TakeOperation(argument);
      } else if (argument == "--") {
        options_ended = true;
      } else if (!TakeOption(argument)) {
        return line_;  // --help or --version: the rest does not matter
      }
    }
    if (line_.action == CommandAction::kMenus && Given()) Refuse(console::kErrorNoOperation, "");
    RefuseOptionsOutOfPlace();
    return line_;
  }

 private:
  // False when the option ends the parsing.
  bool TakeOption(const std::string& argument) {
    std::size_t equals = argument.find('=');
    std::string name = argument.substr(0, equals);
    std::optional<std::string> value;
    if (equals != std::string::npos) value = argument.substr(equals + 1);
    if ((name == "--help" || name == "--version") && !value) {
      line_.action = name == "--help" ? CommandAction::kHelp : CommandAction::kVersion;
      return false;
    }
    if (name == "--dry-run" && !value) {
      line_.dry_run = true;
    } else if (name == "--json" && !value) {
      line_.json = true;
    } else if (name == "--against") {
      against_ = Value(name, value, console::kErrorUnknownAgainst);
    } else if (name == "--game") {
      line_.game_folder = Value(name, value);
    } else if (name == "--package") {
      line_.package_folder = Value(name, value);
    } else {
      Refuse(console::kErrorUnknownOption, argument);
    }
    return true;
  }

  // The option's value: after '=', or the next argument.
  std::string Value(const std::string& name, std::optional<std::string> value,
                    const char* missing = console::kErrorMissingValue) {
    if (!value && next_ < arguments_.size()) value = arguments_[next_++];
    if (!value || value->empty()) Refuse(missing, name);
    return value.value_or("");
  }

  void TakeOperation(const std::string& argument) {
    const OperationRow* row = RowNamed(kOperationNames, argument);
    if (line_.action != CommandAction::kMenus) {
      Refuse(console::kErrorExtraArgument, argument);
    } else if (argument == kCheckCommand) {
      line_.action = CommandAction::kCheck;
    } else if (argument == kVerifyCommand) {
      line_.action = CommandAction::kVerify;
      line_.operation = &kInstallOperation;
    } else if (!row) {
      Refuse(console::kErrorUnknownOperation, argument);
    } else {
      line_.operation = row;
      line_.action = CommandAction::kOperation;
    }
  }

  bool Given() const {
    return line_.dry_run || line_.json || against_ || line_.game_folder || line_.package_folder;
  }

  // Each option belongs to some commands only: --json prints a plan, a
  // check or a verdict, which a real run has none of; --against says what
  // verify compares with; check looks at the package alone; check and
  // verify change nothing anyway.
  void RefuseOptionsOutOfPlace() {
    const CommandAction action = line_.action;
    if (action == CommandAction::kUsageError || action == CommandAction::kMenus) return;
    const bool looks = action == CommandAction::kCheck || action == CommandAction::kVerify;
    if (line_.json && !looks && !line_.dry_run) {
      Refuse(console::kErrorJsonWithoutDryRun, "--json");
    } else if (against_ && action != CommandAction::kVerify) {
      Refuse(console::kErrorAgainstOnlyVerify, "--against");
    } else if (looks && line_.dry_run) {
      Refuse(console::kErrorNotForCommand, "--dry-run");
    } else if (action == CommandAction::kCheck && line_.game_folder) {
      Refuse(console::kErrorNotForCommand, "--game");
    } else if (against_) {
      line_.against = *against_;
      line_.operation = RowNamed(kAgainstNames, *against_);
      if (!line_.operation) Refuse(console::kErrorUnknownAgainst, *against_);
    }
  }

  void Refuse(const char* what, const std::string& argument) {
    line_.action = CommandAction::kUsageError;
    line_.error = argument.empty() ? std::string(what) : std::string(what) + ": " + argument;
  }

  const std::vector<std::string>& arguments_;
  std::size_t next_ = 0;
  std::optional<std::string> against_;
  CommandLine line_;
};

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) { return Parser(arguments).Parse(); }

}  // namespace tolvashu
