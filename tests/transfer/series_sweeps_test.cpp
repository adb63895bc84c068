#include "transfer/series_sweeps.h"

#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "transfer/data_set_catalogue.h"

namespace tolvashu::testing {
namespace {

using SeriesSweeps = EngineTest;

TEST_F(SeriesSweeps, KoseiStopsAtTheFirstGap) {
  Source("kosei00.dat");
  Source("kosei01.dat");
  Source("kosei03.dat");
  FolderTransfer transfer = Between();
  CopyKoseiSeries(transfer);
  EXPECT_TRUE(transfer.TakeFailures().empty());
  Commit();
  EXPECT_TRUE(GameHas("kosei00.dat"));
  EXPECT_TRUE(GameHas("kosei01.dat"));
  EXPECT_FALSE(GameHas("kosei03.dat"));
}

TEST_F(SeriesSweeps, KoseiStartsAtZero) {
  Source("kosei01.dat");
  FolderTransfer transfer = Between();
  CopyKoseiSeries(transfer);
  EXPECT_FALSE(GameHas("kosei01.dat"));
}

TEST_F(SeriesSweeps, KoseiCopiesAllHundredAndNeverTriesThreeDigits) {
  for (int n = 0; n <= 100; ++n) Source("kosei" + std::string(n < 10 ? "0" : "") + std::to_string(n) + ".dat");
  FolderTransfer transfer = Between();
  CopyKoseiSeries(transfer);
  Commit();
  EXPECT_TRUE(GameHas("kosei00.dat"));
  EXPECT_TRUE(GameHas("kosei42.dat"));
  EXPECT_TRUE(GameHas("kosei99.dat"));
  EXPECT_FALSE(GameHas("kosei100.dat"));
}

TEST_F(SeriesSweeps, KoseiLeavesOlderDestinationFilesBeyondTheSeries) {
  Source("kosei00.dat");
  Game("kosei05.dat");
  FolderTransfer transfer = Between();
  CopyKoseiSeries(transfer);
  Commit();
  EXPECT_EQ(GameFile("kosei00.dat"), "new");
  EXPECT_EQ(GameFile("kosei05.dat"), "old");
}

TEST_F(SeriesSweeps, NenpyoCopiesUpToTheGapAndNeverTen) {
  Source("年表1.txt");
  Source("年表2.txt");
  Source("年表4.txt");
  Source("年表10.txt");
  FolderTransfer transfer = Between();
  CopyNenpyoSeries(transfer);
  Commit();
  EXPECT_EQ(scratch_.List("game"), (std::vector<std::string>{"年表1.txt", "年表2.txt"}));
}

TEST_F(SeriesSweeps, AFailureThatIsNoGapIsReportedAndStopsTheTransfer) {
  for (int n = 1; n <= 3; ++n) Source(catalogue::NenpyoFileName(n));
  Game("年表2.txt", "kept");
  scratch_.SetReadOnly("game/年表2.txt", true);
  FolderTransfer transfer = Between();
  CopyNenpyoSeries(transfer);
  EXPECT_EQ(GameFile("年表2.txt"), "kept");
  EXPECT_FALSE(GameHas("年表3.txt"));
  EXPECT_EQ(FailedPaths(transfer.TakeFailures()), std::vector<std::string>{destination() + "年表2.txt"});
}

TEST(SeriesNames, AreBuiltFromTheLastDigits) {
  EXPECT_EQ(catalogue::KoseiFileName(0), "kosei00.dat");
  EXPECT_EQ(catalogue::KoseiFileName(7), "kosei07.dat");
  EXPECT_EQ(catalogue::KoseiFileName(42), "kosei42.dat");
  EXPECT_EQ(catalogue::NenpyoFileName(9), "年表9.txt");
}

}  // namespace
}  // namespace tolvashu::testing
