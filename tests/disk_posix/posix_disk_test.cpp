// What the file layer does with the parts of a POSIX disk that Windows does
// not have: links, permission bits, pipes, names that are not UTF-8, names
// that differ only in case, and a disk that fills up during a copy.
#include <errno.h>
#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "disk_posix/durability.h"
#include "files/file_ops.h"
#include "support/scratch_folder.h"

namespace tolvashu {
namespace {

using testing::ScratchFolder;
using Names = std::vector<std::string>;

class PosixFileOpsTest : public ::testing::Test {
 protected:
  std::string At(std::string_view relative) const { return scratch_.Join(relative); }

  Names Enumerate(const std::string& pattern) {
    Names names;
    for (auto name = files_->FirstEntry(pattern); name && !name->empty() && names.size() < 10000;
         name = files_->NextEntry()) {
      names.push_back(*name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  mode_t Mode(std::string_view relative) const {
    struct stat status {};
    stat(At(relative).c_str(), &status);
    return status.st_mode & 07777;
  }

  ScratchFolder scratch_;
  std::unique_ptr<FileOps> files_ = MakePlatformFileOps();
};

TEST_F(PosixFileOpsTest, LinksCountAsWhatTheyLeadTo) {
  scratch_.WriteFile("real.dat", "real");
  scratch_.MakeFolder("folder");
  ASSERT_EQ(symlink("real.dat", At("link.dat").c_str()), 0);
  ASSERT_EQ(symlink("folder", At("folderlink.dat").c_str()), 0);
  ASSERT_EQ(symlink("nowhere.dat", At("broken.dat").c_str()), 0);

  EXPECT_EQ(Enumerate(At("*.dat")), (Names{"link.dat", "real.dat"}));
  EXPECT_TRUE(files_->CopyFile(At("LINK.DAT"), At("copy.dat")).ok());
  EXPECT_EQ(scratch_.ReadFile("copy.dat"), "real");
  EXPECT_EQ(files_->CopyFile(At("broken.dat"), At("copy.dat")).outcome, CopyOutcome::kSourceMissing);
  EXPECT_TRUE(files_->IsSameFolder(At("FOLDERLINK.DAT"), At("folder")));
}

TEST_F(PosixFileOpsTest, ReadOnlyMeansNobodyMayWriteEvenForRoot) {
  scratch_.WriteFile("source.dat", "new");
  for (const char* name : {"locked.dat", "owner.dat", "group.dat"}) scratch_.WriteFile(name, "old");
  chmod(At("locked.dat").c_str(), 0444);
  chmod(At("owner.dat").c_str(), 0200);
  chmod(At("group.dat").c_str(), 0464);

  EXPECT_EQ(files_->CopyFile(At("source.dat"), At("locked.dat")).reason, "read-only");
  EXPECT_FALSE(files_->DeleteMatching(At("locked.dat")).ok());
  EXPECT_FALSE(files_->CreateEmpty(At("locked.dat")));
  EXPECT_EQ(scratch_.ReadFile("locked.dat"), "old");

  EXPECT_TRUE(files_->CopyFile(At("source.dat"), At("owner.dat")).ok());
  EXPECT_TRUE(files_->DeleteMatching(At("group.dat")).ok());
}

TEST_F(PosixFileOpsTest, NewFilesAndFoldersGetOrdinaryPermissions) {
  const mode_t saved = umask(022);
  scratch_.WriteFile("source.dat", "x");
  chmod(At("source.dat").c_str(), 0500);
  const bool copied = files_->CopyFile(At("source.dat"), At("copy.dat")).ok();
  const bool made = files_->MakeFolder(At("folder"));
  const bool created = files_->CreateEmpty(At("empty.dat"));
  umask(saved);
  ASSERT_TRUE(copied && made && created);
  EXPECT_EQ(Mode("copy.dat"), 0644u);
  EXPECT_EQ(Mode("folder"), 0755u);
  EXPECT_EQ(Mode("empty.dat"), 0644u);
}

TEST_F(PosixFileOpsTest, PipesAreNotOrdinaryFilesAndNeverBlock) {
  ASSERT_EQ(mkfifo(At("pipe.dat").c_str(), 0666), 0);
  scratch_.WriteFile("file.dat", "x");
  EXPECT_EQ(Enumerate(At("*.dat")), Names{"file.dat"});
  EXPECT_EQ(files_->CopyFile(At("pipe.dat"), At("copy.dat")).outcome, CopyOutcome::kSourceMissing);
  EXPECT_FALSE(files_->OpenForReading(At("pipe.dat")));
  EXPECT_FALSE(files_->OpenForWriting(At("PIPE.DAT")));
  EXPECT_FALSE(files_->DeleteMatching(At("pipe.dat")).ok());
}

TEST_F(PosixFileOpsTest, NamesThatAreNotUtf8AreHandledAsTheyAre) {
  const std::string name = "\xff\xfe\x95\xe5.txt";  // not UTF-8
  std::string path = scratch_.path() + "/" + name;
  FILE* file = fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  fputs("bytes", file);
  fclose(file);

  EXPECT_EQ(Enumerate(At("*.txt")), Names{name});
  ASSERT_TRUE(files_->CopyFile(scratch_.path() + "/\xff\xfe\x95\xe5.TXT", At("copy.txt")).ok());
  EXPECT_EQ(scratch_.ReadFile("copy.txt"), "bytes");
}

TEST_F(PosixFileOpsTest, NamesAlreadyTwinnedInCaseGetNoThird) {
  scratch_.WriteFile("source.dat", "new");
  scratch_.WriteFile("dup.txt", "old");
  scratch_.WriteFile("DUP.TXT", "old");
  ASSERT_TRUE(files_->CopyFile(At("source.dat"), At("Dup.Txt")).ok());
  EXPECT_EQ(scratch_.List(), (Names{"DUP.TXT", "dup.txt", "source.dat"}));
  const int replaced = (scratch_.ReadFile("DUP.TXT") == "new") + (scratch_.ReadFile("dup.txt") == "new");
  EXPECT_EQ(replaced, 1);
}

TEST_F(PosixFileOpsTest, CaseVariantsInALargeFolderAreReplacedNotDuplicated) {
  scratch_.MakeFolder("big");
  for (int i = 0; i < 2000; ++i) scratch_.WriteFile("big/File" + std::to_string(i) + ".dat", "old");
  scratch_.WriteFile("source.dat", "new");
  for (int i = 0; i < 2000; i += 10) {
    ASSERT_TRUE(files_->CopyFile(At("source.dat"), At("big/FILE" + std::to_string(i) + ".DAT")).ok());
    ASSERT_TRUE(files_->CopyFile(At("source.dat"), At("big/New" + std::to_string(i) + ".dat")).ok());
  }
  EXPECT_EQ(scratch_.List("big").size(), 2200u);
  EXPECT_EQ(scratch_.ReadFile("big/File1990.dat"), "new");
  EXPECT_EQ(scratch_.ReadFile("big/File1991.dat"), "old");
  EXPECT_EQ(files_->DeleteMatching(At("big/new*.*")).deleted, 200);
}

// Permission bits bind this process while it lives: as root, it gives up the
// rights to read and search any folder until it is destroyed.
class BoundByPermissions {
 public:
  BoundByPermissions() {
    if (syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct bound[2] = {saved_[0], saved_[1]};
    bound[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    dropped_ = syscall(SYS_capset, &header_, bound) == 0;
  }
  ~BoundByPermissions() {
    if (dropped_) syscall(SYS_capset, &header_, saved_);
  }

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2]{};
  bool dropped_ = false;
};

// A folder that exists but cannot be listed is never taken for an empty
// or missing one: listing it, deleting in it and looking up a name in it
// whose case differs fail, and nothing is created beside its entries.
TEST_F(PosixFileOpsTest, AFolderThatCannotBeListedIsAFailureNeverAnAbsence) {
  scratch_.MakeFolder("locked/Sub");
  scratch_.WriteFile("locked/a.dat", "old");
  scratch_.MakeFolder("sealed");
  scratch_.WriteFile("sealed/b.dat", "sealed");
  scratch_.WriteFile("new.dat", "new");
  scratch_.MakeFolder("known");
  scratch_.WriteFile("known/k.dat", "kept");
  ASSERT_TRUE(files_->CopyFile(At("new.dat"), At("known/NEW.dat")).ok());  // the layer has read the folder
  chmod(At("locked").c_str(), 0311);  // names can be used, not listed
  chmod(At("sealed").c_str(), 0);
  chmod(At("known").c_str(), 0);
  {
    BoundByPermissions bound;
    EXPECT_EQ(files_->FirstEntry(At("locked/*.*")), std::nullopt);
    ASSERT_TRUE(files_->LastFailure());
    EXPECT_EQ(files_->LastFailure()->path, At("locked") + "/");
    EXPECT_EQ(files_->LastFailure()->cause, FailureCause::kUnreadable);
    EXPECT_FALSE(files_->ListFiles(At("sealed/")).ok());

    DeleteResult deleted = files_->DeleteMatching(At("locked/*.dat"));
    ASSERT_EQ(deleted.failures.size(), 1u);
    EXPECT_EQ(deleted.failures[0].path, At("locked") + "/");

    EXPECT_EQ(files_->HasFile(At("locked/a.dat")), true);
    EXPECT_EQ(files_->HasFile(At("locked/A.DAT")), std::nullopt);
    EXPECT_FALSE(files_->MakeFolder(At("locked/sub")));
    CopyResult copy = files_->CopyFile(At("new.dat"), At("locked/A.DAT"));
    EXPECT_EQ(copy.outcome, CopyOutcome::kFailed);
    EXPECT_EQ(copy.failed_path, At("locked") + "/");
    EXPECT_EQ(files_->CopyFile(At("sealed/b.dat"), At("b.dat")).outcome, CopyOutcome::kFailed);
    EXPECT_FALSE(files_->OpenForReading(At("sealed/b.dat")));
    EXPECT_EQ(files_->LastFailure()->cause, FailureCause::kUnreadable);
    EXPECT_EQ(files_->DeleteMatching(At("known/*.dat")).failures.size(), 2u);
  }
  chmod(At("locked").c_str(), 0755);
  chmod(At("sealed").c_str(), 0755);
  chmod(At("known").c_str(), 0755);
  EXPECT_EQ(scratch_.List("known"), (Names{"NEW.dat", "k.dat"}));
  EXPECT_EQ(scratch_.List("locked"), (Names{"Sub", "a.dat"}));
  EXPECT_EQ(scratch_.ReadFile("locked/a.dat"), "old");
  EXPECT_FALSE(scratch_.Exists("b.dat"));
}

// A folder where writing is not allowed (Program Files, say) gets the advice
// for read-only files and folders, not the general one.
TEST_F(PosixFileOpsTest, WritingRefusedByPermissionsIsDenied) {
  scratch_.WriteFile("new.dat", "new");
  scratch_.MakeFolder("closed");
  scratch_.WriteFile("closed/old.dat", "old");
  chmod(At("closed").c_str(), 0555);
  {
    BoundByPermissions bound;
    CopyResult copy = files_->CopyFile(At("new.dat"), At("closed/new.dat"));
    EXPECT_EQ(copy.outcome, CopyOutcome::kFailed);
    EXPECT_EQ(copy.cause, FailureCause::kDenied) << copy.reason;
    DeleteResult deleted = files_->DeleteMatching(At("closed/old.dat"));
    ASSERT_EQ(deleted.failures.size(), 1u);
    EXPECT_EQ(deleted.failures[0].cause, FailureCause::kDenied) << deleted.failures[0].reason;
    EXPECT_FALSE(files_->OpenForWriting(At("closed/empty.dat")));
    ASSERT_TRUE(files_->LastFailure());
    EXPECT_EQ(files_->LastFailure()->cause, FailureCause::kDenied) << files_->LastFailure()->reason;
  }
  chmod(At("closed").c_str(), 0755);
  EXPECT_EQ(scratch_.List("closed"), Names{"old.dat"});
}

// Another process (the game under Wine) holds a file open: as on Windows,
// the file is neither moved nor removed under it, and says why. Each lock
// of the folder looks afresh at what others hold.
TEST_F(PosixFileOpsTest, AFileAnotherProcessHoldsIsNeitherMovedNorRemoved) {
  scratch_.MakeFolder("game");
  scratch_.WriteFile("game/MAINDATA.DAT", "held");
  scratch_.WriteFile("game/free.dat", "free");
  int opened[2];
  ASSERT_EQ(pipe(opened), 0);
  const std::string held_path = At("game/MAINDATA.DAT");
  pid_t holder = fork();
  if (holder == 0) {
    int fd = open(held_path.c_str(), O_RDONLY);
    char done = fd >= 0 ? 'y' : 'n';
    if (write(opened[1], &done, 1) != 1) _exit(1);
    pause();
    _exit(0);
  }
  char done = 0;
  ASSERT_EQ(read(opened[0], &done, 1), 1);
  ASSERT_EQ(done, 'y');
  Disk& disk = files_->disk();
  {
    FolderLocked locked = files_->LockFolder(At("game"));
    ASSERT_TRUE(locked.lock);
    for (Result<void> refused : {disk.Rename(At("game/maindata.dat"), At("game/aside.dat")),
                                 disk.RemoveFile(At("game/MAINDATA.DAT"))}) {
      ASSERT_FALSE(refused.ok());
      EXPECT_EQ(refused.error().cause, FailureCause::kInUse) << refused.error().reason;
    }
    EXPECT_TRUE(disk.Rename(At("game/free.dat"), At("game/moved.dat")).ok());
  }
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  close(opened[0]);
  close(opened[1]);
  {
    FolderLocked again = files_->LockFolder(At("game"));
    EXPECT_TRUE(disk.Rename(At("game/MAINDATA.DAT"), At("game/aside.dat")).ok());
  }
  EXPECT_EQ(scratch_.List("game"), (Names{"aside.dat", "moved.dat"}));
}

// A 1 MiB file system that a copy fills up. Mounting needs root; elsewhere
// these cases are skipped.
class TinyDiskTest : public PosixFileOpsTest {
 protected:
  void SetUp() override {
    scratch_.MakeFolder("disk");
    disk_ = At("disk");
    if (mount("tmpfs", disk_.c_str(), "tmpfs", 0, "size=1m,mode=0777") != 0) {
      GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    }
    mounted_ = true;
  }
  void TearDown() override {
    if (mounted_) umount2(disk_.c_str(), MNT_DETACH);
  }

  std::string disk_;
  bool mounted_ = false;
};

TEST_F(TinyDiskTest, CopyThatFillsTheDiskLeavesTheOldFileAsItWas) {
  const std::string old_content(100 * 1024, 'o');
  scratch_.WriteFile("disk/target.dat", old_content);
  scratch_.WriteFile("big.dat", std::string(2 * 1024 * 1024, 'n'));  // on another file system

  CopyResult result = files_->CopyFile(At("big.dat"), At("disk/TARGET.DAT"));
  EXPECT_EQ(result.outcome, CopyOutcome::kFailed);
  EXPECT_EQ(result.reason, std::generic_category().message(ENOSPC));
  EXPECT_EQ(result.cause, FailureCause::kDiskFull);
  EXPECT_EQ(scratch_.ReadFile("disk/target.dat"), old_content);
  EXPECT_EQ(scratch_.List("disk"), Names{"target.dat"});
}

TEST_F(TinyDiskTest, CopyWithinTheFullDiskLeavesTheOldFileAsItWas) {
  const std::string old_content(300 * 1024, 'o');
  scratch_.WriteFile("disk/source.dat", std::string(500 * 1024, 'n'));
  scratch_.WriteFile("disk/target.dat", old_content);

  CopyResult result = files_->CopyFile(At("disk/source.dat"), At("disk/target.dat"));
  EXPECT_EQ(result.outcome, CopyOutcome::kFailed);
  EXPECT_EQ(scratch_.ReadFile("disk/target.dat"), old_content);
  EXPECT_EQ(scratch_.List("disk"), (Names{"source.dat", "target.dat"}));
}

TEST_F(TinyDiskTest, FreeSpaceIsWhatIsLeftForNewFiles) {
  Result<VolumeSpace> empty = files_->disk().FreeSpace(disk_);
  ASSERT_TRUE(empty.ok());
  EXPECT_LE(empty->free_bytes, 1024u * 1024u);
  EXPECT_GT(empty->block_bytes, 0u);
  scratch_.WriteFile("disk/half.dat", std::string(512 * 1024, 'h'));
  Result<VolumeSpace> half = files_->disk().FreeSpace(disk_ + "/");
  ASSERT_TRUE(half.ok());
  EXPECT_EQ(half->free_bytes, empty->free_bytes - 512 * 1024);
  EXPECT_FALSE(files_->disk().FreeSpace(disk_ + "/half.dat").ok());
}

TEST_F(TinyDiskTest, CopyBetweenFileSystemsThatFitsIsExact) {
  std::string content(300 * 1024 + 5, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 + i / 251);
  scratch_.WriteFile("source.dat", content);
  ASSERT_TRUE(files_->CopyFile(At("source.dat"), At("disk/copy.dat")).ok());
  EXPECT_EQ(scratch_.ReadFile("disk/copy.dat"), content);
  EXPECT_EQ(scratch_.List("disk"), Names{"copy.dat"});
}

// Where one syncfs is not proven to reach the storage and report a failed
// write, each file is synced itself: file systems in user space, network
// ones, and every file system on a kernel before 5.8.
TEST(Durability, OneSyncIsTrustedOnlyForLocalFileSystemsOnKernelsThatReportItsFailures) {
  constexpr std::uint32_t kExt4 = 0xEF53, kXfs = 0x58465342, kFuse = 0x65735546, kNfs = 0x6969, kSmb2 = 0xFE534D42;
  EXPECT_TRUE(SyncfsIsEnough(kExt4, "6.1.0-18-amd64"));
  EXPECT_TRUE(SyncfsIsEnough(kXfs, "5.8.0"));
  EXPECT_TRUE(SyncfsIsEnough(kExt4, "5.10.0-23-amd64"));  // 10 after 8, not before it
  EXPECT_FALSE(SyncfsIsEnough(kExt4, "5.7.19"));
  EXPECT_FALSE(SyncfsIsEnough(kExt4, "4.19.0-26-amd64"));
  EXPECT_FALSE(SyncfsIsEnough(kExt4, ""));
  for (std::uint32_t remote : {kFuse, kNfs, kSmb2}) EXPECT_FALSE(SyncfsIsEnough(remote, "6.1.0")) << remote;
}

}  // namespace
}  // namespace tolvashu
