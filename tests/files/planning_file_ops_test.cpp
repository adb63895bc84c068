// The planning layer answers later reads as if its planned changes had been
// made, and leaves the disk as it was.
#include "files/planning_file_ops.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/scratch_folder.h"

namespace tolvashu {
namespace {

using testing::ScratchFolder;
using Names = std::vector<std::string>;

TEST(PlanningFileOps, LaterReadsSeeThePlannedChangesAndTheDiskDoesNot) {
  ScratchFolder scratch;
  scratch.WriteFile("a.dat", "aaa");
  scratch.WriteFile("b.txt", "bb");
  std::unique_ptr<FileOps> real = MakePlatformFileOps();
  PlanningFileOps plan(*real);
  const std::string at = scratch.path() + "\\";

  EXPECT_EQ(plan.DeleteMatching(at + "*.DAT").deleted, 1);
  EXPECT_EQ(plan.HasFile(at + "a.dat"), false);
  EXPECT_EQ(plan.CopyFile(at + "a.dat", at + "c.txt").outcome, CopyOutcome::kSourceMissing);
  EXPECT_TRUE(plan.CopyFile(at + "B.TXT", at + "new.dat").ok());
  EXPECT_EQ(plan.ListFiles(at + "*.dat").names, Names{"new.dat"});
  EXPECT_TRUE(plan.MakeFolder(at + "sub"));
  EXPECT_FALSE(plan.MakeFolder(at + "SUB"));
  EXPECT_TRUE(plan.CopyFile(at + "new.dat", at + "sub\\copy.txt").ok());
  EXPECT_EQ(plan.CopyFile(at + "b.txt", at + "missing\\x.txt").outcome, CopyOutcome::kFailed);
  ASSERT_TRUE(plan.OpenForReading(at + "sub/copy.txt"));
  EXPECT_EQ(plan.ReadItem(), "bb");
  plan.CloseAll();
  EXPECT_TRUE(plan.CreateEmpty(at + "b.txt"));
  EXPECT_TRUE(plan.CopyFile(at + "b.txt", at + "new.dat").ok());

  std::vector<std::pair<ChangeKind, std::uint64_t>> kinds;
  for (const PlannedChange& change : plan.changes()) kinds.emplace_back(change.kind, change.bytes);
  EXPECT_EQ(kinds, (std::vector<std::pair<ChangeKind, std::uint64_t>>{{ChangeKind::kDelete, 0},
                                                                       {ChangeKind::kCopy, 2},
                                                                       {ChangeKind::kMakeFolder, 0},
                                                                       {ChangeKind::kCopy, 2},
                                                                       {ChangeKind::kEmpty, 0},
                                                                       {ChangeKind::kCopy, 0}}));
  EXPECT_TRUE(plan.changes().back().replaces);
  EXPECT_EQ(scratch.List(), (Names{"a.dat", "b.txt"}));
  EXPECT_EQ(scratch.ReadFile("b.txt"), "bb");
}

}  // namespace
}  // namespace tolvashu
