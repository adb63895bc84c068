#include "app/transfer_report_text.h"

#include <gtest/gtest.h>

#include "app/app_texts.h"

namespace tolvashu::testing {
namespace {

std::vector<FileFailure> Failures(const std::string& folder, int count) {
  std::vector<FileFailure> failures;
  for (int i = 1; i <= count; ++i) failures.push_back({folder + "file" + std::to_string(i) + ".dat", "denied"});
  return failures;
}

TEST(TransferReportTextTest, NamesInsideTheGameFolderAreShownRelativeToIt) {
  std::vector<FileFailure> failures = {{"D:\\G\\MAINDATA.DAT", "denied"},
                                       {"D:\\G\\Backup\\nationDATA\\a.dat", "denied"},
                                       {"E:\\Package\\kosei00.dat", "unreadable"}};
  EXPECT_EQ(TransferReportText(failures, "D:\\G\\"),
            "次のファイルを書き込めませんでした。\r"
            "MAINDATA.DAT\rBackup\\nationDATA\\a.dat\rE:\\Package\\kosei00.dat\r"
            "Tolvashuを終了してから、もう一度実行して下さい。");
}

TEST(TransferReportTextTest, AtMostTenNamesThenTheCountOfTheRest) {
  std::string ten = TransferReportText(Failures("D:\\G\\", 10), "D:\\G\\");
  EXPECT_NE(ten.find("\rfile10.dat\r" + std::string(texts::kReportTail)), std::string::npos);
  EXPECT_EQ(ten.find("ほか"), std::string::npos);

  std::string twelve = TransferReportText(Failures("D:\\G\\", 12), "D:\\G\\");
  EXPECT_NE(twelve.find("\rfile10.dat\rほか 2 件\r" + std::string(texts::kReportTail)), std::string::npos);
  EXPECT_EQ(twelve.find("file11.dat"), std::string::npos);
}

}  // namespace
}  // namespace tolvashu::testing
