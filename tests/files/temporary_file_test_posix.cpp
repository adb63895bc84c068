// The pieces under a Linux copy: the temporary file with and without a
// name, the removal of a holding folder's files by two threads, and the
// write-back helper.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/entry_removal_posix.h"
#include "files/temporary_file_posix.h"
#include "files/temporary_name.h"
#include "files/write_back_posix.h"
#include "support/scratch_folder.h"

namespace tolvashu {
namespace {

using testing::ScratchFolder;
using Names = std::vector<std::string>;

UniqueFd OpenFolder(const std::string& path) { return UniqueFd(open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)); }

bool Write(TemporaryFile& file, const std::string& content) {
  return write(file.fd(), content.data(), content.size()) == static_cast<ssize_t>(content.size());
}

// Either kind shows no new name until it is whole, takes only a free name
// unless told to replace, and leaves nothing when it gets none.
TEST(TemporaryFileTest, TakesItsNameOnlyWholeAndOnlyAFreeOneUnlessToldToReplace) {
  ScratchFolder scratch;
  for (bool unnamed : {true, false}) {
    const std::string kind = unnamed ? "unnamed" : "named";
    SCOPED_TRACE(kind);
    scratch.MakeFolder(kind);
    scratch.WriteFile(kind + "/taken.dat", "old");
    UniqueFd folder = OpenFolder(scratch.Join(kind));
    {
      TemporaryFile file;
      bool may_be_unnamed = unnamed;
      ASSERT_EQ(file.Create(folder.get(), may_be_unnamed), 0);
      if (unnamed && !may_be_unnamed) GTEST_SKIP() << "the scratch folder's file system makes no unnamed files";
      ASSERT_TRUE(Write(file, "new"));
      Names seen = scratch.List(kind);
      EXPECT_EQ(seen.size(), unnamed ? 1u : 2u);
      if (!unnamed) {
        EXPECT_TRUE(IsTemporaryName(seen[0]) || IsTemporaryName(seen[1]));
      }
      EXPECT_EQ(file.MoveTo(scratch.Join(kind + "/taken.dat"), false), EEXIST);
    }
    EXPECT_EQ(scratch.List(kind), Names{"taken.dat"});
    EXPECT_EQ(scratch.ReadFile(kind + "/taken.dat"), "old");
    for (const auto& [name, replace] : {std::pair{"free.dat", false}, std::pair{"taken.dat", true}}) {
      TemporaryFile file;
      bool may_be_unnamed = unnamed;
      ASSERT_EQ(file.Create(folder.get(), may_be_unnamed), 0);
      ASSERT_TRUE(Write(file, kind + " " + name));
      EXPECT_EQ(file.MoveTo(scratch.Join(kind + "/" + name), replace), 0);
    }
    EXPECT_EQ(scratch.List(kind), (Names{"free.dat", "taken.dat"}));
    EXPECT_EQ(scratch.ReadFile(kind + "/free.dat"), kind + " free.dat");
    EXPECT_EQ(scratch.ReadFile(kind + "/taken.dat"), kind + " taken.dat");
  }
}

// A long list is shared with a second thread; a file already gone counts
// as removed, and one that cannot be removed is named whichever half it is in.
TEST(EntryRemovalTest, RemovesEveryFileAndNamesTheOneThatStays) {
  ScratchFolder scratch;
  Names names;
  for (int i = 0; i < 100; ++i) {
    names.push_back("held" + std::to_string(i) + ".dat");
    scratch.WriteFile(names.back(), "x");
  }
  names.insert(names.begin() + 10, "gone.dat");
  scratch.MakeFolder("folder");
  names.insert(names.begin() + 80, "folder");
  UniqueFd folder(open(scratch.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));

  std::optional<EntryRemovalFailure> failure = RemoveEntries(folder.get(), names);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->name, "folder");
  EXPECT_EQ(failure->error, EISDIR);
  EXPECT_EQ(scratch.List(), Names{"folder"});
}

TEST(WriteBackTest, WatchesEachFileSystemOnceAndSyncsInTheBackground) {
  ScratchFolder scratch;
  scratch.MakeFolder("sub");
  struct stat status {};
  ASSERT_EQ(stat(scratch.path().c_str(), &status), 0);
  WriteBack write_back;
  write_back.Watch(scratch.path());
  write_back.Watch(scratch.Join("sub"));
  write_back.Watch(scratch.Join("missing"));
  ASSERT_EQ(write_back.watched().size(), 1u);
  EXPECT_EQ(write_back.watched()[0].device, status.st_dev);
  for (int i = 0; i < 8; ++i) write_back.Written(off_t{16} << 20);  // the helper starts, and is asked again
}

}  // namespace
}  // namespace tolvashu
