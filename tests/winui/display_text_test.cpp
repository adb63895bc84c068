#include "winui/display_text.h"

#include <gtest/gtest.h>

namespace tolvashu {
namespace {

TEST(DisplayText, LoneCrBecomesCrLf) {
  EXPECT_EQ(WithCrLf("前回保存したパス名、\rD:\\Games\\X\rを選択する。"),
            "前回保存したパス名、\r\nD:\\Games\\X\r\nを選択する。");
  EXPECT_EQ(WithCrLf("end\r"), "end\r\n");
  EXPECT_EQ(WithCrLf("\r\r"), "\r\n\r\n");
}

TEST(DisplayText, ExistingCrLfAndLoneLfAreKept) {
  EXPECT_EQ(WithCrLf("a\r\nb"), "a\r\nb");
  EXPECT_EQ(WithCrLf("a\nb"), "a\nb");
  EXPECT_EQ(WithCrLf(""), "");
}

TEST(DisplayText, ButtonCaptionShowsAmpersandsAsTheyAre) {
  EXPECT_EQ(ButtonCaption("D:\\A&B\rを選択する。"), "D:\\A&&B\r\nを選択する。");
  EXPECT_EQ(ButtonCaption("&&"), "&&&&");
}

TEST(DisplayText, JapaneseBytesAreNeverTouched) {
  // «表» is 0xE8 0xA1 0xA8 in UTF-8: no byte of it is CR or '&'.
  EXPECT_EQ(ButtonCaption("年表\r表"), "年表\r\n表");
}

}  // namespace
}  // namespace tolvashu
