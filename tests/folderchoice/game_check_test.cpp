#include "folderchoice/game_check.h"

#include "game_folder_fixture.h"

namespace tolvashu::testing {
namespace {

using GameCheckTest = GameFolderFixture;

TEST_F(GameCheckTest, EitherExecutableMakesAGameFolder) {
  EXPECT_EQ(CheckGameExe(*files_, MakeGameFolder("main")), 1);

  scratch_.MakeFolder("alt");
  scratch_.WriteFile("alt/!Tolvashu.exe", "");
  EXPECT_EQ(CheckGameExe(*files_, scratch_.Join("alt")), 1);
  EXPECT_EQ(CheckAltGameExe(*files_, scratch_.Join("alt")), 1);

  // File names match in any case, as on Windows.
  scratch_.MakeFolder("upper");
  scratch_.WriteFile("upper/MORBEK.EXE", "");
  EXPECT_EQ(CheckGameExe(*files_, scratch_.Join("upper")), 1);
  EXPECT_TRUE(NoFileLeftOpen());
}

TEST_F(GameCheckTest, FolderWithoutAnExecutableFileIsNoGameFolder) {
  scratch_.MakeFolder("empty");
  EXPECT_EQ(CheckGameExe(*files_, scratch_.Join("empty")), -1);

  // A folder that merely carries the executable's name does not open as a file.
  scratch_.MakeFolder("fake/Morbek.exe");
  scratch_.MakeFolder("fake/!Tolvashu.exe");
  EXPECT_EQ(CheckGameExe(*files_, scratch_.Join("fake")), -1);

  // The main executable alone is not the alternative one.
  EXPECT_EQ(CheckAltGameExe(*files_, MakeGameFolder("main")), -1);
  EXPECT_EQ(CheckGameExe(*files_, scratch_.Join("missing")), -1);
  EXPECT_TRUE(NoFileLeftOpen());
}

}  // namespace
}  // namespace tolvashu::testing
