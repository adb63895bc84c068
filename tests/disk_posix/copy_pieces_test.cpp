// The pieces under a Linux copy: the temporary file with and without a
// name, copies written ahead, the removal of a holding folder's files by
// two threads, and the write-back helper.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "disk_posix/copy_ahead.h"
#include "disk_posix/entry_removal.h"
#include "disk_posix/temporary_file.h"
#include "disk/temporary_name.h"
#include "disk_posix/write_back.h"
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

// The content of an open file, even one open for writing only.
std::string ReadAll(int fd) {
  UniqueFd reading(open(("/proc/self/fd/" + std::to_string(fd)).c_str(), O_RDONLY | O_CLOEXEC));
  std::string content;
  char buffer[4096];
  for (off_t at = 0;;) {
    ssize_t got = pread(reading.get(), buffer, sizeof buffer, at);
    if (got <= 0) return content;
    content.append(buffer, static_cast<std::size_t>(got));
    at += got;
  }
}

// Whatever the helper has managed by the time a copy is asked for, a copy
// gets its own source's content or nothing: never another's, never one not
// expected, skipped or dropped; a large file comes as its opened source;
// nothing written ahead ever shows in the destination folder.
TEST(CopyAheadTest, GivesACopyItsOwnContentOrNothing) {
  ScratchFolder scratch;
  scratch.MakeFolder("from");
  scratch.MakeFolder("to");
  const std::string large(2 << 20, 'L');
  for (const char* name : {"a.dat", "b.dat", "c.dat", "d.dat"}) scratch.WriteFile(std::string("from/") + name, name);
  scratch.WriteFile("from/large.dat", large);
  auto job = [&](const std::string& name) {
    return CopyAhead::Job{"S\\" + name, "D\\" + name, scratch.Join("from/" + name), scratch.Join("to")};
  };
  CopyAhead ahead;
  ahead.Expect({job("a.dat"), job("b.dat"), job("c.dat"), job("large.dat"), job("missing.dat"), job("d.dat")});
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // usually all written by now; either way holds

  EXPECT_FALSE(ahead.Take("S\\a.dat", "D\\other.dat"));
  if (auto a = ahead.Take("S\\a.dat", "D\\a.dat")) {
    EXPECT_EQ(ReadAll(a->file.get()), "a.dat");
  }
  if (auto c = ahead.Take("S\\c.dat", "D\\c.dat")) {
    EXPECT_EQ(ReadAll(c->file.get()), "c.dat");
  }
  EXPECT_FALSE(ahead.Take("S\\b.dat", "D\\b.dat"));  // skipped, so dropped
  if (auto taken = ahead.Take("S\\large.dat", "D\\large.dat")) {
    EXPECT_FALSE(taken->file.valid());
    EXPECT_EQ(ReadAll(taken->source.get()), large);
    EXPECT_EQ(taken->source_status.st_size, static_cast<off_t>(large.size()));
  }
  EXPECT_FALSE(ahead.Take("S\\missing.dat", "D\\missing.dat"));
  ahead.Expect({});
  EXPECT_FALSE(ahead.Take("S\\d.dat", "D\\d.dat"));
  EXPECT_EQ(scratch.List("to"), Names{});
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
