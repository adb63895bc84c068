// One set of code page 932 vectors for both builds: the native build checks
// them against iconv, the Windows build (under Wine) against code page 932.
#include "text/text_codec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace tolvashu {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD

struct Vector {
  std::string bytes;  // code page 932
  std::string text;   // UTF-8
};

// Characters that code page 932 holds, spelled out byte for byte.
const Vector kVectors[] = {
    {"\x95\x5C", "表"},  // the trail byte is a backslash byte
    {"\x94\x4E\x95\x5C", "年表"},
    {"\xB1\xB2\xB3", "ｱｲｳ"},  // half-width katakana are single bytes
    {"\xA1\xDF", "｡ﾟ"},       // the first and last of them
    {"\x81\x60", "～"},       // U+FF5E, not the wave dash U+301C
    {"\x81\x5F", "＼"},       // U+FF3C
    {"\x5C\x7E", "\\~"},      // ASCII stays ASCII: no yen sign, no overline
    {"C:\\\x83\x51\x81\x5B\x83\x80\\\x94\x4E\x95\x5C\\\x95\x5C" "01.dat", "C:\\ゲーム\\年表\\表01.dat"},
    {"\x87\x90", "≒"},           // an NEC row 13 duplicate decodes like 0x81E0...
    {"\xED\x40", "纊"},           // ...and an NEC-selected IBM character like 0xFA5C
    {"\xF0\x40", "\xEE\x80\x80"},  // a user-defined character: U+E000
    {std::string("a\0b", 3), std::string("a\0b", 3)},
    {"", ""},
};

TEST(TextCodecTest, DecodesTheVectors) {
  for (const Vector& v : kVectors) EXPECT_EQ(DecodeCp932(v.bytes), v.text) << v.text;
}

TEST(TextCodecTest, EveryAsciiByteIsItself) {
  std::string ascii;
  for (int b = 0; b < 0x80; ++b) ascii += static_cast<char>(b);
  EXPECT_EQ(DecodeCp932(ascii), ascii);
  EXPECT_EQ(EncodeCp932(ascii), ascii);
}

TEST(TextCodecTest, EncodingRoundTripsTheVectors) {
  for (const Vector& v : kVectors) {
    std::optional<std::string> bytes = EncodeCp932(v.text);
    ASSERT_TRUE(bytes) << v.text;
    EXPECT_EQ(DecodeCp932(*bytes), v.text);
  }
  // Characters held twice encode to the code a Japanese Windows writes.
  EXPECT_EQ(EncodeCp932("≒"), "\x81\xE0");
  EXPECT_EQ(EncodeCp932("纊"), "\xFA\x5C");
  EXPECT_EQ(EncodeCp932("C:\\ゲーム\\年表\\表01.dat"), "C:\\\x83\x51\x81\x5B\x83\x80\\\x94\x4E\x95\x5C\\\x95\x5C" "01.dat");
}

TEST(TextCodecTest, InvalidBytesBecomeOneReplacementEachAndSpareTheNextCharacter) {
  const Vector cases[] = {
      {"a\x95", "a" + kReplacement},                      // lead byte at the end
      {"\x95" "1", kReplacement + "1"},                   // '1' is no trail byte ('a' would be)
      {"\x95\r\n", kReplacement + "\r\n"},               // nor is a line end
      {"\x95\x7F" "b", kReplacement + "\x7F" "b"},        // neither is DEL
      {"\x95\x20\x95\x5C", kReplacement + " 表"},
      {"\x95\x95\x5C", "封\\"},                           // 0x95 0x95 is a pair, then '\'
      {"\x80" "a", kReplacement + "a"},
      {"\xA0" "a", kReplacement + "a"},
      {"\xFD\xFE\xFF" "a", kReplacement + kReplacement + kReplacement + "a"},
      {"\xFF\x95\x5C", kReplacement + "表"},
  };
  for (const Vector& c : cases) EXPECT_EQ(DecodeCp932(c.bytes), c.text);
}

TEST(TextCodecTest, AWellFormedPairWithoutAMappingBecomesOneReplacement) {
  EXPECT_EQ(DecodeCp932("\x85\x40"), kReplacement);
  EXPECT_EQ(DecodeCp932("\x95\x5C\xEB\x40" "a\xFC\xFC"), "表" + kReplacement + "a" + kReplacement);
}

// The converter works in long runs; a character it refuses must cost only
// that character, wherever it falls in the run.
TEST(TextCodecTest, AnUnmappedPairInsideALongRunLeavesItsNeighboursIntact) {
  std::string bytes;
  std::string text;
  for (int i = 0; i < 30000; ++i) {
    bytes += "x\x94\x4E\x95\x5C,";
    text += "x年表,";
    if (i % 7001 == 0) {
      bytes += "\x85\x40";
      text += kReplacement;
    }
  }
  EXPECT_EQ(DecodeCp932(bytes), text);
}

TEST(TextCodecTest, PairsAcrossTheConverterRunsStayWhole) {
  for (std::string lead : {"", "a", "ab"}) {
    std::string bytes = lead;
    std::string text = lead;
    for (int i = 0; i < 100000; ++i) {
      bytes += "\x94\x4E\xB1";
      text += "年ｱ";
    }
    EXPECT_EQ(DecodeCp932(bytes), text) << "offset " << lead.size();
  }
}

TEST(TextCodecTest, CharactersOutsideTheCodePageCannotBeEncoded) {
  for (std::string text : {"한", "😀", "é", "a¥b", "—", "〜", "\xEF\xBF\xBD", "年表한"}) {
    EXPECT_EQ(EncodeCp932(text), std::nullopt) << text;
  }
}

TEST(TextCodecTest, InvalidUtf8CannotBeEncoded) {
  for (std::string text : {"\xC3", "a\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                           "\xF8\x88\x80\x80\x80", "\xE5\xB9"}) {
    EXPECT_EQ(EncodeCp932(text), std::nullopt);
  }
}

std::string TwoByteCharacter(int lead, int trail) {
  return {static_cast<char>(lead), static_cast<char>(trail)};
}

// Decodes every lead/trail pair; both builds must see the same table.
std::string EveryPair() {
  std::string bytes;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead >= 0xA0 && lead <= 0xDF) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail != 0x7F) bytes += TwoByteCharacter(lead, trail);
    }
  }
  return bytes;
}

std::uint64_t Fnv1a(const std::string& text) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (unsigned char c : text) hash = (hash ^ c) * 0x100000001b3u;
  return hash;
}

TEST(TextCodecTest, BothBuildsSeeTheSameTableOfPairs) {
  std::string text = DecodeCp932(EveryPair());
  std::size_t unmapped = 0;
  for (std::size_t pos = text.find(kReplacement); pos != std::string::npos; pos = text.find(kReplacement, pos + 1)) {
    ++unmapped;
  }
  // Taken from the native build and confirmed identical under Wine.
  EXPECT_EQ(unmapped, 1676u);
  EXPECT_EQ(Fnv1a(text), 16132506866208272827u);
}

TEST(TextCodecTest, EveryDecodedPairEncodesToACodeOfTheSameCharacter) {
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead >= 0xA0 && lead <= 0xDF) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      std::string text = DecodeCp932(TwoByteCharacter(lead, trail));
      if (text == kReplacement) continue;
      std::optional<std::string> bytes = EncodeCp932(text);
      ASSERT_TRUE(bytes) << std::hex << lead << trail;
      EXPECT_EQ(DecodeCp932(*bytes), text) << std::hex << lead << trail;
    }
  }
}

}  // namespace
}  // namespace tolvashu
