#include "transfer/manifest_name.h"

#include <gtest/gtest.h>

#include "transfer/inside_folder.h"

namespace tolvashu {
namespace {

TEST(ManifestFileName, TakesWhatFollowsTheFirstColonWithoutBlanksOrFurtherColons) {
  EXPECT_EQ(ManifestFileName("背景画像: haikei01.jpg"), "haikei01.jpg");
  EXPECT_EQ(ManifestFileName("背景: back 01.jpg"), "back01.jpg");
  EXPECT_EQ(ManifestFileName("a:b:c.txt"), "bc.txt");
  EXPECT_EQ(ManifestFileName("ファイル: 　data.dat"), "data.dat");
  EXPECT_EQ(ManifestFileName("x:　地　図 .gif"), "地図.gif");
  EXPECT_EQ(ManifestFileName(":plain.dat"), "plain.dat");
}

TEST(ManifestFileName, KeepsEveryOtherCharacterIncludingFolderPartsAndTabs) {
  EXPECT_EQ(ManifestFileName("m: maps\\表紙.jpg"), "maps\\表紙.jpg");
  EXPECT_EQ(ManifestFileName("m: ../up.dat"), "../up.dat");
  EXPECT_EQ(ManifestFileName("m:\ttab.txt"), "\ttab.txt");
}

TEST(ManifestFileName, NamesOnlyItemsEndingInOneOfFourLowerCaseExtensions) {
  EXPECT_EQ(ManifestFileName("label: pic.JPG"), std::nullopt);
  EXPECT_EQ(ManifestFileName("label: pic.jpeg"), std::nullopt);
  EXPECT_EQ(ManifestFileName("label: pic.jpg "), std::nullopt);
  EXPECT_EQ(ManifestFileName("label: music.mp3"), std::nullopt);
  EXPECT_EQ(ManifestFileName("jpg"), std::nullopt);
  EXPECT_EQ(ManifestFileName(""), std::nullopt);
  EXPECT_EQ(ManifestFileName("x: a.gif"), "a.gif");
  EXPECT_EQ(ManifestFileName(".txt"), "");
}

TEST(ManifestFileName, GivesAnEmptyNameWithoutAnAsciiColon) {
  EXPECT_EQ(ManifestFileName("nocolon.dat"), "");
  EXPECT_EQ(ManifestFileName("地図：map.dat"), "");
  EXPECT_EQ(ManifestFileName("x:   .dat"), ".dat");
}

TEST(StaysInsideFolder, AcceptsPlainNamesAndSubfolderParts) {
  EXPECT_TRUE(StaysInsideFolder("haikei01.jpg"));
  EXPECT_TRUE(StaysInsideFolder("maps\\表紙.jpg"));
  EXPECT_TRUE(StaysInsideFolder("maps/east/a.dat"));
  EXPECT_TRUE(StaysInsideFolder("./a.dat"));
  EXPECT_TRUE(StaysInsideFolder("..a.dat"));
  EXPECT_TRUE(StaysInsideFolder("a..b.dat"));
  EXPECT_TRUE(StaysInsideFolder("console.dat"));
  EXPECT_TRUE(StaysInsideFolder("COM10.dat"));
  EXPECT_TRUE(StaysInsideFolder("LPT0.txt"));
}

TEST(StaysInsideFolder, RefusesNamesThatLeaveTheFolder) {
  EXPECT_FALSE(StaysInsideFolder(""));
  EXPECT_FALSE(StaysInsideFolder("\\Windows\\win.ini"));
  EXPECT_FALSE(StaysInsideFolder("/etc/x.dat"));
  EXPECT_FALSE(StaysInsideFolder("\\\\server\\share\\x.dat"));
  EXPECT_FALSE(StaysInsideFolder("..\\x.dat"));
  EXPECT_FALSE(StaysInsideFolder("a/../../x.dat"));
  EXPECT_FALSE(StaysInsideFolder("a\\..\\x.dat"));
  EXPECT_FALSE(StaysInsideFolder("..."));
  EXPECT_FALSE(StaysInsideFolder("a/.../x.dat"));
  EXPECT_FALSE(StaysInsideFolder("C:x.dat"));
  EXPECT_FALSE(StaysInsideFolder("a.dat:stream.txt"));
}

TEST(StaysInsideFolder, RefusesDeviceNamesAndControlCharacters) {
  EXPECT_FALSE(StaysInsideFolder("CON"));
  EXPECT_FALSE(StaysInsideFolder("nul.txt"));
  EXPECT_FALSE(StaysInsideFolder("maps\\Aux.dat"));
  EXPECT_FALSE(StaysInsideFolder("com1.jpg"));
  EXPECT_FALSE(StaysInsideFolder("LPT9.dat"));
  EXPECT_FALSE(StaysInsideFolder(std::string_view("..\0.dat", 7)));
  EXPECT_FALSE(StaysInsideFolder("a\tb.dat"));
}

}  // namespace
}  // namespace tolvashu
