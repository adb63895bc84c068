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
  EXPECT_TRUE(IsOwnName(first));
  EXPECT_FALSE(IsTemporaryName("MAINDATA.DAT"));
  EXPECT_FALSE(IsTemporaryName(".~tolvashu-.tmp"));
  EXPECT_FALSE(IsTemporaryName(".hidden.tmp"));
}

// Only the names we generate are ours: a player's file that merely starts
// with the mark is the player's, never removed as a leftover nor hidden
// from the transfer.
TEST(TemporaryNameTest, OnlyTheGeneratedFormsAreOurs) {
  const std::string id = MakeOwnId();
  for (const std::string& own : {MakeTemporaryName(), MakeAsideName(), OwnName(kJournalForm, id),
                                 OwnName(kHoldForm, id), std::string(kLockName)}) {
    EXPECT_TRUE(IsOwnName(own)) << own;
  }
  for (const char* players : {".~tolvashu-my notes.tmp", ".~tolvashu-x.tmp", ".~tolvashu-0123456789ABCDEF.tmp",
                              ".~tolvashu-0123456789abcdef.tmp.bak", ".~tolvashu-journal-0123", ".~tolvashu-hold-",
                              ".~tolvashu-lock2", ".~tolvashu-notes"}) {
    EXPECT_FALSE(IsOwnName(players)) << players;
    EXPECT_FALSE(IsTemporaryName(players)) << players;
  }
  EXPECT_TRUE(IsTemporaryName(".~tolvashu-0123456789abcdef.tmp"));
}

}  // namespace
}  // namespace tolvashu
