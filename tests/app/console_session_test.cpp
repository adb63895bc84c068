// Whole console sessions run in this process, their transcripts compared
// with the console protocol character for character.
#include "app/console_program.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>

#include "app/app_texts.h"
#include "folderchoice/form2_texts.h"
#include "sample_folders.h"
#include "support/current_folder_guard.h"

namespace tolvashu::testing {
namespace {

std::string MainMenu() {
  return std::string(texts::kForm1Caption) + "\n1: " + texts::kBackupBT + "\n2: " + texts::kInstallBT +
         "\n3: " + texts::kRestoreBT + "\n4: " + texts::kDefoBT + "\n0: 終了\n> ";
}

std::string Dialog(const std::string& bt2_line) {
  return std::string(form2::kCaption) + "\n" + form2::kLabel1 + "\n1: " + form2::kBT1 + "\n" + bt2_line +
         "\n0: 閉じる\n> ";
}

const std::string kNoSavedPathLine = std::string("2: (選択できません) ") + form2::kBT2NoSavedPath;
const std::string kBrowser = "Tolvashuフォルダを選択してください\n";

class ConsoleSessionTest : public ::testing::Test {
 protected:
  ConsoleSessionTest() {
    MakeSamplePackage(scratch_, "package");
    MakeSampleGame(scratch_, "game");
    current_folder_.emplace(scratch_.Join("package"));
  }

  std::string Run(const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out;
    StreamConsoleIo io(in, out);
    RunConsoleProgram(io, *files_);
    return out.str();
  }

  ScratchFolder scratch_;
  std::optional<CurrentFolderGuard> current_folder_;  // the package folder, once it is there
  std::unique_ptr<FileOps> files_ = MakePlatformFileOps();
};

TEST_F(ConsoleSessionTest, FirstInstallBrowsesForTheGameFolder) {
  std::string game = scratch_.Join("game");
  EXPECT_EQ(Run("2\n1\n" + game + "\n"), MainMenu() + Dialog(kNoSavedPathLine) + kBrowser +
                                             texts::kForm3Label1 + "\n" + texts::kInstallDone + "\n" + MainMenu());
  EXPECT_EQ(scratch_.ReadFile("game/MAINDATA.DAT"), "package main");
}

// The first dialog's folder does not carry over: a later dialog closed with
// its close box cancels that operation.
TEST_F(ConsoleSessionTest, ClosingTheDialogOfASecondOperationCancelsIt) {
  std::string game = scratch_.Join("game");
  std::string saved_line = std::string("2: ") + form2::kBT2SavedBefore + "\n" + game + "\n" + form2::kBT2SavedAfter;
  EXPECT_EQ(Run("2\n1\n" + game + "\n1\n0\n"),  // Install into the game folder, then Backup and the close box
            MainMenu() + Dialog(kNoSavedPathLine) + kBrowser + texts::kForm3Label1 + "\n" + texts::kInstallDone +
                "\n" + MainMenu() + Dialog(saved_line) + MainMenu());
  EXPECT_FALSE(scratch_.Exists("game/Backup/MAINDATA.DAT"));
}

TEST_F(ConsoleSessionTest, DialogRepeatsUntilAFolderIsConfirmedOrItIsClosed) {
  std::string moved = scratch_.Join("empty");  // the game was saved here, then moved away
  scratch_.WriteFile("package/PathDATA.txt", moved + "\r\n");
  scratch_.MakeFolder("empty");
  std::string saved_line = std::string("2: ") + form2::kBT2SavedBefore + "\n" + moved + "\n" + form2::kBT2SavedAfter;
  std::string warning = std::string("警告: ") + form2::kNoGameExe + "\n";

  std::string transcript = Run(
      "what\n"                           // not a choice: the menu again
      "2\n"                              // Install
      "1\n" + moved + "\n"               // no game there: warning
      "2\n"                              // nor in the saved folder: warning
      " 1 \n\n"                          // the browser cancelled
      "0\n");                            // the close box
  EXPECT_EQ(transcript, MainMenu() + MainMenu() + Dialog(saved_line) + kBrowser + warning + Dialog(saved_line) +
                            warning + Dialog(saved_line) + kBrowser + Dialog(saved_line) + MainMenu());
  EXPECT_EQ(scratch_.ReadFile("game/MAINDATA.DAT"), "game main");
}

TEST_F(ConsoleSessionTest, EndOfInputCancelsTheBrowserClosesTheDialogAndEndsTheProgram) {
  EXPECT_EQ(Run("4\n1\n"), MainMenu() + Dialog(kNoSavedPathLine) + kBrowser + Dialog(kNoSavedPathLine) + MainMenu());
  EXPECT_FALSE(scratch_.Exists("game/Backup"));
}

TEST_F(ConsoleSessionTest, WarningBoxesAreMarkedAndLinesBreakAtEachCR) {
  scratch_.WriteFile("package/PathDATA.txt", scratch_.Join("game") + "\r\n");
  std::string transcript = Run("3\n2\n");  // Restore before any backup
  EXPECT_NE(transcript.find(std::string("\n> ") + texts::kNoBackupData1 + "\n" + texts::kNoBackupData2 + "\n"),
            std::string::npos)
      << transcript;

  scratch_.SetReadOnly("game/MAINDATA.DAT", true);
  transcript = Run("2\n2\n");
  EXPECT_NE(transcript.find(std::string("警告: ") + texts::kReportUndoneHead + "\nMAINDATA.DAT\n"), std::string::npos)
      << transcript;
  scratch_.SetReadOnly("game/MAINDATA.DAT", false);
}

}  // namespace
}  // namespace tolvashu::testing
