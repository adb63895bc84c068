#include "text/item_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tolvashu {
namespace {

// Every item of the text, checking on the way that the reader is at its end
// exactly when it has no item left to give.
std::vector<std::string> AllItems(const std::string& text) {
  ItemReader reader(text);
  std::vector<std::string> items;
  while (!reader.AtEnd()) {
    std::optional<std::string> item = reader.ReadItem();
    if (!item) {
      ADD_FAILURE() << "no item although not at the end";
      break;
    }
    items.push_back(*item);
  }
  EXPECT_EQ(reader.ReadItem(), std::nullopt);
  EXPECT_TRUE(reader.AtEnd());
  return items;
}

using Items = std::vector<std::string>;

TEST(ItemReaderTest, CommasAndEveryKindOfLineEndSeparateItems) {
  EXPECT_EQ(AllItems("a,b\r\nc"), (Items{"a", "b", "c"}));
  EXPECT_EQ(AllItems("a\nb\rc\r\n"), (Items{"a", "b", "c"}));
  EXPECT_EQ(AllItems("a\n\rb"), (Items{"a", "", "b"}));  // LF CR is two line ends
  EXPECT_EQ(AllItems("年表01.dat,表.txt\r\n"), (Items{"年表01.dat", "表.txt"}));
}

TEST(ItemReaderTest, BlanksAroundAnUnquotedItemAreDropped) {
  EXPECT_EQ(AllItems("x: one.jpg , y: two.gif"), (Items{"x: one.jpg", "y: two.gif"}));
  EXPECT_EQ(AllItems(" \t a b \t\r\n\tc\t"), (Items{"a b", "c"}));
  // Only blanks and tabs: an ideographic space is part of the name.
  EXPECT_EQ(AllItems("\xE3\x80\x80" "a\xE3\x80\x80"), (Items{"\xE3\x80\x80" "a\xE3\x80\x80"}));
}

TEST(ItemReaderTest, AQuotedItemKeepsCommasLineEndsAndBlanks) {
  EXPECT_EQ(AllItems("\"a, b\",c"), (Items{"a, b", "c"}));
  EXPECT_EQ(AllItems("  \" a\r\nb \"\r\nc"), (Items{" a\r\nb ", "c"}));
  EXPECT_EQ(AllItems("\"\",\"\""), (Items{"", ""}));
}

TEST(ItemReaderTest, TextAfterTheClosingQuoteIsDroppedUpToTheSeparator) {
  EXPECT_EQ(AllItems("\"ab\"cd,ef"), (Items{"ab", "ef"}));
  EXPECT_EQ(AllItems("\"ab\" \"cd\"\r\nef"), (Items{"ab", "ef"}));
  EXPECT_EQ(AllItems("\"ab\"cd"), (Items{"ab"}));
}

TEST(ItemReaderTest, AnUnterminatedQuoteRunsToTheEnd) {
  EXPECT_EQ(AllItems("a,\"b,c\r\nd"), (Items{"a", "b,c\r\nd"}));
  EXPECT_EQ(AllItems("\""), (Items{""}));
}

TEST(ItemReaderTest, AQuoteInsideAnUnquotedItemIsAnOrdinaryCharacter) {
  EXPECT_EQ(AllItems("ab\"c,d\"e"), (Items{"ab\"c", "d\"e"}));
}

TEST(ItemReaderTest, EmptyLinesAndEmptyFieldsGiveEmptyItems) {
  EXPECT_EQ(AllItems("a\r\n\r\nb"), (Items{"a", "", "b"}));
  EXPECT_EQ(AllItems(",a,,\r\n"), (Items{"", "a", "", ""}));
  EXPECT_EQ(AllItems("a\r\n  \r\n"), (Items{"a", ""}));
}

TEST(ItemReaderTest, ANulCharacterIsPartOfTheItem) {
  EXPECT_EQ(AllItems(std::string("a\0b,c", 5)), (Items{std::string("a\0b", 3), "c"}));
}

TEST(ItemReaderTest, TheEndComesOnceTheLastItemAndItsLineEndAreRead) {
  EXPECT_TRUE(ItemReader("").AtEnd());
  EXPECT_EQ(ItemReader("").ReadItem(), std::nullopt);

  ItemReader one_line("a\r\n");
  EXPECT_FALSE(one_line.AtEnd());
  EXPECT_EQ(one_line.ReadItem(), "a");
  EXPECT_TRUE(one_line.AtEnd());

  ItemReader blank_line_after("a\r\n\r\n");
  EXPECT_EQ(blank_line_after.ReadItem(), "a");
  EXPECT_FALSE(blank_line_after.AtEnd());
  EXPECT_EQ(blank_line_after.ReadItem(), "");
  EXPECT_TRUE(blank_line_after.AtEnd());
  EXPECT_EQ(blank_line_after.ReadItem(), std::nullopt);

  ItemReader no_line_end("a,b");
  EXPECT_EQ(no_line_end.ReadItem(), "a");
  EXPECT_FALSE(no_line_end.AtEnd());
  EXPECT_EQ(no_line_end.ReadItem(), "b");
  EXPECT_TRUE(no_line_end.AtEnd());
}

// Not a timing test: a text this size would take minutes if each item copied
// or erased the rest of the text.
TEST(ItemReaderTest, ReadsAManifestOfManyMegabytes) {
  std::string text;
  for (int i = 0; i < 400000; ++i) text += "  \"年表,01.dat\" , x" + std::to_string(i) + "\r\n";
  ItemReader reader(text);
  int count = 0;
  std::string last;
  while (!reader.AtEnd()) {
    last = reader.ReadItem().value_or("?");
    ++count;
  }
  EXPECT_EQ(count, 800000);
  EXPECT_EQ(last, "x399999");
}

}  // namespace
}  // namespace tolvashu
