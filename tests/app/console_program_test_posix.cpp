// The built tolvashu-console, started in a package folder with its input
// piped in, one operation per run, as a user would use it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/app_texts.h"
#include "sample_folders.h"

namespace tolvashu::testing {
namespace {

class ConsoleProgramTest : public ::testing::Test {
 protected:
  ConsoleProgramTest() {
    MakeSamplePackage(scratch_, "package");
    MakeSampleGame(scratch_, "game");
  }

  // Runs the program in the package folder; its output, or "" on failure.
  std::string Run(const std::string& input) {
    scratch_.WriteFile("input.txt", input);
    std::string command = "cd '" + scratch_.Join("package") + "' && '" TOLVASHU_CONSOLE_EXE "' < '" +
                          scratch_.Join("input.txt") + "' > '" + scratch_.Join("output.txt") + "'";
    if (std::system(command.c_str()) != 0) return "";
    return scratch_.ReadFile("output.txt").value_or("");
  }

  std::string Game(const std::string& relative) { return scratch_.ReadFile("game/" + relative).value_or("<missing>"); }

  ScratchFolder scratch_;
};

TEST_F(ConsoleProgramTest, BackupInstallRestoreAndDefault) {
  std::string game = scratch_.Join("game");
  EXPECT_NE(Run("1\n1\n" + game + "\n0\n").find(texts::kBackupDone), std::string::npos);
  EXPECT_EQ(Game("Backup/MAINDATA.DAT"), "game main");
  EXPECT_EQ(Game("Backup/nationDATA/nation01.dat"), "game nation");
  EXPECT_EQ(scratch_.ReadFile("package/PathDATA.txt"), game + "\r\n");

  // From here on the saved folder is confirmed with 2.
  EXPECT_NE(Run("2\n2\n0\n").find(texts::kInstallDone), std::string::npos);
  EXPECT_EQ(Game("MAINDATA.DAT"), "package main");
  EXPECT_EQ(Game("theme.mp3"), "package music");
  EXPECT_EQ(Game("nationDATA/nation01.dat"), "package nation");

  EXPECT_NE(Run("3\n2\n0\n").find(texts::kRestoreDone), std::string::npos);
  EXPECT_EQ(Game("MAINDATA.DAT"), "game main");
  EXPECT_EQ(Game("nationDATA/nation01.dat"), "game nation");
  EXPECT_EQ(Game("年表2.txt"), "game chronology 2");

  EXPECT_NE(Run("4\n2\n0\n").find(texts::kDefaultDone), std::string::npos);
  EXPECT_EQ(Game("MAINDATA.DAT"), "default main");
  EXPECT_EQ(Game("年表1.txt"), "default chronology");
  EXPECT_FALSE(scratch_.Exists("game/年表2.txt"));
}

}  // namespace
}  // namespace tolvashu::testing
