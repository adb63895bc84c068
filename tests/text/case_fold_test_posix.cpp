#include "text/case_fold.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace tolvashu {
namespace {

TEST(CaseFoldTest, LettersOfEveryScriptFoldToOneForm) {
  EXPECT_EQ(FoldName("MainData.Dat"), FoldName("MAINDATA.DAT"));
  EXPECT_EQ(FoldName("ärger"), FoldName("ÄRGER"));
  EXPECT_EQ(FoldName("σοφια"), FoldName("ΣΟΦΙΑ"));
  EXPECT_EQ(FoldName("ς"), FoldName("Σ"));
  EXPECT_EQ(FoldName("привет"), FoldName("ПРИВЕТ"));
  EXPECT_EQ(FoldName("ａｂｃ"), FoldName("ＡＢＣ"));
  EXPECT_EQ(FoldName("年表1.txt"), FoldName("年表1.TXT"));
  EXPECT_NE(FoldName("年表"), FoldName("表年"));
}

TEST(CaseFoldTest, OneCharacterMapsToOneCharacterOnly) {
  EXPECT_NE(FoldName("straße"), FoldName("STRASSE"));
  EXPECT_EQ(FoldName("\xff.TXT"), FoldName("\xff.txt"));  // a byte that is not UTF-8 stays itself
  EXPECT_NE(FoldName("\xff"), FoldName("\xfe"));
}

TEST(CaseFoldTest, TheProcessLocaleDoesNotMatter) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  std::setlocale(LC_ALL, "C");  // towupper would leave «ä» alone here
  const bool folded = FoldName("ä") == FoldName("Ä");
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_TRUE(folded);
}

}  // namespace
}  // namespace tolvashu
