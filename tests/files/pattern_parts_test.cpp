#include "files/pattern_parts.h"

#include <gtest/gtest.h>

namespace tolvashu {
namespace {

TEST(NameStartTest, FindsTheLastComponentAfterEitherSeparatorOrADrive) {
  EXPECT_EQ(NameStart("D:\\G\\MAINDATA.DAT"), 5u);
  EXPECT_EQ(NameStart("D:/G/x"), 5u);
  EXPECT_EQ(NameStart("D:x"), 2u);
  EXPECT_EQ(NameStart("x.dat"), 0u);
  EXPECT_EQ(NameStart("D:\\"), 3u);
  // A 0x5C byte never occurs inside a UTF-8 character, so «表» stays whole.
  EXPECT_EQ(NameStart("年表\\表.txt"), 7u);
}

TEST(SplitPatternTest, SeparatesFolderAndNameAndExpandsAFolderToEveryFile) {
  std::optional<PatternParts> parts = SplitPattern("D:\\G\\namedata*.*");
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->folder, "D:\\G\\");
  EXPECT_EQ(parts->name, "namedata*.*");

  parts = SplitPattern("D:\\G\\");
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->folder, "D:\\G\\");
  EXPECT_EQ(parts->name, "*");

  parts = SplitPattern("MAINDATA.DAT");
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->folder, "");
  EXPECT_EQ(parts->name, "MAINDATA.DAT");
}

TEST(SplitPatternTest, RejectsMalformedPatterns) {
  EXPECT_FALSE(SplitPattern(""));
  EXPECT_FALSE(SplitPattern("D:\\G*\\x.dat"));
  EXPECT_FALSE(SplitPattern("D:\\?\\x.dat"));
  EXPECT_FALSE(SplitPattern("D:"));
  // Windows reads < > and " in a pattern as wildcards of its own.
  EXPECT_FALSE(SplitPattern("D:\\G\\a<b"));
  EXPECT_FALSE(SplitPattern("D:\\G\\a>b"));
  EXPECT_FALSE(SplitPattern("D:\\G\\a\"b"));
  EXPECT_FALSE(SplitPattern("D:\\G\\a|b"));
  EXPECT_FALSE(SplitPattern(std::string("D:\\G\\a\x01", 7)));
}

}  // namespace
}  // namespace tolvashu
