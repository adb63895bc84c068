#include "transfer/transfer_data_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "support/faulty_file_ops.h"
#include "support/live_temporary_file.h"
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

TEST_F(TransferDataSetTest, CopiesTheFixedNamesTheSeriesAndTheWorldFiles) {
  for (const char* name : {"habatuzu.dat", "bunka.dat", "back4.jpg", "BALANCE.DAT", "touroku.dat", "kosei00.dat",
                           "vumomp3.txt", "vumoworld.dat", "MAINDATA.DAT", "RANDidx.dat", "TaizinDead.dat",
                           "SmallMap.bmp", "MAPDATA.dat", "年表1.txt", "named.txt", "unrelated.bin"}) {
    Source(name);
  }
  scratch_.WriteFile("pkg/vumoworld.dat", "label: named.txt\r\n");
  Transfer();
  for (const char* name : {"habatuzu.dat", "bunka.dat", "back4.jpg", "BALANCE.DAT", "touroku.dat", "kosei00.dat",
                           "vumomp3.txt", "MAINDATA.DAT", "RANDidx.dat", "TaizinDead.dat", "SmallMap.bmp",
                           "MAPDATA.dat", "年表1.txt", "named.txt"}) {
    EXPECT_EQ(GameFile(name), "new") << name;
  }
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
