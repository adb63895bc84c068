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

TEST(ConsoleCommandLine, EveryMistakeIsAUsageErrorThatNamesIt) {
  const std::pair<Arguments, std::string> kMistakes[] = {
      {{"uninstall"}, "uninstall"},      {{"install", "backup"}, "backup"}, {{"install", "--gmae", "x"}, "--gmae"},
      {{"install", "--game"}, "--game"}, {{"install", "--package="}, "--package"}, {{"--dry-run"}, ""},
      {{"install", "--dry-run=yes"}, "--dry-run=yes"}, {{"Install"}, "Install"},
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
