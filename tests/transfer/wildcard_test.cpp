#include "transfer/wildcard.h"

#include <gtest/gtest.h>

#include "transfer/temporary_name.h"

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

bool Matches(std::u32string_view name, std::u32string_view pattern) { return MatchesWildcard(name, pattern); }

TEST(MatchesWildcardTest, StarTakesAnyRunAndQuestionMarkExactlyOneCharacter) {
  EXPECT_TRUE(Matches(U"KOSEI07.DAT", U"KOSEI??.DAT"));
  EXPECT_FALSE(Matches(U"KOSEI7.DAT", U"KOSEI??.DAT"));
  EXPECT_FALSE(Matches(U"KOSEI100.DAT", U"KOSEI??.DAT"));
  EXPECT_TRUE(Matches(U"SONG.MP3", U"*.MP3"));
  EXPECT_TRUE(Matches(U"A.B.MP3", U"*.MP3"));
  EXPECT_FALSE(Matches(U"SONG.MP3.BAK", U"*.MP3"));
  EXPECT_FALSE(Matches(U"NOTES.TXTOLD", U"*.TXT"));
  EXPECT_TRUE(Matches(U"年表3.TXT", U"年表*.*"));
  EXPECT_TRUE(Matches(U"ABCABD", U"*AB?"));
  EXPECT_TRUE(Matches(U"", U"*"));
  EXPECT_FALSE(Matches(U"", U"?"));
  EXPECT_TRUE(Matches(U"X", U"***"));
}

TEST(MatchesWildcardTest, ATrailingDotStarAlsoMatchesNamesWithoutThatDot) {
  EXPECT_TRUE(Matches(U"README", U"*.*"));
  EXPECT_TRUE(Matches(U"A.B.C", U"*.*"));
  EXPECT_TRUE(Matches(U"NAMEDATA1", U"NAMEDATA*.*"));
  EXPECT_TRUE(Matches(U"NAMEDATA1.DAT", U"NAMEDATA*.*"));
  EXPECT_FALSE(Matches(U"NAMEDAT", U"NAMEDATA*.*"));
  EXPECT_FALSE(Matches(U"PERSONALNAME1", U"PERSONALNAME*.DAT"));
}

TEST(MatchesWildcardTest, WildcardCharactersInsideANameAreOrdinaryCharacters) {
  EXPECT_TRUE(Matches(U"*X", U"*"));
  EXPECT_TRUE(Matches(U"A*B", U"A?B"));
  EXPECT_FALSE(Matches(U"AXB", U"A*C"));
}

TEST(MatchesWildcardTest, CountsCharactersNotCodeUnits) {
  EXPECT_TRUE(Matches(U"\U0001F600.DAT", U"?.DAT"));
  EXPECT_TRUE(Matches(U"표.DAT", U"?.DAT"));
}

TEST(MatchesWildcardTest, ManyStarsAgainstALongNameStayFast) {
  // Backtracking over every star would take ages here; revisiting only the
  // last star keeps it quadratic at worst.
  std::u32string name(2000, U'A');
  std::u32string pattern;
  for (int i = 0; i < 40; ++i) pattern += U"*A";
  pattern += U"B";
  EXPECT_FALSE(Matches(name, pattern));
}

TEST(TemporaryNameTest, FreshNamesAreDotFilesThatAreRecognisedAndDistinct) {
  std::string first = MakeTemporaryName();
  std::string second = MakeTemporaryName();
  EXPECT_NE(first, second);
  EXPECT_EQ(first[0], '.');
  EXPECT_TRUE(IsTemporaryName(first));
  EXPECT_FALSE(IsTemporaryName("MAINDATA.DAT"));
  EXPECT_FALSE(IsTemporaryName(".~tolvashu-.tmp"));
  EXPECT_FALSE(IsTemporaryName(".hidden.tmp"));
}

}  // namespace
}  // namespace tolvashu
