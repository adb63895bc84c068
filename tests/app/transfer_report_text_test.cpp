#include "app/transfer_report_text.h"

#include <gtest/gtest.h>

#include "app/app_texts.h"

namespace tolvashu::testing {
namespace {

std::vector<FileFailure> Failures(const std::string& folder, int count) {
  std::vector<FileFailure> failures;
  for (int i = 1; i <= count; ++i) {
    failures.push_back({folder + "file" + std::to_string(i) + ".dat", FailureCause::kInUse, "in use"});
  }
  return failures;
}

TEST(TransferReportTextTest, NamesInsideTheGameFolderAreShownRelativeToItThenAdviceForEachCauseInOrder) {
  std::vector<FileFailure> failures = {{"D:\\G\\MAINDATA.DAT", FailureCause::kOther, "?"},
                                       {"D:\\G\\Backup\\nationDATA\\", FailureCause::kUnreadable, "?"},
                                       {"E:\\Package\\kosei00.dat", FailureCause::kDiskFull, "?"},
                                       {"D:\\G\\Sison.dat", FailureCause::kInUse, "?"},
                                       {"D:\\G\\年表1.txt", FailureCause::kDenied, "?"},
                                       {"D:\\G\\年表2.txt", FailureCause::kDenied, "?"}};
  EXPECT_EQ(TransferReportText(texts::kReportHead, failures, "D:\\G\\"),
            "次のファイルを書き込めませんでした。\r"
            "MAINDATA.DAT\rBackup\\nationDATA\\\rE:\\Package\\kosei00.dat\rSison.dat\r年表1.txt\r年表2.txt\r"
            "Tolvashuを終了してから、もう一度実行して下さい。\r"
            "読み取り専用のファイルか、書き込みが許可されていないフォルダがあります。"
            "Program Filesの中にある場合は、管理者として実行して下さい。\r"
            "ディスクの空き容量が足りません。空きを増やしてから、もう一度実行して下さい。\r"
            "ファイルやフォルダが読み書きできるか確かめてから、もう一度実行して下さい。");
}

TEST(TransferReportTextTest, AtMostTenNamesThenTheCountOfTheRest) {
  std::string ten = TransferReportText(texts::kReportHead, Failures("D:\\G\\", 10), "D:\\G\\");
  EXPECT_NE(ten.find("\rfile10.dat\r" + std::string(texts::kAdviceInUse)), std::string::npos);
  EXPECT_EQ(ten.find("ほか"), std::string::npos);

  std::string twelve = TransferReportText(texts::kReportHead, Failures("D:\\G\\", 12), "D:\\G\\");
  EXPECT_NE(twelve.find("\rfile10.dat\rほか 2 件\r" + std::string(texts::kAdviceInUse)), std::string::npos);
  EXPECT_EQ(twelve.find("file11.dat"), std::string::npos);
}

}  // namespace
}  // namespace tolvashu::testing
