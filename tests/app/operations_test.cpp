#include "app/operations.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "app/app_texts.h"
#include "app/operation_table.h"
#include "sample_folders.h"
#include "scripted_ui.h"
#include "support/current_folder_guard.h"
#include "support/faulty_disk.h"
#include "transfer/journal.h"

namespace tolvashu::testing {
namespace {

// The record of a single message box.
std::vector<Shown> Only(const std::string& text, MessageIcon icon) { return {Shown{text, icon}}; }

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += (text.empty() ? "" : "\r") + std::string(line);
  return text;
}

class OperationsTest : public ::testing::Test {
 protected:
  OperationsTest() {
    MakeSamplePackage(scratch_, "package");
    MakeSampleGame(scratch_, "game");
    current_folder_.emplace(scratch_.Join("package"));
    ConfirmFolder(scratch_.Join("game"));
  }

  void ConfirmFolder(const std::string& folder) { ui_.ConfirmFolder(folder); }

  std::string Game(const std::string& relative) { return scratch_.ReadFile("game/" + relative).value_or("<missing>"); }

  ScratchFolder scratch_;
  std::optional<CurrentFolderGuard> current_folder_;  // the package folder, once it is there
  std::unique_ptr<FileOps> files_ = MakePlatformFileOps();
  AppState state_;
  ScriptedUi ui_{state_};
  Operations operations_{*files_, ui_, state_};
};

TEST_F(OperationsTest, InstallCopiesThePackageWithItsMusic) {
  operations_.ClickInstallBT();
  EXPECT_EQ(ui_.messages, Only(texts::kInstallDone, MessageIcon::kNone));
  EXPECT_EQ(Game("MAINDATA.DAT"), "package main");
  EXPECT_EQ(Game("theme.mp3"), "package music");
  EXPECT_EQ(Game("haikei01.jpg"), "package picture");  // named by the package's world file
  EXPECT_EQ(Game("nationDATA/nation01.dat"), "package nation");
  EXPECT_FALSE(scratch_.Exists("game/nationDATA/nation02.dat"));
  EXPECT_FALSE(scratch_.Exists("game/年表2.txt"));
  EXPECT_EQ(ui_.notice.shown, 1);
  EXPECT_EQ(ui_.notice.unloaded, 1);
}

TEST_F(OperationsTest, BackupThenRestoreBringsTheGameBack) {
  std::map<std::string, std::string> before = Snapshot(scratch_, "game");
  operations_.ClickBackupBT();
  EXPECT_EQ(ui_.messages, Only(texts::kBackupDone, MessageIcon::kNone));
  // MakeDataFolders made the Backup folders first, so both data subfolders are backed up.
  EXPECT_EQ(Game("Backup/MAINDATA.DAT"), "game main");
  EXPECT_EQ(Game("Backup/nationDATA/nation02.dat"), "game nation 2");
  EXPECT_EQ(Game("Backup/pastDATA/past01.dat"), "game past");
  EXPECT_FALSE(scratch_.Exists("game/Backup/menu.mp3"));

  operations_.ClickInstallBT();
  ui_.messages.clear();
  operations_.ClickRestoreBT();
  EXPECT_EQ(ui_.messages, Only(texts::kRestoreDone, MessageIcon::kNone));
  std::map<std::string, std::string> after = Snapshot(scratch_, "game");
  for (const auto& [name, content] : before) EXPECT_EQ(after[name], content) << name;
  // What the backup did not hold and the restore does not clear stays from the install.
  EXPECT_EQ(Game("theme.mp3"), "package music");
}

TEST_F(OperationsTest, DefaultCopiesTheShippedData) {
  operations_.ClickDefoBT();
  EXPECT_EQ(ui_.messages, Only(texts::kDefaultDone, MessageIcon::kNone));
  EXPECT_EQ(Game("MAINDATA.DAT"), "default main");
  EXPECT_EQ(Game("年表1.txt"), "default chronology");
  EXPECT_FALSE(scratch_.Exists("game/年表2.txt"));
}

TEST_F(OperationsTest, DefaultWithoutShippedDataWarnsAndChangesNothing) {
  ScratchFolder other;
  MakeSampleGame(other, "game", /*with_default=*/false);
  other.MakeFolder("game/Default/sub");
  other.WriteFile("game/Default/sub/MAINDATA.DAT", "not at the top");
  other.WriteFile("game/Default/.hidden", "hidden");
  other.SetHidden("game/Default/.hidden");
  ConfirmFolder(other.Join("game"));
  std::map<std::string, std::string> before = Snapshot(other, "game");

  operations_.ClickDefoBT();
  EXPECT_EQ(ui_.messages, Only(Lines({texts::kNoDefaultData1, texts::kNoDefaultData2, texts::kNoDefaultData3}),
                                  MessageIcon::kNone));
  EXPECT_EQ(Snapshot(other, "game"), before);
  EXPECT_EQ(ui_.notice.shown, 0);
}

// A folder that holds only files no step of the transfer takes (a
// desktop.ini, a readme) holds no backup or default data either.
TEST_F(OperationsTest, RestoreOrDefaultWithoutDataWarnsAndChangesNothing) {
  std::map<std::string, std::string> before = Snapshot(scratch_, "game");
  operations_.ClickRestoreBT();
  EXPECT_EQ(ui_.messages,
            Only(Lines({texts::kNoBackupData1, texts::kNoBackupData2}), MessageIcon::kNone));
  EXPECT_FALSE(scratch_.Exists("game/Backup"));  // a refused operation makes no folder either
  for (const char* folder : {"game/Backup", "game/Default"}) {
    scratch_.MakeFolder(std::string(folder) + "/nationDATA/inner");
    scratch_.WriteFile(std::string(folder) + "/desktop.ini", "[.ShellClassInfo]");
    scratch_.WriteFile(std::string(folder) + "/readme.txt", "notes");
  }
  scratch_.WriteFile("game/Default/nationDATA/inner/deep.dat", "not in the data set");
  for (const char* name : {"MAINDATA.DAT", "kosei00.dat", "年表1.txt"}) {
    std::filesystem::remove(ToPath(scratch_.Join(std::string("game/Default/") + name)));
  }
  before = Snapshot(scratch_, "game");
  ui_.messages.clear();
  operations_.ClickRestoreBT();
  operations_.ClickDefoBT();
  EXPECT_EQ(ui_.messages.size(), 2u);
  EXPECT_EQ(ui_.messages.back().text, Lines({texts::kNoDefaultData1, texts::kNoDefaultData2, texts::kNoDefaultData3}));
  EXPECT_EQ(Snapshot(scratch_, "game"), before);
  EXPECT_EQ(ui_.notice.shown, 0);
}

// Killed midway, a transfer is undone by the next operation before anything
// else, and the user is told; that operation then runs on the state before.
TEST_F(OperationsTest, AnInterruptedTransferIsUndoneBeforeTheNextOperation) {
  std::map<std::string, std::string> before = Snapshot(scratch_, "game");
  FaultyDisk killed_midway(files_->disk());
  killed_midway.StopDeadAt(60);
  FileOps files(killed_midway);
  Operations(files, ui_, state_).ClickInstallBT();
  ASSERT_NE(Snapshot(scratch_, "game"), before);
  ui_.messages.clear();
  operations_.ClickBackupBT();
  EXPECT_EQ(ui_.messages, (std::vector<Shown>{{texts::kRecovered, MessageIcon::kNone},
                                              {texts::kBackupDone, MessageIcon::kNone}}));
  EXPECT_EQ(Game("Backup/MAINDATA.DAT"), "game main");
  EXPECT_EQ(Game("MAINDATA.DAT"), "game main");
}

// A journal that cannot be trusted proves nothing: nothing is touched, the
// user is told, and no operation runs until it is dealt with.
TEST_F(OperationsTest, ADamagedJournalKeepsEverythingAndStopsTheOperation) {
  // A line that does not check out, before one that does: no torn write.
  scratch_.WriteFile("game/.~tolvashu-journal-0123456789abcdef",
                     JournalHeader("0123456789abcdef") + "new x\n" +
                         JournalLine("0123456789abcdef", {JournalRecord::kNew, "y.dat"}));
  scratch_.MakeFolder("game/.~tolvashu-hold-0123456789abcdef");
  scratch_.WriteFile("game/.~tolvashu-hold-0123456789abcdef/MAINDATA.DAT", "the player's only copy");
  std::map<std::string, std::string> before = Snapshot(scratch_, "");
  operations_.ClickInstallBT();
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text.rfind(texts::kReportNotUndoneHead, 0), 0u) << ui_.messages[0].text;
  EXPECT_EQ(Snapshot(scratch_, ""), before);
  EXPECT_EQ(ui_.notice.shown, 0);
}

// While another operation holds the game folder, a second one changes
// nothing and says why; once it is released, the next one runs.
TEST_F(OperationsTest, ASecondOperationOnTheSameGameFolderIsRefused) {
  std::map<std::string, std::string> before = Snapshot(scratch_, "game");
  FolderLocked other = MakePlatformFileOps()->LockFolder(scratch_.Join("game"));
  ASSERT_TRUE(other.lock);
  EXPECT_EQ(operations_.Run(kInstallOperation), OperationResult::kRefused);
  EXPECT_EQ(ui_.messages, Only(texts::kAnotherOperation, MessageIcon::kNone));
  EXPECT_EQ(ui_.notice.shown, 0);
  other.lock.reset();
  EXPECT_EQ(Snapshot(scratch_, "game"), before);  // the lock file went with the lock
  ui_.messages.clear();
  EXPECT_EQ(operations_.Run(kInstallOperation), OperationResult::kDone);
  EXPECT_EQ(Game("MAINDATA.DAT"), "package main");
}

TEST_F(OperationsTest, NothingHappensWithoutAConfirmedFolder) {
  std::map<std::string, std::string> before = Snapshot(scratch_, "game");
  state_.PathChosen = 1;  // left over from an earlier operation: every click starts again at 0
  ui_.in_dialog = [](AppState&) {};  // the close box
  operations_.ClickInstallBT();
  operations_.ClickDefoBT();
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(ui_.notice.shown, 0);
  EXPECT_FALSE(scratch_.Exists("game/Backup"));
  EXPECT_EQ(Snapshot(scratch_, "game"), before);
}

// Records every primitive and carries none out: an operation that wrongly
// ran on an empty game folder would work on the root of the disk. Every
// listing shows one file, so that Install's package check passes.
class RefusingDisk : public Disk {
 public:
  std::string CurrentFolder() override { return Called("CurrentFolder", std::string()); }
  Result<Entry> Look(const std::string& path, Spelling) override { return Called("Look " + path, Refusal()); }
  Result<std::string> FolderIdentity(const std::string& path) override {
    return Called("FolderIdentity " + path, Refusal());
  }
  Result<std::vector<Listed>> List(const std::string& folder, const ListingFilter&) override {
    return Called("List " + folder, std::vector<Listed>{{"x.dat", EntryKind::kFile, false}});
  }
  Result<std::unique_ptr<InputFile>> OpenRead(const std::string& path, ReadSharing) override {
    return Called("OpenRead " + path, Refusal());
  }
  Result<std::unique_ptr<OutputFile>> OpenWrite(const std::string& path, WriteMode) override {
    return Called("OpenWrite " + path, Refusal());
  }
  Result<std::unique_ptr<StagedFile>, StageError> StageCopy(const std::string& source, const std::string& destination,
                                                            const ChunkHook&) override {
    return Called("StageCopy " + source + " " + destination, StageError{false, Refusal()});
  }
  Result<void> Rename(const std::string& from, const std::string& to) override {
    return Called("Rename " + from + " " + to, Refusal());
  }
  Result<void> RemoveFile(const std::string& path) override { return Called("RemoveFile " + path, Refusal()); }
  Result<void> RemoveFolder(const std::string& path) override { return Called("RemoveFolder " + path, Refusal()); }
  void RemoveAbandonedTemporaryFiles(const std::string& folder) override { Called("RemoveLeftovers " + folder, 0); }
  Result<void> MakeFolder(const std::string& path, Visibility) override {
    return Called("MakeFolder " + path, Refusal());
  }
  Result<void> SyncFolder(const std::string& folder) override { return Called("SyncFolder " + folder, Refusal()); }
  Result<std::unique_ptr<FolderLock>> LockFolder(const std::string& folder) override {
    return Called("LockFolder " + folder, Result<std::unique_ptr<FolderLock>>(Refusal()));
  }
  Result<void> MakeDurable(const std::vector<std::string>&, const std::vector<std::string>&) override {
    return Called("MakeDurable", Refusal());
  }

  std::vector<std::string> calls;

 private:
  static DiskError Refusal() { return {DiskError::kFailed, FailureCause::kOther, "refused"}; }
  template <typename Value>
  Value Called(std::string call, Value result) {
    calls.push_back(std::move(call));
    return result;
  }
};

TEST_F(OperationsTest, NothingRunsOnAnEmptyGameFolder) {
  RefusingDisk refusing;
  FileOps files(refusing);
  Operations operations(files, ui_, state_);
  ui_.in_dialog = [&](AppState& state) {  // confirmed, but with no folder
    refusing.calls.clear();               // Install's package check came before
    state.GamePath.clear();
    state.PathChosen = 1;
  };
  operations.ClickBackupBT();
  operations.ClickInstallBT();
  operations.ClickRestoreBT();
  operations.ClickDefoBT();
  EXPECT_EQ(refusing.calls, std::vector<std::string>{});
  EXPECT_TRUE(ui_.messages.empty());
  EXPECT_EQ(ui_.notice.shown, 0);
}

TEST_F(OperationsTest, AFileThatCannotBeWrittenUndoesTheWholeInstallAndIsReported) {
  scratch_.SetReadOnly("game/MAINDATA.DAT", true);
  std::map<std::string, std::string> before = Snapshot(scratch_, "game");
  operations_.ClickInstallBT();
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].icon, MessageIcon::kExclamation);
  EXPECT_EQ(ui_.messages[0].text, Lines({texts::kReportUndoneHead, "MAINDATA.DAT", texts::kAdviceDenied}));
  scratch_.SetReadOnly("game/MAINDATA.DAT", false);
  EXPECT_EQ(Snapshot(scratch_, "game"), before);  // the scenario files copied before it are gone again
}

TEST_F(OperationsTest, InstallStartedInTheGameFolderChangesNothing) {
  CurrentFolderGuard in_game(scratch_.Join("game"));
  ConfirmFolder(scratch_.Join("GAME"));  // typed in another case: still the same folder
  std::map<std::string, std::string> before = Snapshot(scratch_, "game");
  operations_.ClickInstallBT();
  EXPECT_EQ(ui_.messages, Only(Lines({texts::kSameFolder1, texts::kNothingChanged}), MessageIcon::kNone));
  EXPECT_EQ(Snapshot(scratch_, "game"), before);
}

// Started inside a ZIP viewer's folder, or from a package unpacked into the
// game's own data folder: told at once, and nothing is created or deleted.
TEST_F(OperationsTest, InstallRefusesAFolderWithNothingToInstallOrInsideAClearedFolder) {
  scratch_.MakeFolder("zip");
  scratch_.WriteFile("zip/TolvashuInstaller.exe", "program");
  scratch_.WriteFile("zip/kosei1.dat", "not a name the transfer copies");
  scratch_.WriteFile("game/pastDATA/kosei00.dat", "a package unpacked into pastDATA");
  scratch_.WriteFile("game/nationDATA/MAINDATA.DAT", "a package unpacked into nationDATA");
  ConfirmFolder(scratch_.Join("GAME"));  // another spelling of the same folder
  std::map<std::string, std::string> before = Snapshot(scratch_, "");
  struct Case {
    const char* folder;
    std::string box;
  } cases[] = {
      {"zip", Lines({texts::kNothingToInstall1, texts::kNothingToInstall2, texts::kNothingToInstall3})},
      {"game/nationDATA", Lines({texts::kSourceInClearedFolder1, texts::kNothingChanged})},
      {"game/pastDATA", Lines({texts::kSourceInClearedFolder1, texts::kNothingChanged})},
  };
  for (const Case& c : cases) {
    CurrentFolderGuard in_folder(scratch_.Join(c.folder));
    ui_.messages.clear();
    operations_.ClickInstallBT();
    EXPECT_EQ(ui_.messages, Only(c.box, MessageIcon::kNone)) << c.folder;
    EXPECT_EQ(Snapshot(scratch_, ""), before) << c.folder;
    EXPECT_FALSE(scratch_.Exists("game/Backup")) << c.folder;
    EXPECT_FALSE(scratch_.Exists(std::string(c.folder) + "/PathDATA.txt")) << c.folder;
  }
}

TEST_F(OperationsTest, MakeDataFoldersSkipsWhatExistsOrCannotBeMade) {
  scratch_.MakeFolder("game/Backup");
  scratch_.WriteFile("game/Backup/keep.dat", "kept");
  state_.GamePath = scratch_.Join("game");
  operations_.MakeDataFolders();
  EXPECT_EQ(Game("Backup/keep.dat"), "kept");
  EXPECT_TRUE(scratch_.Exists("game/Backup/nationDATA"));
  EXPECT_TRUE(scratch_.Exists("game/Backup/pastDATA"));
  EXPECT_EQ(scratch_.List("game/Backup").size(), 3u);

  state_.GamePath = scratch_.Join("missing");
  operations_.MakeDataFolders();
  EXPECT_FALSE(scratch_.Exists("missing"));
}

}  // namespace
}  // namespace tolvashu::testing
