// Behaviour of the file layer that only the Windows file system has:
// attributes, 8.3 short names, sharing and locks, passing locks waited out,
// device names, long paths, and names outside code page 932 through the wide
// functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "disk_win32/file_listing.h"
#include "disk_win32/system_error.h"
#include "disk_win32/win32_disk.h"
#include "disk_win32/win32_path.h"
#include "files/file_ops.h"
#include "support/scratch_folder.h"

namespace tolvashu {
namespace {

using testing::ScratchFolder;
using testing::ToPath;

std::wstring Wide(const std::string& utf8) { return ToPath(utf8).wstring(); }

// Waits short enough that the tests of files held for longer do not wait
// the usual bound out each time.
constexpr PassingLockWaits kShortWaits{1, 10, 30};

class Win32FileOpsTest : public ::testing::Test {
 protected:
  DWORD Attributes(std::string_view relative) const { return GetFileAttributesW(Wide(dir_.Join(relative)).c_str()); }
  void AddAttributes(std::string_view relative, DWORD add) const {
    ASSERT_TRUE(SetFileAttributesW(Wide(dir_.Join(relative)).c_str(), Attributes(relative) | add));
  }
  ULONGLONG LastWriteTime(std::string_view relative) const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(Wide(dir_.Join(relative)).c_str(), GetFileExInfoStandard, &data);
    return (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
  }
  void SetLastWriteTime(std::string_view relative, ULONGLONG time) const {
    HANDLE file =
        CreateFileW(Wide(dir_.Join(relative)).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME stamp{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &stamp));
    CloseHandle(file);
  }
  // Copies while another program holds `held` open and shares it with no one.
  CopyResult CopyWhileHeld(std::string_view held, std::string_view source, std::string_view destination) {
    HANDLE handle =
        CreateFileW(Wide(dir_.Join(held)).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(handle, INVALID_HANDLE_VALUE);
    CopyResult result = files_->CopyFile(dir_.Join(source), dir_.Join(destination));
    CloseHandle(handle);
    return result;
  }
  std::vector<std::string> Enumerate(const std::string& pattern) {
    std::vector<std::string> names;
    for (std::optional<std::string> name = files_->FirstEntry(pattern); name && !name->empty();
         name = files_->NextEntry()) {
      names.push_back(*name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // No temporary file of ours may be left in a folder after a copy.
  void ExpectOnlyFiles(std::vector<std::string> expected, std::string_view folder = "") const {
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dir_.List(folder), expected);
  }

  ScratchFolder dir_;
  std::unique_ptr<FileOps> files_ = std::make_unique<FileOps>(MakeWin32Disk(kShortWaits));
};

TEST_F(Win32FileOpsTest, HiddenAndSystemFilesAreNeitherListedNorDeleted) {
  for (const char* name : {"plain.dat", "ro.dat", "hidden.dat", "system.dat"}) dir_.WriteFile(name, name);
  AddAttributes("ro.dat", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  AddAttributes("hidden.dat", FILE_ATTRIBUTE_HIDDEN);
  AddAttributes("system.dat", FILE_ATTRIBUTE_SYSTEM);

  EXPECT_EQ(Enumerate(dir_.Folder()), (std::vector<std::string>{"plain.dat", "ro.dat"}));

  DeleteResult result = files_->DeleteMatching(dir_.Join("*.dat"));
  EXPECT_EQ(result.deleted, 1);
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_EQ(result.failures[0].path, dir_.Join("ro.dat"));
  EXPECT_EQ(result.failures[0].reason, "read-only");
  ExpectOnlyFiles({"hidden.dat", "ro.dat", "system.dat"});
}

TEST_F(Win32FileOpsTest, PatternsMatchLongNamesOnlyNeverShortNames) {
  // Windows also matches a pattern against each file's 8.3 name, where
  // «notes.txtold» is something like NOTE~1.TXT and so matches "*.txt".
  for (const char* name : {"a.txt", "notes.txtold", "song.mp3bak", "namedata1"}) dir_.WriteFile(name, "x");

  EXPECT_EQ(Enumerate(dir_.Join("*.txt")), std::vector<std::string>{"a.txt"});
  EXPECT_EQ(Enumerate(dir_.Join("*.MP3")), std::vector<std::string>{});
  EXPECT_EQ(Enumerate(dir_.Join("NameData*.*")), std::vector<std::string>{"namedata1"});

  EXPECT_EQ(files_->DeleteMatching(dir_.Join("*.txt")).deleted, 1);
  ExpectOnlyFiles({"namedata1", "notes.txtold", "song.mp3bak"});
}

TEST_F(Win32FileOpsTest, ACopyLeavesAnOrdinaryFileWithTheSourcesLastWriteTime) {
  constexpr ULONGLONG kJanuary2001 = 126227808000000000ULL;
  dir_.WriteFile("src.dat", "new content");
  AddAttributes("src.dat", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  SetLastWriteTime("src.dat", kJanuary2001);
  dir_.WriteFile("dst.dat", "old");
  AddAttributes("dst.dat", FILE_ATTRIBUTE_HIDDEN);

  CopyResult result = files_->CopyFile(dir_.Join("src.dat"), dir_.Join("dst.dat"));

  ASSERT_EQ(result.outcome, CopyOutcome::kCopied) << result.reason;
  EXPECT_EQ(dir_.ReadFile("dst.dat"), "new content");
  EXPECT_EQ(Attributes("dst.dat") & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), 0u);
  EXPECT_EQ(LastWriteTime("dst.dat"), kJanuary2001);
  ExpectOnlyFiles({"dst.dat", "src.dat"});
}

// A large copy lets its caller in between its megabytes, and only while the
// hook is set.
TEST_F(Win32FileOpsTest, ALargeCopyCallsTheChunkHookBetweenItsChunks) {
  const std::string content((5u << 19) + 7, 'c');  // two and a half megabytes
  dir_.WriteFile("big.dat", content);
  int calls = 0;
  files_->SetChunkHook([&calls] { ++calls; });
  ASSERT_TRUE(files_->CopyFile(dir_.Join("big.dat"), dir_.Join("copy.dat")).ok());
  EXPECT_GE(calls, 2);
  EXPECT_TRUE(dir_.ReadFile("copy.dat") == content);
  files_->SetChunkHook(nullptr);
  const int before = calls;
  ASSERT_TRUE(files_->CopyFile(dir_.Join("big.dat"), dir_.Join("again.dat")).ok());
  EXPECT_EQ(calls, before);
}

TEST_F(Win32FileOpsTest, FilesInUseByAnotherProgramFailTheCopyAndStayAsTheyWere) {
  dir_.WriteFile("src.dat", "new");
  dir_.WriteFile("dst.dat", "old");

  CopyResult held_destination = CopyWhileHeld("dst.dat", "src.dat", "dst.dat");
  EXPECT_EQ(held_destination.outcome, CopyOutcome::kFailed);
  EXPECT_FALSE(held_destination.reason.empty());
  EXPECT_EQ(dir_.ReadFile("dst.dat"), "old");

  CopyResult held_source = CopyWhileHeld("src.dat", "src.dat", "copy.dat");
  EXPECT_EQ(held_source.outcome, CopyOutcome::kFailed) << "a source in use is not a missing source";
  EXPECT_EQ(held_source.reason, "in use by another program");

  ExpectOnlyFiles({"dst.dat", "src.dat"});
}

// Whether a byte-range lock keeps other handles from reading: Windows
// enforces it, Wine does not (and refuses locks through read-only handles).
bool ReadingIsBlockedAt(const std::wstring& path, DWORD offset) {
  HANDLE reader = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  char byte = 0;
  DWORD got = 0;
  OVERLAPPED at{};
  at.Offset = offset;
  bool blocked = !ReadFile(reader, &byte, 1, &got, &at);
  CloseHandle(reader);
  return blocked;
}

TEST_F(Win32FileOpsTest, ACopyThatFailsMidwayLeavesTheOldDestinationAndNoTemporaryFile) {
  // Another program locks a range deep inside the source: the first
  // megabytes copy, then reading stops with a lock violation.
  constexpr DWORD kLockedAt = 3u << 20;
  dir_.WriteFile("src.dat", std::string(kLockedAt + 4096, 's'));
  dir_.WriteFile("dst.dat", "old content");
  std::wstring source = Wide(dir_.Join("src.dat"));
  HANDLE locker = CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locker, INVALID_HANDLE_VALUE);
  OVERLAPPED at{};
  at.Offset = kLockedAt;
  if (!LockFileEx(locker, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 16, 0, &at) ||
      !ReadingIsBlockedAt(source, kLockedAt)) {
    CloseHandle(locker);
    GTEST_SKIP() << "byte-range locks do not block reading here";
  }

  CopyResult result = files_->CopyFile(dir_.Join("src.dat"), dir_.Join("dst.dat"));
  UnlockFileEx(locker, 0, 16, 0, &at);
  CloseHandle(locker);

  EXPECT_EQ(result.outcome, CopyOutcome::kFailed);
  EXPECT_EQ(result.reason, "in use by another program");  // the locked range, read midway
  EXPECT_TRUE(dir_.ReadFile("dst.dat") == "old content") << "the old destination changed";
  ExpectOnlyFiles({"dst.dat", "src.dat"});
}

TEST_F(Win32FileOpsTest, DeviceNamesAreNotFiles) {
  // "nul.txt", "CON" or "com1.dat" open devices on Windows: a copy from
  // them would read nothing, or wait for a keyboard or a serial port.
  dir_.WriteFile("dst.txt", "old");
  EXPECT_EQ(files_->CopyFile(dir_.Join("nul.txt"), dir_.Join("dst.txt")).outcome, CopyOutcome::kSourceMissing);
  EXPECT_EQ(files_->CopyFile(dir_.Join("CON"), dir_.Join("dst.txt")).outcome, CopyOutcome::kSourceMissing);
  EXPECT_EQ(files_->CopyFile(dir_.Join("com1.dat"), dir_.Join("dst.txt")).outcome, CopyOutcome::kSourceMissing);
  EXPECT_EQ(files_->CopyFile(dir_.Join("dst.txt"), dir_.Join("LPT1.txt")).outcome, CopyOutcome::kFailed);
  EXPECT_FALSE(files_->OpenForReading(dir_.Join("nul")));
  EXPECT_FALSE(files_->OpenForWriting(dir_.Join("Aux.txt")));
  EXPECT_EQ(dir_.ReadFile("dst.txt"), "old");
  // Names that only start like a device are ordinary.
  EXPECT_TRUE(files_->CopyFile(dir_.Join("dst.txt"), dir_.Join("console.txt")).ok());
  EXPECT_TRUE(files_->CopyFile(dir_.Join("console.txt"), dir_.Join("com10.txt")).ok());
  ExpectOnlyFiles({"com10.txt", "console.txt", "dst.txt"});
}

TEST_F(Win32FileOpsTest, ALeftoverTemporaryFileIsNeverTakenForData) {
  // As a crash could leave it: our name, and (here) not even hidden.
  dir_.WriteFile(".~tolvashu-0123456789abcdef.tmp", "half");
  dir_.WriteFile("kept.dat", "data");
  SetFileAttributesW(Wide(dir_.Join(".~tolvashu-0123456789abcdef.tmp")).c_str(), FILE_ATTRIBUTE_NORMAL);

  EXPECT_EQ(Enumerate(dir_.Folder()), std::vector<std::string>{"kept.dat"});
  EXPECT_EQ(files_->DeleteMatching(dir_.Join("*.tmp")).deleted, 0);
  EXPECT_TRUE(dir_.Exists(".~tolvashu-0123456789abcdef.tmp"));
}

TEST_F(Win32FileOpsTest, AFolderIsTheSameFolderUnderItsShortName) {
  dir_.MakeFolder("Game Folder Long Name");
  dir_.MakeFolder("Game Folder Other Name");
  std::string game = dir_.Join("Game Folder Long Name");
  wchar_t short_path[MAX_PATH];
  DWORD length = GetShortPathNameW(Wide(game).c_str(), short_path, MAX_PATH);
  ASSERT_TRUE(length > 0 && length < MAX_PATH);
  std::string short_name = testing::FromPath(std::filesystem::path(short_path));
  ASSERT_NE(short_name, game);

  EXPECT_TRUE(files_->IsSameFolder(game + "\\", short_name));
  EXPECT_FALSE(files_->IsSameFolder(dir_.Join("Game Folder Other Name"), short_name));
}

TEST_F(Win32FileOpsTest, MissingDrivesAndWindowsWildcardsAreMalformedWhileAFileIsNoFolder) {
  wchar_t unused = 0;
  for (wchar_t letter = L'Z'; letter > L'C' && !unused; --letter) {
    const wchar_t root[] = {letter, L':', L'\\', L'\0'};
    if (GetDriveTypeW(root) == DRIVE_NO_ROOT_DIR) unused = letter;
  }
  ASSERT_NE(unused, 0) << "every drive letter is taken";
  std::string drive(1, static_cast<char>(unused));
  dir_.WriteFile("file.dat", "x");

  EXPECT_EQ(files_->FirstEntry(drive + ":\\G\\"), std::nullopt);
  EXPECT_EQ(files_->NextEntry(), std::nullopt);
  // < > and " are wildcards to Windows ("<" is a star of its own).
  EXPECT_EQ(files_->FirstEntry(dir_.Join("f<")), std::nullopt);
  EXPECT_EQ(files_->DeleteMatching(dir_.Join("f<")).deleted, 0);
  EXPECT_EQ(files_->FirstEntry(dir_.Folder("file.dat")), "");
  ExpectOnlyFiles({"file.dat"});
}

TEST_F(Win32FileOpsTest, FolderNamesOutsideCodePage932WorkEverywhere) {
  const std::string korean = "한글 폴더";
  const std::string emoji = "\xF0\x9F\x98\x80\xE5\xB9\xB4\xE8\xA1\xA8";  // 😀年表
  ASSERT_TRUE(files_->MakeFolder(dir_.Join(korean)));
  ASSERT_TRUE(files_->MakeFolder(dir_.Join(korean + "/" + emoji)));
  std::string folder = dir_.Folder(korean + "/" + emoji);
  dir_.WriteFile("source.dat", "data");

  ASSERT_TRUE(files_->CopyFile(dir_.Join("source.dat"), folder + "표.dat").ok());
  EXPECT_EQ(files_->FirstEntry(folder), "표.dat");
  EXPECT_TRUE(files_->IsSameFolder(folder, dir_.Join(korean) + "\\" + emoji));
  ASSERT_TRUE(files_->OpenForWriting(folder + "line.txt"));
  ASSERT_TRUE(files_->CloseAll());
  ASSERT_TRUE(files_->OpenForReading(folder + "표.dat"));
  EXPECT_TRUE(files_->CloseAll());
  EXPECT_EQ(files_->DeleteMatching(folder + "*.*").deleted, 2);
  ExpectOnlyFiles({}, korean + "/" + emoji);
}

// Removes a chain of nested folders that is too deep for the scratch
// folder's own clean-up, deepest first, with whatever files they hold.
class DeepFolders {
 public:
  explicit DeepFolders(std::string root) : root_(std::move(root)) {}
  ~DeepFolders() {
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) {
      std::wstring folder = L"\\\\?\\" + Wide(*it);
      WIN32_FIND_DATAW entry;
      HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
      for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &entry)) {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
      }
      if (find != INVALID_HANDLE_VALUE) FindClose(find);
      RemoveDirectoryW(folder.c_str());
    }
  }
  // Appends one level and returns its path.
  const std::string& Add(const std::string& name) {
    folders_.push_back((folders_.empty() ? root_ : folders_.back()) + "\\" + name);
    return folders_.back();
  }

 private:
  std::string root_;
  std::vector<std::string> folders_;
};

TEST_F(Win32FileOpsTest, PathsLongerThanTheClassicLimitWork) {
  DeepFolders deep_folders(dir_.path());
  std::string deep;
  for (char level = 'a'; level < 'g'; ++level) {
    deep = deep_folders.Add(std::string(50, level));
    ASSERT_TRUE(files_->MakeFolder(deep)) << deep;
  }
  deep += "\\";
  ASSERT_GT(deep.size(), static_cast<std::size_t>(MAX_PATH));
  dir_.WriteFile("source.dat", "deep");

  ASSERT_TRUE(files_->CopyFile(dir_.Join("source.dat"), deep + "MAINDATA.DAT").ok());
  EXPECT_TRUE(files_->CopyFile(deep + "maindata.dat", deep + "copy.dat").ok());
  EXPECT_EQ(Enumerate(deep), (std::vector<std::string>{"MAINDATA.DAT", "copy.dat"}));
  EXPECT_TRUE(files_->IsSameFolder(deep, deep + "..\\" + std::string(50, 'f')));
  EXPECT_EQ(files_->DeleteMatching(deep + "*.dat").deleted, 2);
}

// Wine accepts long paths without the prefix, so the form itself is checked.
TEST_F(Win32FileOpsTest, LongPathsGetTheLongPathPrefixWhereItCanExpressThem) {
  const std::string deep(300, 'd');
  const std::wstring wide_deep(deep.begin(), deep.end());
  EXPECT_EQ(ToWin32Path("C:\\game\\MAINDATA.DAT"), L"C:\\game\\MAINDATA.DAT");
  EXPECT_EQ(ToWin32Path("C:\\" + deep), L"\\\\?\\C:\\" + wide_deep);
  EXPECT_EQ(ToWin32Path("C:\\game\\..\\" + deep), L"\\\\?\\C:\\" + wide_deep);  // made full first
  EXPECT_EQ(ToWin32Path("\\\\server\\share\\" + deep), L"\\\\?\\UNC\\server\\share\\" + wide_deep);
  EXPECT_EQ(ToWin32Path("\\\\.\\pipe\\" + deep), L"\\\\.\\pipe\\" + wide_deep);  // a device path stays as it is
}

// The decision itself: a folder denied by its permissions or a network folder
// that dropped out cannot be listed, and Wine running as root cannot deny one.
TEST_F(Win32FileOpsTest, OnlyNoMatchOrNoFolderMeansNothingToList) {
  const std::string there = dir_.Folder(), missing = dir_.Folder("missing");
  EXPECT_TRUE(FoundNothing(there, ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(FoundNothing(there, ERROR_NO_MORE_FILES));
  EXPECT_TRUE(FoundNothing(missing, ERROR_PATH_NOT_FOUND));
  for (DWORD error : {ERROR_ACCESS_DENIED, ERROR_NETNAME_DELETED, ERROR_BAD_NETPATH, ERROR_PATH_NOT_FOUND}) {
    EXPECT_FALSE(FoundNothing(there, error)) << "error " << error;
  }
}

TEST_F(Win32FileOpsTest, EachSystemErrorGivesTheCauseTheUserCanActOn) {
  const std::pair<DWORD, FailureCause> kRows[] = {
      {ERROR_SHARING_VIOLATION, FailureCause::kInUse},   {ERROR_LOCK_VIOLATION, FailureCause::kInUse},
      {ERROR_USER_MAPPED_FILE, FailureCause::kInUse},    {ERROR_ACCESS_DENIED, FailureCause::kDenied},
      {ERROR_WRITE_PROTECT, FailureCause::kDenied},      {ERROR_DISK_FULL, FailureCause::kDiskFull},
      {ERROR_HANDLE_DISK_FULL, FailureCause::kDiskFull}, {ERROR_CRC, FailureCause::kUnreadable},
      {ERROR_READ_FAULT, FailureCause::kUnreadable},     {ERROR_SECTOR_NOT_FOUND, FailureCause::kUnreadable},
      {ERROR_FILE_NOT_FOUND, FailureCause::kOther},      {ERROR_GEN_FAILURE, FailureCause::kOther},
  };
  for (const auto& [error, cause] : kRows) EXPECT_EQ(CauseOfSystemError(error), cause) << "error " << error;
}

// Holds a file as a virus scanner does, reading it without sharing its
// deletion (and, with `sharing` 0, without sharing anything), and lets go
// of it after `ms`.
class PassingHold {
 public:
  PassingHold(const std::wstring& path, DWORD ms, DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE)
      : handle_(CreateFileW(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr)),
        release_([this, ms] {
          Sleep(ms);
          if (held()) CloseHandle(handle_);
        }) {}
  ~PassingHold() { release_.join(); }
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
  std::thread release_;
};

// With the usual waits: each change the transfer makes to a file succeeds
// once the other program lets go of it, and the caller's windows are let in
// meanwhile. A read-only file, which the file layer refuses before any
// call, and a folder where a file is meant fail at once.
TEST_F(Win32FileOpsTest, APassingLockIsWaitedOutButAReadOnlyFileOrAFolderFailsAtOnce) {
  constexpr DWORD kPassingMs = 150;
  files_ = MakePlatformFileOps();
  int waits = 0;
  files_->SetChunkHook([&waits] { ++waits; });
  dir_.MakeFolder("aside");
  for (const char* name : {"moved.dat", "removed.dat", "read.dat", "written.dat", "replaced.dat", "ro.dat"}) {
    dir_.WriteFile(name, "old");
  }
  const auto while_held = [&](const char* name, DWORD sharing, const auto& change) {
    PassingHold hold(Wide(dir_.Join(name)), kPassingMs, sharing);
    ASSERT_TRUE(hold.held()) << name;
    const ULONGLONG start = GetTickCount64();
    EXPECT_TRUE(change()) << name;
    EXPECT_GE(GetTickCount64() - start, kPassingMs / 2) << name << ": changed while held";
  };
  const DWORD kNoDeletion = FILE_SHARE_READ | FILE_SHARE_WRITE;
  while_held("moved.dat", kNoDeletion,
             [&] { return files_->MoveIntoFolder(dir_.Join("moved.dat"), dir_.Join("aside")).moved; });
  while_held("removed.dat", kNoDeletion, [&] { return !files_->RemoveFile(dir_.Join("removed.dat")); });
  while_held("replaced.dat", kNoDeletion,
             [&] { return files_->CopyFile(dir_.Join("read.dat"), dir_.Join("replaced.dat")).ok(); });
  while_held("read.dat", 0, [&] { return files_->OpenForReading(dir_.Join("read.dat")) && files_->CloseAll(); });
  while_held("written.dat", 0, [&] { return files_->CreateEmpty(dir_.Join("written.dat")); });
  EXPECT_GE(waits, 5);
  EXPECT_EQ(dir_.ReadFile("aside/moved.dat"), "old");

  AddAttributes("ro.dat", FILE_ATTRIBUTE_READONLY);
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(files_->CopyFile(dir_.Join("read.dat"), dir_.Join("ro.dat")).cause, FailureCause::kDenied);
  EXPECT_EQ(files_->MoveIntoFolder(dir_.Join("ro.dat"), dir_.Join("aside")).failure->cause, FailureCause::kDenied);
  Result<void> removed = MakePlatformDisk()->RemoveFile(dir_.Join("aside"));
  EXPECT_EQ(removed.ok() ? DiskError::kFailed : removed.error().kind, DiskError::kWrongKind);
  EXPECT_LT(GetTickCount64() - start, 500u) << "waited for a lock that does not pass";
  ExpectOnlyFiles({"aside", "read.dat", "replaced.dat", "ro.dat", "written.dat"});
}

TEST_F(Win32FileOpsTest, WritingAHiddenFileKeepsItHiddenAndEmptiesIt) {
  // CREATE_ALWAYS would refuse a hidden file on Windows.
  dir_.WriteFile("PathDATA.txt", std::string(5000, 'x'));
  AddAttributes("PathDATA.txt", FILE_ATTRIBUTE_HIDDEN);

  ASSERT_TRUE(files_->CreateEmpty(dir_.Join("pathdata.TXT")));

  EXPECT_EQ(dir_.ReadFile("PathDATA.txt"), "");
  EXPECT_NE(Attributes("PathDATA.txt") & FILE_ATTRIBUTE_HIDDEN, 0u);
  ExpectOnlyFiles({"PathDATA.txt"});
}

}  // namespace
}  // namespace tolvashu
