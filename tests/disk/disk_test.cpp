// What the file layer relies on from a disk, checked on the platform's own:
// natively the POSIX disk, under Wine the Win32 one. A disk only does what
// it is told; these are the promises of disk.h that the rules above it build
// on, above all that nothing ever replaces what has a name.
#include "disk/disk.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "disk/temporary_name.h"
#include "support/scratch_folder.h"

namespace tolvashu {
namespace {

using testing::ScratchFolder;
using Names = std::vector<std::string>;

class DiskTest : public ::testing::Test {
 protected:
  std::string At(std::string_view relative) const {
    std::string path = scratch_.path() + "\\";
    for (char c : relative) path += c == '/' ? '\\' : c;
    return path;
  }
  Names Listed(const std::string& folder) {
    Names names;
    Result<std::vector<tolvashu::Listed>> listed = disk_->List(folder, nullptr);
    EXPECT_TRUE(listed.ok());
    if (listed.ok()) {
      for (const tolvashu::Listed& entry : *listed) names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  std::unique_ptr<StagedFile> Stage(const std::string& source, const std::string& destination) {
    Result<std::unique_ptr<StagedFile>, StageError> staged = disk_->StageCopy(source, destination, nullptr);
    EXPECT_TRUE(staged.ok());
    return staged.ok() ? std::move(*staged) : nullptr;
  }

  ScratchFolder scratch_;
  std::unique_ptr<Disk> disk_ = MakePlatformDisk();
};

TEST_F(DiskTest, ALookTellsWhatIsThereAndTheNameAsTheFolderHoldsIt) {
  scratch_.WriteFile("MainData.DAT", "12345");
  scratch_.WriteFile("locked.dat", "x");
  scratch_.SetReadOnly("locked.dat", true);
  scratch_.MakeFolder("sub");

  Result<Entry> held = disk_->Look(At("MAINDATA.dat"), Spelling::kAsHeld);
  ASSERT_TRUE(held.ok());
  EXPECT_EQ(held->kind, EntryKind::kFile);
  EXPECT_EQ(held->name, "MainData.DAT");
  EXPECT_EQ(held->size, 5u);
  Result<Entry> asked = disk_->Look(At("MAINDATA.dat"), Spelling::kAsAsked);
  ASSERT_TRUE(asked.ok());
  EXPECT_EQ(asked->kind, EntryKind::kFile);
  EXPECT_EQ(asked->name, "MAINDATA.dat");
  EXPECT_TRUE(disk_->Look(At("locked.dat"), Spelling::kAsAsked)->read_only);
  EXPECT_EQ(disk_->Look(At("SUB"), Spelling::kAsAsked)->kind, EntryKind::kFolder);
  EXPECT_EQ(disk_->Look(At("none.dat"), Spelling::kAsHeld)->kind, EntryKind::kNone);
  EXPECT_EQ(disk_->Look(At("none/x.dat"), Spelling::kAsHeld)->kind, EntryKind::kNoFolder);
  EXPECT_EQ(disk_->FolderIdentity(At("sub")).ok(), true);
  EXPECT_EQ(*disk_->FolderIdentity(At("sub")), *disk_->FolderIdentity(At("SUB\\")));
  EXPECT_EQ(disk_->FolderIdentity(At("MainData.DAT")).error().kind, DiskError::kAbsent);
}

// The content waits under no name of the folder's; kept, it takes the
// destination's name, never one that a file has.
TEST_F(DiskTest, AStagedCopyTakesItsNameOnlyWhenKeptAndNeverReplaces) {
  scratch_.WriteFile("source.dat", "new");
  scratch_.WriteFile("Target.dat", "old");

  std::unique_ptr<StagedFile> onto_old = Stage(At("source.dat"), At("TARGET.DAT"));
  ASSERT_TRUE(onto_old);
  EXPECT_EQ(onto_old->destination().kind, EntryKind::kFile);
  EXPECT_EQ(onto_old->destination().name, "Target.dat");
  EXPECT_EQ(Listed(At("")), (Names{"Target.dat", "source.dat"}));
  Result<void> kept = onto_old->Keep();
  ASSERT_FALSE(kept.ok());
  EXPECT_EQ(kept.error().kind, DiskError::kTaken);
  EXPECT_EQ(scratch_.ReadFile("Target.dat"), "old");
  onto_old.reset();  // discarded: nothing of it stays

  std::unique_ptr<StagedFile> fresh = Stage(At("source.dat"), At("fresh.dat"));
  ASSERT_TRUE(fresh);
  EXPECT_EQ(fresh->destination().kind, EntryKind::kNone);
  ASSERT_TRUE(fresh->Keep().ok());
  EXPECT_EQ(scratch_.ReadFile("fresh.dat"), "new");
  // A file looked at just before it got its name is gone when removed.
  EXPECT_TRUE(disk_->RemoveFile(At("fresh.dat")).ok());
  EXPECT_FALSE(scratch_.Exists("fresh.dat"));

  { std::unique_ptr<StagedFile> dropped = Stage(At("source.dat"), At("dropped.dat")); }
  EXPECT_EQ(scratch_.List(), (Names{"Target.dat", "source.dat"}));
}

TEST_F(DiskTest, AStagingFailureSaysWhetherTheSourceOrTheDestinationFailed) {
  scratch_.WriteFile("source.dat", "x");
  scratch_.MakeFolder("folder");
  struct Case {
    const char* source;
    const char* destination;
    bool at_source;
    DiskError::Kind kind;
  } cases[] = {
      {"missing.dat", "copy.dat", true, DiskError::kAbsent},
      {"gone/missing.dat", "copy.dat", true, DiskError::kAbsent},
      {"folder", "copy.dat", true, DiskError::kWrongKind},
      {"source.dat", "missing/copy.dat", false, DiskError::kNoFolder},
  };
  for (const Case& c : cases) {
    Result<std::unique_ptr<StagedFile>, StageError> staged = disk_->StageCopy(At(c.source), At(c.destination), nullptr);
    ASSERT_FALSE(staged.ok()) << c.source << " -> " << c.destination;
    EXPECT_EQ(staged.error().at_source, c.at_source) << c.source << " -> " << c.destination;
    EXPECT_EQ(staged.error().error.kind, c.kind) << c.source << " -> " << c.destination;
  }
  EXPECT_EQ(scratch_.List(), (Names{"folder", "source.dat"}));
}

TEST_F(DiskTest, ARenameNeverReplacesAndKeepsTheContent) {
  scratch_.WriteFile("a.dat", "a");
  scratch_.WriteFile("b.dat", "b");
  scratch_.MakeFolder("hold");

  Result<void> onto = disk_->Rename(At("a.dat"), At("b.dat"));
  ASSERT_FALSE(onto.ok());
  EXPECT_EQ(onto.error().kind, DiskError::kTaken);
  EXPECT_EQ(disk_->Rename(At("none.dat"), At("c.dat")).error().kind, DiskError::kAbsent);
  EXPECT_EQ(disk_->Rename(At("a.dat"), At("none/a.dat")).error().kind, DiskError::kNoFolder);
  ASSERT_TRUE(disk_->Rename(At("a.dat"), At("hold/a.dat")).ok());
  EXPECT_EQ(scratch_.ReadFile("hold/a.dat"), "a");
  EXPECT_EQ(scratch_.ReadFile("b.dat"), "b");
  EXPECT_EQ(scratch_.List(), (Names{"b.dat", "hold"}));
}

// What is a file's to refuse (read-only) is the file layer's to decide: the
// disk removes what it is told to, and says when there was nothing.
TEST_F(DiskTest, RemovalTakesWhatItIsToldWhateverItsAttributes) {
  scratch_.MakeFolder("own");
  for (const char* name : {"own/a.dat", "own/b.dat", "own/c.dat"}) scratch_.WriteFile(name, "x");
  scratch_.SetReadOnly("own/b.dat", true);

  EXPECT_TRUE(disk_->RemoveFiles(At("own"), {"a.dat", "b.dat", "gone.dat"}).ok());
  EXPECT_EQ(scratch_.List("own"), Names{"c.dat"});
  EXPECT_EQ(disk_->RemoveFile(At("own/a.dat")).error().kind, DiskError::kAbsent);
  EXPECT_EQ(disk_->RemoveFile(At("own")).error().kind, DiskError::kWrongKind);
  EXPECT_FALSE(disk_->RemoveFolder(At("own")).ok());  // not empty
  ASSERT_TRUE(disk_->RemoveFile(At("own/C.DAT")).ok());
  ASSERT_TRUE(disk_->RemoveFolder(At("own")).ok());
  EXPECT_EQ(disk_->RemoveFolder(At("own")).error().kind, DiskError::kAbsent);
}

TEST_F(DiskTest, AListingLeavesOutTheTemporaryFilesOfCopiesOnly) {
  const std::string temporary = MakeTemporaryName();
  scratch_.WriteFile(temporary, "half");
  scratch_.WriteFile(".~tolvashu-journal-0123456789abcdef", "journal");
  scratch_.WriteFile("a.dat", "a");
  scratch_.MakeFolder("sub");

  EXPECT_EQ(Listed(At("")), (Names{".~tolvashu-journal-0123456789abcdef", "a.dat", "sub"}));
  Result<std::vector<tolvashu::Listed>> folders =
      disk_->List(At(""), [](std::string_view name, bool) { return name == "sub"; });
  ASSERT_TRUE(folders.ok());
  ASSERT_EQ(folders->size(), 1u);
  EXPECT_EQ((*folders)[0].kind, EntryKind::kFolder);
  EXPECT_EQ(disk_->List(At("none"), nullptr).error().kind, DiskError::kAbsent);
  scratch_.WriteFile("later.dat", "b");  // seen by the next listing
  EXPECT_EQ(Listed(At("")), (Names{".~tolvashu-journal-0123456789abcdef", "a.dat", "later.dat", "sub"}));
}

TEST_F(DiskTest, AFolderIsMadeOnlyWhereNothingHasTheNameAndItsParentIsThere) {
  scratch_.WriteFile("taken", "x");
  EXPECT_TRUE(disk_->MakeFolder(At("new"), Visibility::kShown).ok());
  EXPECT_EQ(disk_->MakeFolder(At("taken"), Visibility::kShown).error().kind, DiskError::kTaken);
  EXPECT_EQ(disk_->MakeFolder(At("none/new"), Visibility::kShown).error().kind, DiskError::kNoFolder);
  EXPECT_TRUE(disk_->MakeFolder(At(".~tolvashu-hold-0123456789abcdef"), Visibility::kHidden).ok());
  EXPECT_TRUE(disk_->Look(At(".~tolvashu-hold-0123456789abcdef"), Spelling::kAsAsked)->hidden);
  EXPECT_EQ(scratch_.List(), (Names{".~tolvashu-hold-0123456789abcdef", "new", "taken"}));
}

}  // namespace
}  // namespace tolvashu
