// The dry run's overlay answers later reads as if its changes had been made,
// sees what the real disk holds (read-only files too), leaves the disk as it
// was, and tells the net change of each path once.
#include "disk/overlay_disk.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "files/file_ops.h"
#include "support/scratch_folder.h"

namespace tolvashu {
namespace {

using testing::ScratchFolder;
using Names = std::vector<std::string>;
using Kinds = std::vector<std::pair<ChangeKind, std::uint64_t>>;

Kinds KindsOf(const std::vector<PlannedChange>& changes) {
  Kinds kinds;
  for (const PlannedChange& change : changes) kinds.emplace_back(change.kind, change.bytes);
  return kinds;
}

TEST(OverlayDisk, LaterReadsSeeTheChangesAndTheDiskDoesNot) {
  ScratchFolder scratch;
  scratch.WriteFile("a.dat", "aaa");
  scratch.WriteFile("b.txt", "bb");
  scratch.WriteFile("locked.dat", "kept");
  scratch.SetReadOnly("locked.dat", true);
  std::unique_ptr<Disk> real = MakePlatformDisk();
  OverlayDisk overlay(*real);
  FileOps plan(overlay);
  const std::string at = scratch.path() + "\\";

  DeleteResult deleted = plan.DeleteMatching(at + "*.DAT");
  EXPECT_EQ(deleted.deleted, 1);
  ASSERT_EQ(deleted.failures.size(), 1u);  // the read-only file, as the real run would find it
  EXPECT_EQ(deleted.failures[0].path, at + "locked.dat");
  EXPECT_EQ(plan.HasFile(at + "a.dat"), false);
  EXPECT_EQ(plan.CopyFile(at + "a.dat", at + "c.txt").outcome, CopyOutcome::kSourceMissing);
  EXPECT_TRUE(plan.CopyFile(at + "B.TXT", at + "new.dat").ok());
  EXPECT_EQ(plan.ListFiles(at + "*.dat").names, (Names{"locked.dat", "new.dat"}));
  EXPECT_TRUE(plan.MakeFolder(at + "sub"));
  EXPECT_FALSE(plan.MakeFolder(at + "SUB"));
  EXPECT_TRUE(plan.CopyFile(at + "new.dat", at + "sub\\copy.txt").ok());
  EXPECT_EQ(plan.CopyFile(at + "b.txt", at + "missing\\x.txt").outcome, CopyOutcome::kFailed);
  ASSERT_TRUE(plan.OpenForReading(at + "sub/copy.txt"));
  EXPECT_EQ(plan.ReadItem(), "bb");
  plan.CloseAll();
  EXPECT_TRUE(plan.CreateEmpty(at + "b.txt"));
  EXPECT_TRUE(plan.CopyFile(at + "b.txt", at + "new.dat").ok());
  EXPECT_EQ(plan.CopyFile(at + "b.txt", at + "LOCKED.DAT").reason, "read-only");

  // new.dat was first made, so it comes before the folder; it ends as a copy
  // of the emptied b.txt. The copy of new.dat in sub took the content it
  // had then: b.txt's, as it is on the disk.
  std::vector<PlannedChange> changes = overlay.Changes();
  EXPECT_EQ(KindsOf(changes), (Kinds{{ChangeKind::kDelete, 0},
                                     {ChangeKind::kEmpty, 0},
                                     {ChangeKind::kMakeFolder, 0},
                                     {ChangeKind::kCopy, 2},
                                     {ChangeKind::kEmpty, 0}}));
  ASSERT_EQ(changes.size(), 5u);
  EXPECT_EQ(changes[3].source, at + "B.TXT");
  EXPECT_FALSE(changes[3].replaces);
  EXPECT_EQ(scratch.List(), (Names{"a.dat", "b.txt", "locked.dat"}));
  EXPECT_EQ(scratch.ReadFile("b.txt"), "bb");
}

// A transaction moves files aside into holding folders of its own, and puts
// them back or removes them at its end: none of that is a change to tell.
TEST(OverlayDisk, AFileMovedAwayAndBackIsNoChangeAndOurOwnNamesAreNeverTold) {
  ScratchFolder scratch;
  scratch.WriteFile("keep.dat", "keep");
  scratch.WriteFile("old.dat", "old");
  std::unique_ptr<Disk> real = MakePlatformDisk();
  OverlayDisk overlay(*real);
  FileOps plan(overlay);
  const std::string at = scratch.path() + "\\";
  const std::string hold = at + ".~tolvashu-hold-0123456789abcdef\\";

  ASSERT_FALSE(plan.MakeHiddenFolder(hold));
  ASSERT_TRUE(plan.MoveIntoFolder(at + "KEEP.DAT", hold).moved);
  ASSERT_TRUE(plan.MoveIntoFolder(at + "old.dat", hold).moved);
  EXPECT_EQ(plan.ListFiles(at + "*.dat").names, Names{});
  Opened<OutputFile> journal = plan.CreateHiddenFile(at + ".~tolvashu-journal-0123456789abcdef");
  ASSERT_TRUE(journal.file);
  EXPECT_TRUE(journal.file->Write("a record\n"));
  ASSERT_TRUE(plan.MoveIntoFolder(hold + "keep.dat", at).moved);
  EXPECT_FALSE(plan.RemoveOwnFolder(hold));
  EXPECT_FALSE(plan.RemoveFile(at + ".~tolvashu-journal-0123456789abcdef"));

  std::vector<PlannedChange> changes = overlay.Changes();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].kind, ChangeKind::kDelete);
  EXPECT_EQ(changes[0].path, at + "old.dat");
  EXPECT_EQ(plan.ListFiles(at + "*.*").names, Names{"keep.dat"});
  EXPECT_EQ(scratch.List(), (Names{"keep.dat", "old.dat"}));
}

}  // namespace
}  // namespace tolvashu
