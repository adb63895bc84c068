// A small parser of our own: four operations and five options do not need a
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

const OperationRow* OperationNamed(std::string_view name) {
  for (const OperationName& operation : kOperationNames) {
    if (operation.name == name) return operation.row;
  }
  return nullptr;
}

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
  std::string Value(const std::string& name, std::optional<std::string> value) {
    if (!value && next_ < arguments_.size()) value = arguments_[next_++];
    if (!value || value->empty()) Refuse(console::kErrorMissingValue, name);
    return value.value_or("");
  }

  void TakeOperation(const std::string& argument) {
    const OperationRow* row = OperationNamed(argument);
    if (line_.operation) {
      Refuse(console::kErrorExtraArgument, argument);
    } else if (!row) {
      Refuse(console::kErrorUnknownOperation, argument);
    } else {
      line_.operation = row;
      line_.action = CommandAction::kOperation;
    }
  }

  bool Given() const { return line_.dry_run || line_.game_folder || line_.package_folder; }

  void Refuse(const char* what, const std::string& argument) {
    line_.action = CommandAction::kUsageError;
    line_.error = argument.empty() ? std::string(what) : std::string(what) + ": " + argument;
  }

  const std::vector<std::string>& arguments_;
  std::size_t next_ = 0;
  CommandLine line_;
};

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) { return Parser(arguments).Parse(); }

}  // namespace tolvashu
