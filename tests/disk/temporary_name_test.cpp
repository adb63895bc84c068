#include "disk/temporary_name.h"

#include <gtest/gtest.h>

namespace tolvashu {
namespace {

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
