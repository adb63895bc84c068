#include "folderchoice/saved_path.h"

#include "game_folder_fixture.h"

namespace tolvashu::testing {
namespace {

using SavedPathTest = GameFolderFixture;

constexpr char kBefore[] = "value before";

TEST_F(SavedPathTest, ReadsTheFirstItemOfTheFile) {
  std::string game_path = kBefore;
  scratch_.WriteFile("PathDATA.txt", "D:\\Games\\X\r\n");
  EXPECT_EQ(LoadSavedPath(*files_, game_path), 1);
  EXPECT_EQ(game_path, "D:\\Games\\X");

  // Code page 932, with 0x5C as the second byte of «表».
  scratch_.WriteFile("PathDATA.txt", "D:\\\x83\x51\x81\x5b\x83\x80\\\x94\x4e\x95\x5c\r\n");
  EXPECT_EQ(LoadSavedPath(*files_, game_path), 1);
  EXPECT_EQ(game_path, "D:\\ゲーム\\年表");

  // A file written by an earlier version reads as it always did.
  scratch_.WriteFile("PathDATA.txt", "D:\\A,B\r\n");
  EXPECT_EQ(LoadSavedPath(*files_, game_path), 1);
  EXPECT_EQ(game_path, "D:\\A");
  EXPECT_TRUE(NoFileLeftOpen());
}

TEST_F(SavedPathTest, NoFolderToReadLeavesGamePathAlone) {
  std::string game_path = kBefore;
  EXPECT_EQ(LoadSavedPath(*files_, game_path), -1);  // no file

  for (const char* content : {"", "\r\n", ",D:\\Games\\X\r\n", "  \r\n", "\"\"\r\n"}) {
    scratch_.WriteFile("PathDATA.txt", content);
    EXPECT_EQ(LoadSavedPath(*files_, game_path), -1) << "content: " << content;
  }
  EXPECT_EQ(game_path, kBefore);
  EXPECT_TRUE(NoFileLeftOpen());
}

TEST_F(SavedPathTest, PlainPathIsWrittenAsBefore) {
  EXPECT_EQ(SaveResult::kSaved, SavePath(*files_, "D:\\Games\\X"));
  EXPECT_EQ(SavedPathBytes(), "D:\\Games\\X\r\n");
  EXPECT_EQ(SaveResult::kSaved, SavePath(*files_, "D:\\ゲーム\\年表"));
  EXPECT_EQ(SavedPathBytes(), "D:\\\x83\x51\x81\x5b\x83\x80\\\x94\x4e\x95\x5c\r\n");
  EXPECT_EQ(SaveResult::kSaved, SavePath(*files_, "/home/player/my games"));
  EXPECT_EQ(SavedPathBytes(), "/home/player/my games\r\n");
}

TEST_F(SavedPathTest, EveryPathThatCanBeSavedReadsBackWhole) {
  const std::string paths[] = {
      "D:\\A,B",     " D:\\Leading",  "D:\\Trailing ", "\tD:\\Tabs\t", "D:\\Line\r\nEnd",
      "D:\\Lone\nLF", "D:\\,", ",", "D:\\Games\\X", "D:\\", "D:\\年表, 2",
  };
  for (const std::string& path : paths) {
    ASSERT_EQ(SavePath(*files_, path), SaveResult::kSaved) << path;
    std::string game_path;
    EXPECT_EQ(LoadSavedPath(*files_, game_path), 1) << path;
    EXPECT_EQ(game_path, path);
  }
  EXPECT_EQ(SaveResult::kSaved, SavePath(*files_, "D:\\A,B"));
  EXPECT_EQ(SavedPathBytes(), "\"D:\\A,B\"\r\n");
}

// The file then names no folder rather than the one confirmed before.
TEST_F(SavedPathTest, PathThatCannotBeSavedLeavesNoOlderFolderBehind) {
  const char* kPaths[] = {"/home/josé/Games/Tolvashu", "C:\\Users\\Łukasz\\Games\\Tolvashu", "D:\\게임",
                          "D:\\\"quoted\"",  // no item can carry it
                          ""};
  EXPECT_EQ(SavePath(*MakePlatformFileOps(), kPaths[0]), SaveResult::kCannotHold);
  EXPECT_EQ(SavedPathBytes(), "<missing>");  // nothing to empty, and nothing made
  for (const char* path : kPaths) {
    scratch_.WriteFile("PathDATA.txt", "D:\\Old\r\n");
    EXPECT_EQ(SavePath(*files_, path), SaveResult::kCannotHold) << path;
    EXPECT_EQ(SavedPathBytes(), "") << path;
    std::string game_path = kBefore;
    EXPECT_EQ(LoadSavedPath(*files_, game_path), -1) << path;
  }
  EXPECT_TRUE(NoFileLeftOpen());
}

TEST_F(SavedPathTest, UnwritableFileIsToldAndClosesEverything) {
  scratch_.WriteFile("PathDATA.txt", "D:\\Old\r\n");
  scratch_.SetReadOnly("PathDATA.txt", true);
  EXPECT_EQ(SavePath(*files_, "D:\\New"), SaveResult::kNotWritten);
  EXPECT_EQ(SavedPathBytes(), "D:\\Old\r\n");  // it cannot be emptied either
  scratch_.SetReadOnly("PathDATA.txt", false);
  EXPECT_TRUE(NoFileLeftOpen());
}

}  // namespace
}  // namespace tolvashu::testing
