// The current file's text side on the real disk: items read from a code page
// 932 file, lines written to one. Runs against the platform's own backend,
// natively and under Wine.
#include "files/file_ops.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/scratch_folder.h"

namespace tolvashu {
namespace {

using testing::ScratchFolder;

class FileOpsTextTest : public ::testing::Test {
 protected:
  std::string At(std::string_view name) const { return scratch_.path() + "\\" + std::string(name); }

  ScratchFolder scratch_;
  std::unique_ptr<FileOps> files_ = MakePlatformFileOps();
};

TEST_F(FileOpsTextTest, ItemsAreReadFromACodePage932File) {
  scratch_.WriteFile("年表リスト.dat",
                     "\x94\x4E\x95\x5C" "01.dat , \"\xB1\xB2\xB3, \x95\x5C.bmp\"\r\n"  // 年表01.dat , "ｱｲｳ, 表.bmp"
                     "\x85\x40x.txt\n"                                            // an unmapped pair, then x.txt
                     "\r\n");
  ASSERT_TRUE(files_->OpenForReading(At("年表リスト.dat")));
  EXPECT_EQ(files_->ReadItem(), "年表01.dat");
  EXPECT_EQ(files_->ReadItem(), "ｱｲｳ, 表.bmp");
  EXPECT_EQ(files_->ReadItem(), "\xEF\xBF\xBDx.txt");
  EXPECT_EQ(files_->AtEnd(), false);
  EXPECT_EQ(files_->ReadItem(), "");
  EXPECT_EQ(files_->AtEnd(), true);
  EXPECT_EQ(files_->ReadItem(), std::nullopt);
  EXPECT_TRUE(files_->CloseAll());
  EXPECT_EQ(files_->AtEnd(), std::nullopt);
}

TEST_F(FileOpsTextTest, AnEmptyFileIsAtItsEndAtOnce) {
  ASSERT_TRUE(files_->CreateEmpty(At("empty.dat")));
  ASSERT_TRUE(files_->OpenForReading(At("empty.dat")));
  EXPECT_EQ(files_->AtEnd(), true);
  EXPECT_EQ(files_->ReadItem(), std::nullopt);
  EXPECT_TRUE(files_->CloseAll());
}

TEST_F(FileOpsTextTest, ARefusedLineWritesNothingAndTheFileStaysOpen) {
  ASSERT_TRUE(files_->OpenForWriting(At("PathDATA.txt")));
  EXPECT_TRUE(files_->WriteLine("C:\\ｹﾞｰﾑ"));
  EXPECT_FALSE(files_->WriteLine("C:\\Café"));
  EXPECT_FALSE(files_->WriteLine("年表😀"));
  EXPECT_TRUE(files_->WriteLine(""));
  EXPECT_TRUE(files_->WriteLine("表"));
  ASSERT_TRUE(files_->CloseAll());
  EXPECT_EQ(scratch_.ReadFile("PathDATA.txt"), "C:\\\xB9\xDE\xB0\xD1\r\n\r\n\x95\x5C\r\n");
}

TEST_F(FileOpsTextTest, LinesAreWrittenOnlyToAFileOpenedForWriting) {
  EXPECT_FALSE(files_->WriteLine("a"));
  scratch_.WriteFile("in.txt", "x\r\n");
  ASSERT_TRUE(files_->OpenForReading(At("in.txt")));
  EXPECT_FALSE(files_->WriteLine("a"));
  EXPECT_TRUE(files_->CloseAll());
  EXPECT_EQ(scratch_.ReadFile("in.txt"), "x\r\n");
}

}  // namespace
}  // namespace tolvashu
