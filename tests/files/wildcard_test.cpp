#include "files/wildcard.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvashu {
namespace {

TEST(WildcardTest, StarTakesAnyRunAndQuestionMarkExactlyOne) {
  EXPECT_TRUE(MatchesWildcard(U"*", U""));
  EXPECT_TRUE(MatchesWildcard(U"*", U"anything.at.all"));
  EXPECT_TRUE(MatchesWildcard(U"kosei*.dat", U"kosei.dat"));
  EXPECT_TRUE(MatchesWildcard(U"kosei*.dat", U"kosei99.dat"));
  EXPECT_FALSE(MatchesWildcard(U"kosei*.dat", U"kosei99.dat.bak"));
  EXPECT_TRUE(MatchesWildcard(U"a*b*c", U"aXbYbZc"));
  EXPECT_FALSE(MatchesWildcard(U"a*b*c", U"aXbYbZ"));
  EXPECT_TRUE(MatchesWildcard(U"DATA?.TXT", U"DATA1.TXT"));
  EXPECT_FALSE(MatchesWildcard(U"DATA?.TXT", U"DATA.TXT"));
  EXPECT_FALSE(MatchesWildcard(U"DATA?.TXT", U"DATA12.TXT"));
  EXPECT_TRUE(MatchesWildcard(U"??", U"年表"));  // characters, not bytes
  EXPECT_FALSE(MatchesWildcard(U"?", U""));
  EXPECT_FALSE(MatchesWildcard(U"abc", U"ABC"));  // matching is exact: callers fold first
}

TEST(WildcardTest, TrailingDotStarAlsoMatchesNamesWithoutIt) {
  EXPECT_TRUE(MatchesWildcard(U"*.*", U"NOEXTENSION"));
  EXPECT_TRUE(MatchesWildcard(U"*.*", U"a.b"));
  EXPECT_TRUE(MatchesWildcard(U"NAMEDATA*.*", U"NAMEDATA1"));
  EXPECT_TRUE(MatchesWildcard(U"NAMEDATA*.*", U"NAMEDATA1.DAT"));
  EXPECT_TRUE(MatchesWildcard(U"年表.*", U"年表"));
  EXPECT_FALSE(MatchesWildcard(U"NAMEDATA*.*", U"PERSONALNAME1"));
  EXPECT_FALSE(MatchesWildcard(U"*.DAT", U"NAMEDATA1"));
}

TEST(WildcardTest, ManyStarsStayCheap) {
  // Exponential backtracking would not finish this within the test timeout.
  std::u32string name(5000, U'a');
  EXPECT_FALSE(MatchesWildcard(U"*a*a*a*a*a*a*a*a*a*a*a*b", name));
  EXPECT_TRUE(MatchesWildcard(U"*a*a*a*a*a*a*a*a*a*a*a*a", name));
}

TEST(WildcardTest, OnlyStarAndQuestionMarkAreWildcards) {
  EXPECT_TRUE(HasWildcard("*.mp3"));
  EXPECT_TRUE(HasWildcard("kosei?.dat"));
  EXPECT_FALSE(HasWildcard("MAINDATA.DAT"));
  EXPECT_FALSE(HasWildcard("[a].dat"));
}

}  // namespace
}  // namespace tolvashu
