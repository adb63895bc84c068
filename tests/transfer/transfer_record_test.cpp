#include "transfer/transfer_record.h"

#include <gtest/gtest.h>

namespace tolvashu {
namespace {

TEST(TransferRecordMemo, LeavesOutARepeatOfTheSameSpellingOnly) {
  TransferRecord memo;
  EXPECT_FALSE(memo.AlreadyCopied("kosei01.dat"));
  memo.Copied("kosei01.dat", true);
  memo.Copied("back4.jpg", true);
  EXPECT_TRUE(memo.AlreadyCopied("kosei01.dat"));
  EXPECT_TRUE(memo.AlreadyCopied("back4.jpg"));
  EXPECT_FALSE(memo.AlreadyCopied("KOSEI01.DAT"));
}

TEST(TransferRecordMemo, ForgetsANameWhenAnotherSpellingOfItIsWritten) {
  TransferRecord memo;
  memo.Copied("back4.jpg", true);
  memo.Copied("BACK4.jpg", true);  // may be another source file, written over the same destination
  EXPECT_FALSE(memo.AlreadyCopied("back4.jpg"));
  EXPECT_TRUE(memo.AlreadyCopied("BACK4.jpg"));
  memo.Copied("Back4.JPG", false);
  EXPECT_FALSE(memo.AlreadyCopied("BACK4.jpg"));
}

TEST(TransferRecordMemo, RemembersNoFailedCopy) {
  TransferRecord memo;
  memo.Copied("a.dat", false);
  EXPECT_FALSE(memo.AlreadyCopied("a.dat"));
}

TEST(TransferRecordMemo, ForgetsWhatADeletionOrAnEmptiedFileMayHaveChanged) {
  TransferRecord memo;
  memo.Copied("kosei01.dat", true);
  memo.Copied("habatuzu.dat", true);
  memo.Changed("HABATUZU.DAT");
  EXPECT_FALSE(memo.AlreadyCopied("habatuzu.dat"));
  EXPECT_TRUE(memo.AlreadyCopied("kosei01.dat"));
  memo.Changed("kosei*.*");
  EXPECT_FALSE(memo.AlreadyCopied("kosei01.dat"));
}

TEST(TransferRecordMemo, NeverRemembersNamesThatOtherNamesCanReach) {
  for (const char* name : {"PERSON~1.DAT", "maps\\a.jpg", "maps/a.jpg", ".hidden.jpg", "a..jpg", "a.jpg.",
                           "年表1.txt", "a b.dat", "C:a.dat", ""}) {
    TransferRecord memo;
    memo.Copied(name, true);
    EXPECT_FALSE(memo.AlreadyCopied(name)) << name;
  }
}

TEST(TransferRecordMemo, ForgetsEverythingWhenANameItCannotJudgeIsWritten) {
  for (const char* name : {"PERSON~1.DAT", "sub\\kosei01.dat", "年表1.txt"}) {
    TransferRecord memo;
    memo.Copied("kosei01.dat", true);
    memo.Copied(name, true);
    EXPECT_FALSE(memo.AlreadyCopied("kosei01.dat")) << name;
  }
}

}  // namespace
}  // namespace tolvashu
