#include "transfer/transfer_data_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "support/faulty_disk.h"
#include "support/live_temporary_file.h"
#include "text/ascii_upper.h"
#include "transfer/data_set_catalogue.h"
#include "transfer/recovery.h"

namespace tolvashu::testing {
namespace {

using Strings = std::vector<std::string>;

class TransferDataSetTest : public EngineTest {
 protected:
  TransferDataSetTest() {
    scratch_.MakeFolder("pkg/nationDATA");
    scratch_.MakeFolder("pkg/pastDATA");
    scratch_.MakeFolder("game/nationDATA");
    scratch_.MakeFolder("game/pastDATA");
  }

  // The game folder's names, without the status files that every transfer
  // leaves behind empty when the source lacks them.
  Strings GameNamesBesideEmptyStatusFiles(std::string_view folder = "game") const {
    static const Strings kEmptied = {"Sison.dat", "taizin_log.txt", "syo_list.dat", "TaizinNow.dat", "yazirusi.dat"};
    Strings names;
    for (const std::string& name : scratch_.List(folder)) {
      bool emptied = std::find(kEmptied.begin(), kEmptied.end(), name) != kEmptied.end() &&
                     scratch_.ReadFile(In(folder, name)) == "";
      if (!emptied) names.push_back(name);
    }
    return names;
  }
};

TEST_F(TransferDataSetTest, ShowsTheNoticeForTheWholeTransferAndNamesEachCopy) {
  Source("nationDATA/国1.dat");
  Source("MAINDATA.DAT");
  EXPECT_TRUE(Transfer().failures.empty());
  EXPECT_EQ(notice_.events, (Strings{"show", "unload"}));
  const Strings& copied = notice_.copied;
  EXPECT_EQ(copied.front(), "nationDATA\\国1.dat");
  EXPECT_NE(std::find(copied.begin(), copied.end(), "MAINDATA.DAT"), copied.end());
  EXPECT_NE(std::find(copied.begin(), copied.end(), "kosei99.dat"), copied.end());  // tried, though missing
  // The deletions and emptied files between the copies let the notice in too.
  EXPECT_GE(notice_.working, 5);
}

TEST_F(TransferDataSetTest, ReplacesTheClearedFamiliesInsteadOfMergingIntoThem) {
  for (const char* name : {"年表5.txt", "touroku.dat", "nationDATA/old.dat", "NameData1.dat", "namedata",
                           "PersonalName7.dat", "pastDATA/old.dat", "habatuzu.dat"}) {
    Game(name);
  }
  Game("kosei05.dat");
  Game("keep.txt");
  Game("pastDATA/.hidden");
  Source("nationDATA/new.dat");
  Transfer();
  EXPECT_EQ(GameNamesBesideEmptyStatusFiles(), (Strings{"keep.txt", "kosei05.dat", "nationDATA", "pastDATA"}));
  EXPECT_EQ(scratch_.List("game/nationDATA"), Strings{"new.dat"});
  EXPECT_EQ(scratch_.List("game/pastDATA"), Strings{".hidden"});
}

TEST_F(TransferDataSetTest, CopiesTheOrdinaryFilesOfTheDataSubfoldersOnly) {
  Source("nationDATA/国1.dat");
  Source("nationDATA/a.txt");
  Source("nationDATA/.hidden.dat");
  scratch_.MakeFolder("pkg/nationDATA/inner");
  Source("nationDATA/inner/deep.dat");
  Source("pastDATA/p.dat");
  Transfer();
  EXPECT_EQ(scratch_.List("game/nationDATA"), (Strings{"a.txt", "国1.dat"}));
  EXPECT_EQ(scratch_.List("game/pastDATA"), Strings{"p.dat"});
}

TEST_F(TransferDataSetTest, CopiesMusicOnlyWhenTheSwitchIsExactlyOn) {
  Source("a.mp3");
  Source("b.MP3");
  Source("xmp3");
  for (const char* off : {"", "ON", "on "}) {
    Transfer(off);
    EXPECT_FALSE(GameHas("a.mp3")) << "switch «" << off << "»";
  }
  Transfer("on");
  EXPECT_TRUE(GameHas("a.mp3"));
  EXPECT_TRUE(GameHas("xmp3"));
  EXPECT_FALSE(GameHas("b.MP3"));
}

TEST_F(TransferDataSetTest, SweepsTheSourceFolderWithExactCaseSensitiveTests) {
  for (const char* name : {"s.wav", "p.jpg", "q.Jpg", "namedata1.dat", "NameData2.dat", "namedat",
                           "PersonalName3.dat", "personalname4.dat", "PersonalNam", "wav", ".x.jpg"}) {
    Source(name);
  }
  scratch_.MakeFolder("pkg/folder.jpg");
  Source("folder.jpg/inner.jpg");
  Transfer("");
  EXPECT_EQ(GameNamesBesideEmptyStatusFiles(),
            (Strings{"PersonalName3.dat", "namedata1.dat", "nationDATA", "p.jpg", "pastDATA", "s.wav", "wav"}));
}

TEST_F(TransferDataSetTest, TriesEveryScenarioNumberFromOneWhateverIsMissing) {
  Source("kosei03.dat");
  Source("kosei07.dat");
  Source("kosei00.dat.bak");
  Transfer();
  EXPECT_TRUE(GameHas("kosei03.dat"));
  EXPECT_TRUE(GameHas("kosei07.dat"));
  EXPECT_FALSE(GameHas("kosei00.dat.bak"));
}

// The fixed names are spelled out here, not read from the catalogue. The
// package holds them in capitals, which no sweep takes (the sweeps are
// case-sensitive): each arrives by its fixed name alone.
TEST_F(TransferDataSetTest, CopiesTheFixedNamesTheSeriesAndTheWorldFiles) {
  const Strings fixed_names = {"bunka.dat", "back4.jpg", "back5.jpg", "back6.jpg", "back7.jpg", "BALANCE.DAT",
                               "touroku.dat", "vumomp3.txt", "SWAIT.DAT", "mainbutai2.jpg", "taizin_riyuu.txt",
                               "namedata.dat", "parameita.jpg", "PersonalName.dat", "sansyo.dat",
                               "totinamedata.dat", "FrontBack.dat", "keireki.txt", "MAINDATA.DAT", "RANDidx.dat"};
  const Strings others = {"habatuzu.dat", "kosei00.dat", "TaizinDead.dat", "SmallMap.bmp", "MAPDATA.dat",
                          "年表1.txt", "named.txt"};
  for (const std::string& name : fixed_names) Source(AsciiUpper(name));
  for (const std::string& name : others) Source(name);
  Source("unrelated.bin");
  Source("vumoworld.dat", "label: named.txt\r\n");  // a fixed name too, and the world file
  Transfer();
  for (const std::string& name : fixed_names) EXPECT_EQ(GameFile(name), "new") << name;
  for (const std::string& name : others) EXPECT_EQ(GameFile(name), "new") << name;
  EXPECT_EQ(GameFile("vumoworld.dat"), "label: named.txt\r\n");
  EXPECT_FALSE(GameHas("unrelated.bin"));
}

TEST_F(TransferDataSetTest, EmptiesTheStatusFilesThatMustNotSurviveAndKeepsTheOthers) {
  for (const char* name : {"Sison.dat", "taizin_log.txt", "syo_list.dat", "TaizinNow.dat", "yazirusi.dat",
                           "TaizinDead.dat", "testmap.dat", "SmallMap.bmp", "MAPDATA.dat"}) {
    Game(name, "earlier game");
  }
  Source("syo_list.dat", "list");
  Transfer();
  for (const char* name : {"Sison.dat", "taizin_log.txt", "TaizinNow.dat", "yazirusi.dat"}) {
    EXPECT_EQ(GameFile(name), "") << name;
  }
  EXPECT_EQ(GameFile("syo_list.dat"), "list");
  for (const char* name : {"TaizinDead.dat", "testmap.dat", "SmallMap.bmp", "MAPDATA.dat"}) {
    EXPECT_EQ(GameFile(name), "earlier game") << name;
  }
}

TEST_F(TransferDataSetTest, AMissingSourceFolderStillClearsTheFamiliesAndEmptiesTheStatusFiles) {
  Game("年表1.txt");
  Game("Sison.dat", "earlier game");
  Game("MAINDATA.DAT");
  CurrentFolderGuard elsewhere(scratch_.path());
  TransferReport report = TransferDataSet(*files_, notice_, scratch_.Folder("no-such-package"), destination(), "on");
  EXPECT_TRUE(report.failures.empty());
  EXPECT_EQ(report.overlap, FolderOverlap::kNone);
  EXPECT_EQ(scratch_.List("game"), (Strings{"MAINDATA.DAT", "Sison.dat", "TaizinNow.dat", "nationDATA", "pastDATA",
                                             "syo_list.dat", "taizin_log.txt", "yazirusi.dat"}));
  EXPECT_EQ(GameFile("Sison.dat"), "");
}

TEST_F(TransferDataSetTest, AReadOnlyFileStopsTheTransferAndEverythingIsUndone) {
  Source("nationDATA/new.dat");
  Source("MAINDATA.DAT");
  Source("kosei00.dat");
  Source("kosei01.dat");
  Game("nationDATA/old.dat");
  Game("年表1.txt");
  Game("kosei01.dat", "kept");
  scratch_.SetReadOnly("game/kosei01.dat", true);
  const Strings before = scratch_.List("game");
  TransferReport report = Transfer();
  EXPECT_EQ(report.outcome, TransferOutcome::kUndone);
  EXPECT_EQ(FailedPaths(report), Strings{destination() + "kosei01.dat"});
  EXPECT_EQ(scratch_.List("game"), before);
  EXPECT_EQ(scratch_.List("game/nationDATA"), Strings{"old.dat"});
  EXPECT_EQ(GameFile("年表1.txt"), "old");
  EXPECT_EQ(notice_.events, (Strings{"show", "unload"}));
}

TEST_F(TransferDataSetTest, EveryMatchThatCannotBeDeletedIsToldAndNothingChanges) {
  Game("年表3.txt", "kept");
  Game("年表4.txt", "kept");
  Game("年表5.txt", "moved aside and back");
  scratch_.SetReadOnly("game/年表3.txt", true);
  scratch_.SetReadOnly("game/年表4.txt", true);
  TransferReport report = Transfer();
  EXPECT_EQ(report.outcome, TransferOutcome::kUndone);
  EXPECT_EQ(scratch_.List("game"), (Strings{"nationDATA", "pastDATA", "年表3.txt", "年表4.txt", "年表5.txt"}));
  EXPECT_EQ(GameFile("年表5.txt"), "moved aside and back");
  ASSERT_EQ(report.failures.size(), 2u);
  for (const FileFailure& failure : report.failures) EXPECT_EQ(failure.cause, FailureCause::kDenied) << failure.path;
}

// Refilled from a source listing that cannot be read, a data folder would
// be left empty: the transfer stops before it is cleared, and says why.
TEST_F(TransferDataSetTest, StopsWhenASourceListingCannotBeReadAndKeepsTheFamily) {
  for (const char* folder : {"nationDATA", "pastDATA"}) {
    Game(std::string(folder) + "/old.dat", "kept");
    Source(std::string(folder) + "/new.dat");
    FaultyDisk faulty(files_->disk());
    faulty.FailListingOf(source() + folder + "\\", FailureCause::kUnreadable);
    FileOps files(faulty);
    CurrentFolderGuard in_package(scratch_.Join("pkg"));
    TransferReport report = TransferDataSet(files, notice_, source(), destination(), "");
    EXPECT_EQ(GameFile(std::string(folder) + "/old.dat"), "kept") << folder;
    EXPECT_FALSE(GameHas(std::string(folder) + "/new.dat")) << folder;
    EXPECT_EQ(FailedPaths(report), Strings{source() + folder + "\\"});
    EXPECT_EQ(report.outcome, TransferOutcome::kUndone);
  }
}

// The records that let the undo remove new files are made durable a batch
// at a time: the journal's syncs do not grow with the files copied.
TEST_F(TransferDataSetTest, MakesTheRecordsOfManyCopiesDurableInAFewSyncs) {
  for (int n = 0; n < 100; ++n) Source(catalogue::KoseiFileName(n));
  for (int n = 0; n < 60; ++n) Source("nationDATA/n" + std::to_string(n) + ".dat");
  for (int n = 0; n < 40; ++n) Game("nationDATA/old" + std::to_string(n) + ".dat");
  FaultyDisk faulty(files_->disk());
  FileOps files(faulty);
  CurrentFolderGuard in_package(scratch_.Join("pkg"));
  TransferReport report = TransferDataSet(files, notice_, source(), destination(), "");
  ASSERT_TRUE(report.failures.empty());
  const std::vector<std::string>& log = faulty.durability_log();
  const auto syncs = std::count(log.begin(), log.end(), "journal sync");
  EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& e) { return e.rfind("keep ", 0) == 0; }), 160);
  EXPECT_LE(syncs, 16) << "journal syncs for 160 copies";
}

// As a copy killed midway leaves them: removed by the next start's look for
// an unfinished transfer, except the one another transfer is still
// writing, and names that are not ours.
TEST_F(TransferDataSetTest, RecoveryRemovesTheTemporaryFilesOfKilledCopiesButNotOneBeingWritten) {
  const std::string leftover = ".~tolvashu-0123456789abcdef.tmp";
  for (const char* folder : {"game", "game/nationDATA", "game/pastDATA"}) {
    scratch_.WriteFile(In(folder, leftover), "half");
  }
  Game(".~tolvashu-notes.txt", "not ours");
  LiveTemporaryFile live(scratch_.Join("game/.~tolvashu-fedcba9876543210.tmp"));
  EXPECT_EQ(RecoverUnfinishedTransfer(*files_, destination()).outcome, Recovery::kNothing);
  EXPECT_EQ(scratch_.List("game/nationDATA"), Strings{});
  EXPECT_EQ(scratch_.List("game/pastDATA"), Strings{});
  EXPECT_TRUE(GameHas(".~tolvashu-fedcba9876543210.tmp"));
  EXPECT_FALSE(GameHas(leftover));
  EXPECT_TRUE(live.Finish("copied", scratch_.Join("game/done.dat")));
  EXPECT_EQ(GameFile("done.dat"), "copied");
  EXPECT_EQ(GameFile(".~tolvashu-notes.txt"), "not ours");
}

// A game folder without its data subfolders gets them within the
// transfer: kept when it commits, gone with the rest when it is undone.
TEST_F(TransferDataSetTest, MakesMissingDestinationSubfoldersWithinTheTransfer) {
  scratch_.MakeFolder("game2");
  Source("nationDATA/n.dat");
  Source("pastDATA/p.dat");
  Source("bunka.dat");
  CurrentFolderGuard in_package(scratch_.Join("pkg"));
  TransferReport report = TransferDataSet(*files_, notice_, source(), scratch_.Folder("game2"), "");
  EXPECT_EQ(report.outcome, TransferOutcome::kCompleted);
  EXPECT_EQ(scratch_.List("game2/nationDATA"), Strings{"n.dat"});
  EXPECT_EQ(scratch_.List("game2/pastDATA"), Strings{"p.dat"});

  scratch_.MakeFolder("game3");
  Source("kosei00.dat");
  Source("kosei01.dat");
  scratch_.WriteFile("game3/kosei01.dat", "kept");
  scratch_.SetReadOnly("game3/kosei01.dat", true);  // fails after the subfolders were made
  report = TransferDataSet(*files_, notice_, source(), scratch_.Folder("game3"), "");
  EXPECT_EQ(report.outcome, TransferOutcome::kUndone);
  EXPECT_EQ(scratch_.List("game3"), Strings{"kosei01.dat"});
}

TEST_F(TransferDataSetTest, IntoAMissingDestinationFolderChangesNothing) {
  Source("bunka.dat");
  std::string missing = scratch_.Folder("no-such-game");
  CurrentFolderGuard in_package(scratch_.Join("pkg"));
  TransferReport report = TransferDataSet(*files_, notice_, source(), missing, "on");
  EXPECT_EQ(report.outcome, TransferOutcome::kUndone);
  ASSERT_EQ(report.failures.size(), 1u);
  EXPECT_EQ(report.failures[0].path.rfind(missing, 0), 0u);
  EXPECT_FALSE(scratch_.Exists("no-such-game"));
}

class SameFolderTransfer : public TransferDataSetTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SameFolderTransfer, ChangesNothingAndSaysSo) {
  Source("nationDATA/n.dat", "nation");
  Source("年表1.txt", "chronicle");
  Source("Sison.dat", "status");
  std::string spelling = scratch_.path() + GetParam();
  TransferReport report = TransferDataSet(*files_, notice_, source(), spelling, "on");
  EXPECT_EQ(report.overlap, FolderOverlap::kSameFolder);
  EXPECT_TRUE(report.failures.empty());
  EXPECT_TRUE(notice_.events.empty());
  EXPECT_EQ(scratch_.ReadFile("pkg/nationDATA/n.dat"), "nation");
  EXPECT_EQ(scratch_.ReadFile("pkg/年表1.txt"), "chronicle");
  EXPECT_EQ(scratch_.ReadFile("pkg/Sison.dat"), "status");
}

INSTANTIATE_TEST_SUITE_P(Spellings, SameFolderTransfer,
                         ::testing::Values("/pkg/", "\\pkg\\", "/PKG/", "\\Pkg/", "/pkg//", "/pkg", "/./pkg/./",
                                           "/game/../pkg/", "\\game\\..\\PKG\\"));

}  // namespace
}  // namespace tolvashu::testing
