#include "transfer/manifest_copy.h"

#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace tolvashu::testing {
namespace {

class ManifestCopy : public EngineTest {
 protected:
  // Runs the copy with `folder` as the current directory.
  std::vector<FileFailure> CopyFrom(std::string_view folder) {
    CurrentFolderGuard scope(scratch_.Join(folder));
    FolderTransfer transfer = Between();
    CopyManifestFiles(transfer);
    std::vector<FileFailure> failures = transfer.TakeFailures();
    if (failures.empty()) Commit();
    return failures;
  }
};

TEST_F(ManifestCopy, CopiesEveryNamedFileOfAWorldFileInCodePage932) {
  // 背景: 地図.jpg / x: 表紙.dat (the second byte of 表 is 0x5C) / ファイル:　a b.gif
  scratch_.WriteFile("pkg/vumoworld.dat",
                     "\x94\x77\x8C\x69: \x92\x6E\x90\x7D.jpg\r\n"
                     "x: \x95\x5C\x8E\x86.dat, \x83\x74\x83\x40\x83\x43\x83\x8B:\x81\x40" "a b.gif\r\n");
  Source("地図.jpg", "map");
  Source("表紙.dat", "cover");
  Source("ab.gif", "ab");
  EXPECT_TRUE(CopyFrom("pkg").empty());
  EXPECT_EQ(GameFile("地図.jpg"), "map");
  EXPECT_EQ(GameFile("表紙.dat"), "cover");
  EXPECT_EQ(GameFile("ab.gif"), "ab");
}

TEST_F(ManifestCopy, IgnoresItemsThatNameNoFileAndSkipsMissingOnes) {
  // 地図：full.dat has a full-width colon only.
  scratch_.WriteFile("pkg/vumoworld.dat",
                     "title, label: pic.JPG, nocolon.dat, missing: gone.jpg\r\n"
                     "\x92\x6E\x90\x7D\x81\x46" "full.dat\r\n"
                     "\"q: quoted, comma.txt\"\r\n"
                     "last: kept.txt");
  Source("pic.JPG");
  Source("full.dat");
  Source("quoted,comma.txt");
  Source("kept.txt");
  EXPECT_TRUE(CopyFrom("pkg").empty());
  EXPECT_EQ(scratch_.List("game"), (std::vector<std::string>{"kept.txt", "quoted,comma.txt"}));
}

TEST_F(ManifestCopy, ReadsTheWorldFileOfTheCurrentFolderNotOfTheSource) {
  scratch_.MakeFolder("elsewhere");
  scratch_.WriteFile("elsewhere/vumoworld.dat", "a: from-current.dat\r\n");
  scratch_.WriteFile("pkg/vumoworld.dat", "a: from-source.dat\r\n");
  Source("from-current.dat");
  Source("from-source.dat");
  CopyFrom("elsewhere");
  EXPECT_EQ(scratch_.List("game"), std::vector<std::string>{"from-current.dat"});
}

TEST_F(ManifestCopy, CopiesNothingWithoutAWorldFileOrFromAnEmptyOne) {
  Source("a.dat");
  EXPECT_TRUE(CopyFrom("pkg").empty());
  scratch_.WriteFile("pkg/vumoworld.dat", "");
  EXPECT_TRUE(CopyFrom("pkg").empty());
  EXPECT_TRUE(scratch_.List("game").empty());
}

TEST_F(ManifestCopy, CopiesIntoSubfoldersMakingTheMissingOnesForFilesThatAreThere) {
  scratch_.WriteFile("pkg/vumoworld.dat", "a: maps\\east.jpg, b: maps/west.jpg, c: faces\\x\\one.jpg, d: gone\\a.jpg\r\n");
  scratch_.MakeFolder("pkg/maps");
  scratch_.MakeFolder("pkg/faces/x");
  scratch_.MakeFolder("game/maps");
  Source("maps/east.jpg", "east");
  Source("maps/west.jpg", "west");
  Source("faces/x/one.jpg", "one");
  EXPECT_TRUE(CopyFrom("pkg").empty());
  EXPECT_EQ(GameFile("maps/east.jpg"), "east");
  EXPECT_EQ(GameFile("maps/west.jpg"), "west");
  EXPECT_EQ(GameFile("faces/x/one.jpg"), "one");
  EXPECT_FALSE(GameHas("gone"));
}

TEST_F(ManifestCopy, NeverReachesOutsideTheTwoFolders) {
  // The destination lies one level deeper than the source, so that a name
  // climbing out of both would read a file that exists and write a new one.
  scratch_.WriteFile("pkg/vumoworld.dat",
                     "a: ..\\outside.dat\r\nb: ../outside.dat\r\nc: maps\\..\\..\\outside.dat\r\n"
                     "d: \\outside.dat\r\ne: /outside.dat\r\n");
  scratch_.WriteFile("outside.dat", "secret");
  Source("outside.dat");  // what a name with a leading separator would reach
  scratch_.MakeFolder("pkg/maps");
  scratch_.MakeFolder("deep/game/maps");
  CurrentFolderGuard scope(scratch_.Join("pkg"));
  FolderTransfer transfer = Between(scratch_.Folder("deep/game"));
  CopyManifestFiles(transfer);
  EXPECT_TRUE(transfer.TakeFailures().empty());
  Commit();
  EXPECT_EQ(scratch_.List("deep"), std::vector<std::string>{"game"});
  EXPECT_EQ(scratch_.List("deep/game"), std::vector<std::string>{"maps"});
  EXPECT_TRUE(scratch_.List("deep/game/maps").empty());
  EXPECT_EQ(scratch_.ReadFile("outside.dat"), "secret");
}

TEST_F(ManifestCopy, StopsAtANamedFileThatCouldNotBeCopied) {
  scratch_.WriteFile("pkg/vumoworld.dat", "a: locked.dat, b: free.dat\r\n");
  Source("locked.dat");
  Source("free.dat");
  Game("locked.dat", "kept");
  scratch_.SetReadOnly("game/locked.dat", true);
  std::vector<FileFailure> failures = CopyFrom("pkg");
  EXPECT_EQ(GameFile("locked.dat"), "kept");
  EXPECT_FALSE(GameHas("free.dat"));
  ASSERT_EQ(FailedPaths(failures), std::vector<std::string>{destination() + "locked.dat"});
  EXPECT_FALSE(failures[0].reason.empty());
}

}  // namespace
}  // namespace tolvashu::testing
