#include "text/code_points.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvashu {
namespace {

TEST(CodePointsTest, ValidUtf8DecodesToItsCharacters) {
  EXPECT_EQ(DecodeUtf8("a年表🎮"), U"a年表🎮");
  EXPECT_EQ(EncodeUtf8(U"a年表🎮한"), "a年表🎮한");
}

TEST(CodePointsTest, BytesThatAreNotUtf8SurviveARoundTrip) {
  const std::string cases[] = {
      "\xff\xfe.txt",         // never valid
      "\x95\x5c",             // code page 932 bytes of «表»
      "\xe5\xb9",             // a truncated sequence
      "\xc0\xaf",             // an overlong '/'
      "\xed\xa0\x80",         // a surrogate
      "\xf4\x90\x80\x80",     // beyond U+10FFFF
      "ok\x80\xbf" "\xe5\xb9\xb4",  // stray continuation bytes, then «年»
  };
  for (const std::string& bytes : cases) {
    std::u32string decoded = DecodeUtf8(bytes);
    EXPECT_EQ(EncodeUtf8(decoded), bytes);
    for (char32_t c : decoded) {
      const bool escaped_byte = c >= 0xDC80 && c <= 0xDCFF;
      EXPECT_TRUE(c < 0x80 || c == U'年' || escaped_byte) << std::hex << static_cast<unsigned>(c);
    }
  }
  EXPECT_EQ(DecodeUtf8("\x95\x5c").size(), 2u);  // two unknown bytes, and 0x5C stays a backslash
  EXPECT_EQ(DecodeUtf8("\x95\x5c")[1], U'\\');
}

}  // namespace
}  // namespace tolvashu
