// The file layer's behaviour, checked on the real disk against the platform's
// own backend: natively on POSIX, and under Wine in the Windows build. Paths
// are written the way the installer writes them, joined with backslashes.
#include "files/file_ops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace tolvashu {
namespace {

using testing::FromPath;
using testing::ScratchFolder;
using testing::ToPath;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

// Bytes that trip careless copies: NUL, lone CR and LF, 0x5C, 0x1A, high bytes.
std::string AwkwardContent(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 7) % 256);
  return bytes;
}

class FileOpsTest : public ::testing::Test {
 protected:
  // A path as the installer builds it: the folder, a backslash, then names
  // joined with backslashes.
  std::string At(std::string_view relative) const {
    std::string path = scratch_.path() + "\\";
    for (char c : relative) path += c == '/' ? '\\' : c;
    return path;
  }
  std::string FolderAt(std::string_view relative) const { return At(relative) + "\\"; }

  // Every name the enumeration gives, sorted (the disk's order is its own).
  Names Enumerate(const std::string& pattern) {
    Names names;
    std::optional<std::string> name = files_->FirstEntry(pattern);
    while (name && !name->empty() && names.size() < 1000) {
      names.push_back(*name);
      name = files_->NextEntry();
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  ScratchFolder scratch_;
  std::unique_ptr<FileOps> files_ = MakePlatformFileOps();
};

// --- Enumeration -----------------------------------------------------------

TEST_F(FileOpsTest, EnumerationGivesOrdinaryFilesOnly) {
  scratch_.WriteFile("a.txt", "a");
  scratch_.WriteFile("B.DAT", "b");
  scratch_.WriteFile("locked.txt", "r");
  scratch_.SetReadOnly("locked.txt", true);
  scratch_.WriteFile(".x.jpg", "hidden");
  scratch_.SetHidden(".x.jpg");
  scratch_.MakeFolder("sub");
  scratch_.MakeFolder("folder.dat");
  scratch_.WriteFile("sub/inner.txt", "not in this folder");

  const Names ordinary = {"B.DAT", "a.txt", "locked.txt"};
  EXPECT_EQ(Enumerate(FolderAt("")), ordinary);
  EXPECT_EQ(Enumerate(At("*.*")), ordinary);
  EXPECT_EQ(Enumerate(At("*")), ordinary);
  EXPECT_EQ(Enumerate(At("*.dat")), Names{"B.DAT"});
}

TEST_F(FileOpsTest, EnumerationOfNothingIsEmptyNotAFailure) {
  scratch_.WriteFile("a.txt", "a");
  EXPECT_EQ(files_->FirstEntry(At("missing/*.*")), "");
  EXPECT_EQ(files_->NextEntry(), "");
  EXPECT_EQ(files_->FirstEntry(FolderAt("missing")), "");
  EXPECT_EQ(files_->FirstEntry(At("*.mp3")), "");
  EXPECT_EQ(files_->NextEntry(), "");
  scratch_.MakeFolder("empty");
  EXPECT_EQ(files_->FirstEntry(FolderAt("empty")), "");
}

TEST_F(FileOpsTest, EnumerationFailsOnlyOnMalformedPatternsOrWhenNotStarted) {
  EXPECT_EQ(files_->NextEntry(), std::nullopt);
  scratch_.MakeFolder("sub");
  scratch_.WriteFile("sub/a.txt", "a");
  EXPECT_EQ(files_->FirstEntry(""), std::nullopt);
  EXPECT_EQ(files_->FirstEntry(At("su*/a.txt")), std::nullopt);
}

TEST_F(FileOpsTest, WildcardsMatchAnyCaseAndStarDotStarNeedsNoDot) {
  for (const char* name : {"NameData1", "NameData2.dat", "namedata10.DAT", "Other.dat", "data1.txt", "data12.txt",
                           "data.txt"}) {
    scratch_.WriteFile(name, name);
  }
  EXPECT_EQ(Enumerate(At("namedata*.*")), (Names{"NameData1", "NameData2.dat", "namedata10.DAT"}));
  EXPECT_EQ(Enumerate(At("DATA?.TXT")), Names{"data1.txt"});
  EXPECT_EQ(Enumerate(At("*.Dat")), (Names{"NameData2.dat", "Other.dat", "namedata10.DAT"}));
  EXPECT_EQ(Enumerate(At("*.*")).size(), 7u);
  EXPECT_EQ(Enumerate(At("*1")), Names{"NameData1"});
}

TEST_F(FileOpsTest, NamesAndFoldersAreFoundInAnyCase) {
  scratch_.WriteFile("NameData2.dat", "x");
  scratch_.WriteFile("NameData3.dat", "x");
  EXPECT_EQ(Enumerate(At("NAMEDATA2.DAT")), Names{"NameData2.dat"});
  EXPECT_EQ(Enumerate(At("namedata4.dat")), Names{});

  scratch_.MakeFolder("Sub");
  scratch_.WriteFile("Sub/inner.dat", "x");
  EXPECT_EQ(Enumerate(FolderAt("SUB")), Names{"inner.dat"});
  EXPECT_EQ(Enumerate(At("sub/INNER.DAT")), Names{"inner.dat"});
}

TEST_F(FileOpsTest, EnumerationIsASnapshotAndANewOneAbandonsTheOld) {
  scratch_.MakeFolder("one");
  scratch_.MakeFolder("two");
  for (const char* name : {"one/a.dat", "one/b.dat", "one/c.dat", "two/z.dat"}) scratch_.WriteFile(name, "x");

  std::optional<std::string> first = files_->FirstEntry(At("one/*.dat"));
  ASSERT_TRUE(first && !first->empty());
  ASSERT_EQ(files_->DeleteMatching(At("one/*.dat")).deleted, 3);  // the loop deletes as it goes
  Names rest;
  for (auto name = files_->NextEntry(); name && !name->empty(); name = files_->NextEntry()) rest.push_back(*name);
  EXPECT_EQ(rest.size(), 2u);
  EXPECT_EQ(std::count(rest.begin(), rest.end(), *first), 0);

  scratch_.WriteFile("one/a.dat", "x");
  scratch_.WriteFile("one/b.dat", "x");
  ASSERT_NE(files_->FirstEntry(At("one/*.dat")), "");
  EXPECT_EQ(files_->FirstEntry(At("two/*.dat")), "z.dat");
  EXPECT_EQ(files_->NextEntry(), "");
}

TEST_F(FileOpsTest, JapaneseAndNonJapaneseNamesEnumerate) {
  scratch_.MakeFolder("データ");
  for (const char* name : {"データ/年表1.txt", "データ/年表2.txt", "データ/表.txt"}) scratch_.WriteFile(name, "x");
  EXPECT_EQ(Enumerate(At("データ/年表*.txt")), (Names{"年表1.txt", "年表2.txt"}));
  EXPECT_EQ(Enumerate(At("データ/表.TXT")), Names{"表.txt"});

  scratch_.MakeFolder("한글 🎮");
  scratch_.WriteFile("한글 🎮/사진.jpg", "x");
  EXPECT_EQ(Enumerate(FolderAt("한글 🎮")), Names{"사진.jpg"});
}

// --- Deletion by pattern ----------------------------------------------------

TEST_F(FileOpsTest, DeletionRemovesEveryOrdinaryMatchInAnyCase) {
  for (const char* name : {"NameData1.dat", "NAMEDATA2", "namedata3.txt", "Other.dat", ".namedata.dat"}) {
    scratch_.WriteFile(name, "x");
  }
  scratch_.SetHidden(".namedata.dat");
  scratch_.MakeFolder("namedataDir");

  DeleteResult result = files_->DeleteMatching(At("namedata*.*"));
  EXPECT_TRUE(result.ok());
  EXPECT_EQ(result.deleted, 3);
  EXPECT_EQ(scratch_.List(), (Names{".namedata.dat", "Other.dat", "namedataDir"}));

  EXPECT_TRUE(files_->DeleteMatching(At("OTHER.DAT")).ok());
  EXPECT_EQ(scratch_.List(), (Names{".namedata.dat", "namedataDir"}));
}

TEST_F(FileOpsTest, DeletionSkipsAReadOnlyMatchAndDeletesTheOthers) {
  for (const char* name : {"a.tmp", "b.tmp", "c.tmp"}) scratch_.WriteFile(name, name);
  scratch_.SetReadOnly("b.tmp", true);

  DeleteResult result = files_->DeleteMatching(At("*.tmp"));
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.deleted, 2);
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_EQ(result.failures[0].path, At("b.tmp"));
  EXPECT_FALSE(result.failures[0].reason.empty());
  EXPECT_EQ(scratch_.List(), Names{"b.tmp"});
  EXPECT_EQ(scratch_.ReadFile("b.tmp"), "b.tmp");

  EXPECT_FALSE(files_->DeleteMatching(At("B.TMP")).ok());
  EXPECT_EQ(scratch_.ReadFile("b.tmp"), "b.tmp");
}

TEST_F(FileOpsTest, DeletionOfNothingFailsAndTouchesNothing) {
  scratch_.WriteFile("keep.txt", "x");
  for (const std::string& pattern : {At("*.mp3"), At("missing/*.*"), At("gone.txt"), FolderAt(""), std::string()}) {
    DeleteResult result = files_->DeleteMatching(pattern);
    EXPECT_FALSE(result.ok()) << pattern;
    EXPECT_EQ(result.deleted, 0) << pattern;
  }
  EXPECT_EQ(scratch_.List(), Names{"keep.txt"});
}

// --- Folders ------------------------------------------------------------------

TEST_F(FileOpsTest, MakeFolderCreatesOneNewFolderOnly) {
  scratch_.WriteFile("taken", "a file");
  EXPECT_TRUE(files_->MakeFolder(At("Backup")));
  EXPECT_FALSE(files_->MakeFolder(At("Backup")));
  EXPECT_FALSE(files_->MakeFolder(At("BACKUP")));
  EXPECT_FALSE(files_->MakeFolder(At("TAKEN")));
  EXPECT_FALSE(files_->MakeFolder(At("missing/child")));
  EXPECT_TRUE(files_->MakeFolder(At("backup/nationDATA")));  // goes into the existing «Backup»
  EXPECT_EQ(scratch_.List(), (Names{"Backup", "taken"}));
  EXPECT_EQ(scratch_.List("Backup"), Names{"nationDATA"});
}

TEST_F(FileOpsTest, FoldersMayHoldCharactersOutsideCodePage932) {
  for (const char* name : {"データ", "한글", "🎮 save"}) {
    ASSERT_TRUE(files_->MakeFolder(At(name))) << name;
    ASSERT_TRUE(files_->CreateEmpty(At(std::string(name) + "/年表1.txt"))) << name;
    EXPECT_EQ(Enumerate(FolderAt(name)), Names{"年表1.txt"}) << name;
  }
}

TEST_F(FileOpsTest, SameFolderIsRecognisedHoweverItIsSpelled) {
  scratch_.MakeFolder("Game/sub");
  scratch_.MakeFolder("Other");
  scratch_.WriteFile("Game/file.txt", "x");
  const std::string game = FolderAt("Game");
  EXPECT_TRUE(files_->IsSameFolder(game, game));
  EXPECT_TRUE(files_->IsSameFolder(game, At("GAME")));
  EXPECT_TRUE(files_->IsSameFolder(game, scratch_.Join("game") + "/"));
  EXPECT_TRUE(files_->IsSameFolder(game, At("Game/sub/..\\.\\")));
  EXPECT_TRUE(files_->IsSameFolder(game, At("Other/../game//")));
  EXPECT_FALSE(files_->IsSameFolder(game, FolderAt("Other")));
  EXPECT_FALSE(files_->IsSameFolder(game, FolderAt("Game/sub")));
  EXPECT_FALSE(files_->IsSameFolder(At("missing"), At("MISSING")));
  EXPECT_FALSE(files_->IsSameFolder(At("Game/file.txt"), At("Game/FILE.TXT")));
}

TEST_F(FileOpsTest, CurrentFolderIsTheProcessDirectory) {
  const fs::path before = fs::current_path();
  EXPECT_EQ(files_->CurrentFolder(), FromPath(before));

  struct Restore {
    fs::path path;
    ~Restore() { fs::current_path(path); }
  } restore{before};
  scratch_.MakeFolder("データ");
  fs::current_path(ToPath(scratch_.Join("データ")));
  EXPECT_EQ(files_->CurrentFolder(), scratch_.Join("データ"));

  // Relative paths start there.
  scratch_.WriteFile("データ/source.txt", "relative");
  EXPECT_TRUE(files_->CopyFile("source.txt", "..\\copy.txt").ok());
  EXPECT_EQ(scratch_.ReadFile("copy.txt"), "relative");

  fs::current_path(before.root_path());
  const std::string root = files_->CurrentFolder();
  EXPECT_EQ(root, FromPath(before.root_path()));
  EXPECT_TRUE(root.back() == '\\' || root.back() == '/') << root;
}

// --- Copying ------------------------------------------------------------------

TEST_F(FileOpsTest, CopyMakesAnExactCopyAndKeepsTheTime) {
  const std::string content = AwkwardContent(300 * 1024 + 17);
  scratch_.MakeFolder("from");
  scratch_.MakeFolder("to");
  scratch_.WriteFile("from/data.bin", content);
  scratch_.WriteFile("from/empty.bin", "");
  const auto time = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
  const auto whole_seconds = std::chrono::time_point_cast<std::chrono::seconds>(time);
  fs::last_write_time(ToPath(scratch_.Join("from/data.bin")), whole_seconds);

  EXPECT_EQ(files_->CopyFile(At("from/data.bin"), At("to/data.bin")).outcome, CopyOutcome::kCopied);
  EXPECT_EQ(files_->CopyFile(At("from/EMPTY.BIN"), At("to/empty.bin")).outcome, CopyOutcome::kCopied);
  EXPECT_EQ(scratch_.ReadFile("to/data.bin"), content);
  EXPECT_EQ(scratch_.ReadFile("to/empty.bin"), "");
  EXPECT_EQ(scratch_.ReadFile("from/data.bin"), content);
  EXPECT_EQ(scratch_.List("to"), (Names{"data.bin", "empty.bin"}));
  EXPECT_EQ(std::chrono::time_point_cast<std::chrono::seconds>(fs::last_write_time(ToPath(scratch_.Join("to/data.bin")))),
            whole_seconds);
}

TEST_F(FileOpsTest, CopyReplacesTheFileOfAnyCaseAndKeepsItsName) {
  scratch_.MakeFolder("package");
  scratch_.MakeFolder("game");
  scratch_.WriteFile("package/MAINDATA.DAT", "new content");
  scratch_.WriteFile("game/maindata.dat", "old");

  CopyResult result = files_->CopyFile(At("package/MAINDATA.DAT"), At("game/MAINDATA.DAT"));
  EXPECT_TRUE(result.ok()) << result.reason;
  EXPECT_EQ(scratch_.List("game"), Names{"maindata.dat"});
  EXPECT_EQ(scratch_.ReadFile("game/maindata.dat"), "new content");

  // The source is found in any case, and a new file gets the case asked for.
  EXPECT_TRUE(files_->CopyFile(At("PACKAGE/maindata.dat"), At("game/MapData.dat")).ok());
  EXPECT_EQ(scratch_.List("game"), (Names{"MapData.dat", "maindata.dat"}));
}

TEST_F(FileOpsTest, CopyDropsTheReadOnlyFlag) {
  scratch_.WriteFile("locked.dat", "x");
  scratch_.SetReadOnly("locked.dat", true);
  ASSERT_TRUE(files_->CopyFile(At("locked.dat"), At("copy.dat")).ok());
  EXPECT_TRUE(files_->CopyFile(At("locked.dat"), At("copy.dat")).ok());  // the copy can be replaced
  EXPECT_TRUE(files_->DeleteMatching(At("copy.dat")).ok());
}

TEST_F(FileOpsTest, CopyOfAMissingSourceSaysSoAndChangesNothing) {
  scratch_.MakeFolder("folder");
  scratch_.WriteFile("old.dat", "old");
  for (const std::string& source : {At("missing.dat"), At("folder"), At("nowhere/missing.dat"), std::string()}) {
    EXPECT_EQ(files_->CopyFile(source, At("old.dat")).outcome, CopyOutcome::kSourceMissing) << source;
    EXPECT_EQ(files_->CopyFile(source, At("new.dat")).outcome, CopyOutcome::kSourceMissing) << source;
  }
  EXPECT_EQ(scratch_.List(), (Names{"folder", "old.dat"}));
  EXPECT_EQ(scratch_.ReadFile("old.dat"), "old");
}

TEST_F(FileOpsTest, CopyOntoAMissingFolderFailsAndLeavesNothing) {
  scratch_.WriteFile("source.dat", "x");
  CopyResult result = files_->CopyFile(At("source.dat"), At("missing/source.dat"));
  EXPECT_EQ(result.outcome, CopyOutcome::kFailed);
  EXPECT_FALSE(result.reason.empty());
  EXPECT_EQ(scratch_.List(), Names{"source.dat"});
}

// Between two copies into it, the folder was removed, or moved away, and a
// new one made under its name: the copy goes to the new folder.
TEST_F(FileOpsTest, CopyGoesToTheFolderThePathNamesNow) {
  scratch_.MakeFolder("game");
  scratch_.WriteFile("source.dat", "x");
  ASSERT_TRUE(files_->CopyFile(At("source.dat"), At("game/a.dat")).ok());
  fs::remove_all(ToPath(scratch_.Join("game")));
  scratch_.MakeFolder("game");
  ASSERT_TRUE(files_->CopyFile(At("source.dat"), At("game/b.dat")).ok());
  fs::rename(ToPath(scratch_.Join("game")), ToPath(scratch_.Join("moved")));
  scratch_.MakeFolder("game");
  ASSERT_TRUE(files_->CopyFile(At("source.dat"), At("game/c.dat")).ok());
  EXPECT_EQ(scratch_.List("game"), Names{"c.dat"});
  EXPECT_EQ(scratch_.List("moved"), Names{"b.dat"});
}

TEST_F(FileOpsTest, CopyOntoAReadOnlyFileFailsAndLeavesItAsItWas) {
  scratch_.WriteFile("source.dat", "new");
  scratch_.MakeFolder("game");
  scratch_.WriteFile("game/target.dat", "old");
  scratch_.SetReadOnly("game/target.dat", true);

  CopyResult result = files_->CopyFile(At("source.dat"), At("game/TARGET.DAT"));
  EXPECT_EQ(result.outcome, CopyOutcome::kFailed);
  EXPECT_FALSE(result.reason.empty());
  EXPECT_EQ(scratch_.ReadFile("game/target.dat"), "old");
  EXPECT_EQ(scratch_.List("game"), Names{"target.dat"});
  EXPECT_FALSE(files_->DeleteMatching(At("game/target.dat")).ok());  // still read-only
}

TEST_F(FileOpsTest, CopyOntoAFolderFails) {
  scratch_.WriteFile("source.dat", "x");
  scratch_.MakeFolder("Target.dat");
  scratch_.WriteFile("Target.dat/inside.txt", "kept");
  EXPECT_EQ(files_->CopyFile(At("source.dat"), At("target.dat")).outcome, CopyOutcome::kFailed);
  EXPECT_EQ(scratch_.ReadFile("Target.dat/inside.txt"), "kept");
  EXPECT_EQ(scratch_.List(), (Names{"Target.dat", "source.dat"}));
}

TEST_F(FileOpsTest, JapaneseNamesCopyBetweenFolders) {
  scratch_.MakeFolder("データ");
  scratch_.MakeFolder("한글");
  scratch_.WriteFile("データ/年表1.txt", "年表");
  ASSERT_TRUE(files_->CopyFile(At("データ/年表1.txt"), At("한글/年表1.txt")).ok());
  EXPECT_EQ(scratch_.ReadFile("한글/年表1.txt"), "年表");
}

TEST_F(FileOpsTest, NamesDifferingInNonAsciiCaseAreOneName) {
  scratch_.MakeFolder("Ärger");
  scratch_.WriteFile("Ärger/ΣΟΦΙΑ.txt", "greek");
  scratch_.WriteFile("Ärger/ＡＢＣ.txt", "full width");
  EXPECT_TRUE(files_->CopyFile(At("ärger/σοφια.TXT"), At("ÄRGER/ａｂｃ.txt")).ok());
  EXPECT_EQ(scratch_.List("Ärger"), (Names{"ΣΟΦΙΑ.txt", "ＡＢＣ.txt"}));
  EXPECT_EQ(scratch_.ReadFile("Ärger/ＡＢＣ.txt"), "greek");
}

TEST_F(FileOpsTest, FilesMadeBehindTheLayersBackAreStillFound) {
  scratch_.MakeFolder("game");
  scratch_.WriteFile("source.dat", "new");
  ASSERT_TRUE(files_->CopyFile(At("source.dat"), At("game/first.dat")).ok());
  ASSERT_TRUE(files_->MakeFolder(At("game/sub")));

  scratch_.WriteFile("game/Behind.TXT", "old");
  ASSERT_TRUE(files_->CopyFile(At("source.dat"), At("game/BEHIND.txt")).ok());
  EXPECT_EQ(scratch_.List("game"), (Names{"Behind.TXT", "first.dat", "sub"}));
  EXPECT_EQ(scratch_.ReadFile("game/Behind.TXT"), "new");

  fs::remove(ToPath(scratch_.Join("game/Behind.TXT")));
  scratch_.WriteFile("game/BEHIND.TXT", "old again");
  ASSERT_TRUE(files_->CopyFile(At("source.dat"), At("game/behind.txt")).ok());
  EXPECT_EQ(scratch_.List("game"), (Names{"BEHIND.TXT", "first.dat", "sub"}));
  EXPECT_EQ(scratch_.ReadFile("game/BEHIND.TXT"), "new");

  ASSERT_EQ(Enumerate(FolderAt("game")), (Names{"BEHIND.TXT", "first.dat"}));
  scratch_.WriteFile("game/later.dat", "new");
  EXPECT_EQ(Enumerate(FolderAt("game")), (Names{"BEHIND.TXT", "first.dat", "later.dat"}));
  fs::remove(ToPath(scratch_.Join("game/first.dat")));
  EXPECT_EQ(Enumerate(FolderAt("game")), (Names{"BEHIND.TXT", "later.dat"}));
}

TEST_F(FileOpsTest, TemporaryFilesAreNeverSeen) {
  // What a copy cut short by a crash would leave: hidden, so never data.
  const char* leftover = ".~tolvashu-0123456789abcdef.tmp";
  scratch_.WriteFile(leftover, "half");
  scratch_.SetHidden(leftover);
  scratch_.WriteFile("a.dat", "a");
  EXPECT_EQ(Enumerate(At("*.*")), Names{"a.dat"});
  EXPECT_EQ(Enumerate(At("*.tmp")), Names{});
  EXPECT_EQ(files_->DeleteMatching(At("*.*")).deleted, 1);
  EXPECT_EQ(scratch_.List(), Names{leftover});
}

// --- The current file -------------------------------------------------------

TEST_F(FileOpsTest, OneCurrentFileAtATime) {
  scratch_.WriteFile("in.txt", "x");
  EXPECT_TRUE(files_->CloseAll());  // nothing open: nothing to do
  ASSERT_TRUE(files_->OpenForWriting(At("out.txt")));
  EXPECT_FALSE(files_->OpenForWriting(At("other.txt")));
  EXPECT_FALSE(files_->OpenForReading(At("in.txt")));
  EXPECT_TRUE(files_->CloseAll());
  EXPECT_TRUE(files_->CloseAll());
  ASSERT_TRUE(files_->OpenForReading(At("IN.TXT")));
  EXPECT_FALSE(files_->OpenForReading(At("in.txt")));
  EXPECT_FALSE(files_->OpenForWriting(At("out.txt")));
  EXPECT_TRUE(files_->CloseAll());
  EXPECT_EQ(scratch_.List(), (Names{"in.txt", "out.txt"}));
}

TEST_F(FileOpsTest, CreateEmptyTruncatesTheFileOfAnyCase) {
  scratch_.WriteFile("Status.dat", std::string(5000, 'x'));
  EXPECT_TRUE(files_->CreateEmpty(At("STATUS.DAT")));
  EXPECT_EQ(scratch_.ReadFile("Status.dat"), "");
  EXPECT_EQ(scratch_.List(), Names{"Status.dat"});
  EXPECT_TRUE(files_->CreateEmpty(At("new.dat")));
  EXPECT_EQ(scratch_.ReadFile("new.dat"), "");
}

TEST_F(FileOpsTest, CreateEmptyFailsWithoutHarm) {
  scratch_.WriteFile("locked.dat", "keep");
  scratch_.SetReadOnly("locked.dat", true);
  scratch_.MakeFolder("folder");
  EXPECT_FALSE(files_->CreateEmpty(At("locked.dat")));
  EXPECT_FALSE(files_->CreateEmpty(At("missing/new.dat")));
  EXPECT_FALSE(files_->CreateEmpty(At("FOLDER")));
  EXPECT_EQ(scratch_.ReadFile("locked.dat"), "keep");
  EXPECT_EQ(scratch_.List(), (Names{"folder", "locked.dat"}));
  EXPECT_TRUE(files_->CloseAll());
}

TEST_F(FileOpsTest, OpenForReadingNeedsAnExistingFile) {
  scratch_.MakeFolder("folder");
  EXPECT_FALSE(files_->OpenForReading(At("missing.txt")));
  EXPECT_FALSE(files_->OpenForReading(At("folder")));
  EXPECT_EQ(files_->ReadItem(), std::nullopt);
  EXPECT_EQ(files_->AtEnd(), std::nullopt);
}

TEST_F(FileOpsTest, ALineWrittenIsReadBackThroughANameOfAnotherCase) {
  ASSERT_TRUE(files_->OpenForWriting(At("PathDATA.txt")));
  EXPECT_TRUE(files_->WriteLine("D:\\ゲーム\\年表"));
  ASSERT_TRUE(files_->CloseAll());
  EXPECT_EQ(scratch_.ReadFile("PathDATA.txt"), "D:\\\x83\x51\x81\x5b\x83\x80\\\x94\x4e\x95\x5c\r\n");

  ASSERT_TRUE(files_->OpenForReading(At("pathdata.TXT")));
  EXPECT_EQ(files_->AtEnd(), false);
  EXPECT_EQ(files_->ReadItem(), "D:\\ゲーム\\年表");
  EXPECT_EQ(files_->AtEnd(), true);
  EXPECT_EQ(files_->ReadItem(), std::nullopt);
  EXPECT_TRUE(files_->CloseAll());
}

}  // namespace
}  // namespace tolvashu
