#include "app/console_command_line.h"

#include <gtest/gtest.h>

namespace tolvashu::testing {
namespace {

using Arguments = std::vector<std::string>;

TEST(ConsoleCommandLine, OptionsStandAnywhereInEitherFormAndDashesEndThem) {
  CommandLine line = ParseCommandLine({"--game=C:\\ゲーム 1", "--dry-run", "restore", "--package", "-p"});
  ASSERT_EQ(line.action, CommandAction::kOperation) << line.error;
  EXPECT_EQ(line.operation, &kRestoreOperation);
  EXPECT_EQ(line.game_folder, "C:\\ゲーム 1");
  EXPECT_EQ(line.package_folder, "-p");  // a value is taken as it is
  EXPECT_TRUE(line.dry_run);
  EXPECT_EQ(ParseCommandLine({"--", "default"}).operation, &kDefaultOperation);
  EXPECT_EQ(ParseCommandLine({"install", "--", "--version"}).action, CommandAction::kUsageError);
}

TEST(ConsoleCommandLine, CheckAndVerifyTakeTheirOwnOptions) {
  struct Form {
    Arguments arguments;
    CommandAction action;
    const OperationRow* operation;
    bool json;
  };
  const Form kForms[] = {
      {{"check"}, CommandAction::kCheck, nullptr, false},
      {{"--json", "check", "--package=p"}, CommandAction::kCheck, nullptr, true},
      {{"verify"}, CommandAction::kVerify, &kInstallOperation, false},
      {{"verify", "--against", "backup", "--game", "g"}, CommandAction::kVerify, &kRestoreOperation, false},
      {{"verify", "--against=default", "--json"}, CommandAction::kVerify, &kDefaultOperation, true},
      {{"verify", "--against=package"}, CommandAction::kVerify, &kInstallOperation, false},
      {{"backup", "--dry-run", "--json"}, CommandAction::kOperation, &kBackupOperation, true},
  };
  for (const Form& form : kForms) {
    CommandLine line = ParseCommandLine(form.arguments);
    EXPECT_EQ(line.action, form.action) << form.arguments[0] << " " << line.error;
    EXPECT_EQ(line.operation, form.operation) << form.arguments[0];
    EXPECT_EQ(line.json, form.json) << form.arguments[0];
  }
  EXPECT_EQ(ParseCommandLine({"verify", "--against", "backup"}).against, "backup");
}

TEST(ConsoleCommandLine, EveryMistakeIsAUsageErrorThatNamesIt) {
  const std::pair<Arguments, std::string> kMistakes[] = {
      {{"uninstall"}, "uninstall"},      {{"install", "backup"}, "backup"}, {{"install", "--gmae", "x"}, "--gmae"},
      {{"install", "--game"}, "--game"}, {{"install", "--package="}, "--package"}, {{"--dry-run"}, ""},
      {{"install", "--dry-run=yes"}, "--dry-run=yes"}, {{"Install"}, "Install"},
      {{"install", "--json"}, "--json"},                  {{"check", "--against", "backup"}, "--against"},
      {{"install", "--against=package"}, "--against"},    {{"verify", "--against", "elsewhere"}, "elsewhere"},
      {{"verify", "--against"}, "--against"},             {{"verify", "--dry-run"}, "--dry-run"},
      {{"check", "--game", "g"}, "--game"},               {{"check", "verify"}, "verify"},
      {{"--json"}, ""},
  };
  for (const auto& [arguments, named] : kMistakes) {
    CommandLine line = ParseCommandLine(arguments);
    EXPECT_EQ(line.action, CommandAction::kUsageError) << arguments[0];
    EXPECT_NE(line.error.find(named), std::string::npos) << line.error;
  }
  EXPECT_EQ(ParseCommandLine({}).action, CommandAction::kMenus);
  EXPECT_EQ(ParseCommandLine({"install", "--help", "--bogus"}).action, CommandAction::kHelp);
  EXPECT_EQ(ParseCommandLine({"--version"}).action, CommandAction::kVersion);
}

}  // namespace
}  // namespace tolvashu::testing
