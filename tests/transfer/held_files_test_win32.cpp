// Files that another program holds open. The running game, with each way of
// sharing them: a transfer copies what the sharing allows; a file it could
// not read, or move aside to replace, delete or empty it, stops the transfer,
// which is undone: the file keeps its content and is reported as in use. A
// virus scanner that holds every new file for a moment: the transfer waits
// each moment out and succeeds; a file the game holds for longer still fails,
// after the bound.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "disk_win32/win32_disk.h"
#include "engine_fixture.h"
#include "transfer/recovery.h"
#include "text/wide_text_win32.h"

namespace tolvashu::testing {
namespace {

// hold_file.exe, started beside this test program: the running game holding
// one file, or a virus scanner holding each file created, renamed or written
// in a folder (and its subfolders) for a moment, until it is released.
class HeldFile {
 public:
  HeldFile(const std::string& path, const char* access, const char* sharing)
      : HeldFile(L"\"" + Utf8ToWide(path) + L"\" " + Utf8ToWide(access) + L" " + Utf8ToWide(sharing)) {}
  static std::unique_ptr<HeldFile> Scanner(const std::string& folder, int hold_ms) {
    const std::wstring arguments = L"--scan \"" + Utf8ToWide(folder) + L"\" " + std::to_wstring(hold_ms);
    return std::unique_ptr<HeldFile>(new HeldFile(arguments));
  }
  ~HeldFile() { Release(); }

  bool held() const { return held_; }
  const std::string& answer() const { return answer_; }

  // Ends the program once it has let go of its files; returns what it said
  // after its first answer (the scanner: a line "scanned NAME" for each file).
  std::string Release() {
    if (input_) CloseHandle(std::exchange(input_, nullptr));
    std::string said;
    char part[4096];
    DWORD got = 0;
    while (output_ && ReadFile(output_, part, sizeof part, &got, nullptr) && got > 0) said.append(part, got);
    if (started_) {
      WaitForSingleObject(info_.hProcess, 10000);
      CloseHandle(info_.hProcess);
      CloseHandle(info_.hThread);
      started_ = false;
    }
    if (output_) CloseHandle(std::exchange(output_, nullptr));
    return said;
  }

 private:
  // A holder that could not take the file is started once more: this tests
  // the transfer, not how reliably Wine starts a second process.
  explicit HeldFile(const std::wstring& arguments) {
    for (int attempt = 0; attempt < 2 && !held_; ++attempt) {
      if (attempt > 0) Release();
      Start(L"\"" + Holder() + L"\" " + arguments);
    }
  }

  void Start(std::wstring command) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE child_in = nullptr, child_out = nullptr;
    CreatePipe(&child_in, &input_, &inherit, 0);
    CreatePipe(&output_, &child_out, &inherit, 0);
    SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = child_in;
    startup.hStdOutput = child_out;
    startup.hStdError = child_out;
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info_);
    DWORD error = GetLastError();
    CloseHandle(child_in);
    CloseHandle(child_out);
    char answer[32] = {};
    DWORD got = 0;
    if (!started_) {
      answer_ = "not started, error " + std::to_string(error);
    } else if (!ReadFile(output_, answer, sizeof answer - 1, &got, nullptr)) {
      answer_ = "no answer, error " + std::to_string(GetLastError());
    } else {
      answer_ = answer;
    }
    held_ = answer_ == "held\n";
  }

  static std::wstring Holder() {
    wchar_t self[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, length);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"hold_file.exe";
  }

  HANDLE input_ = nullptr;
  HANDLE output_ = nullptr;
  PROCESS_INFORMATION info_{};
  bool started_ = false;
  bool held_ = false;
  std::string answer_;
};

// Waits short enough that a test of a file held for the whole transfer does
// not wait the usual bound out each time.
constexpr PassingLockWaits kShortWaits{1, 10, 30};

enum class Expect { kChanged, kKept, kEither };

struct HeldCase {
  const char* role;     // which file of the transfer the other program holds
  const char* access;   // how that program opened it
  const char* sharing;  // and what it lets others do
  Expect expect;
};

// Reading shares everything, deletion too: a game may rename or delete a file
// it holds while it is read ("rd"). Replacing, deleting and emptying need the
// holder to share deletion, so that the old file can be moved aside.
// Replacing a file that is open, even with deletion shared, is refused by
// some systems.
const HeldCase kCases[] = {
    {"source", "r", "none", Expect::kKept},    {"source", "r", "r", Expect::kChanged},
    {"source", "rw", "r", Expect::kChanged},   {"source", "rw", "rwd", Expect::kChanged},
    {"source", "rd", "rwd", Expect::kChanged},
    {"copied", "r", "none", Expect::kKept},    {"copied", "r", "r", Expect::kKept},
    {"copied", "r", "rw", Expect::kKept},      {"copied", "r", "rwd", Expect::kEither},
    {"copied", "rw", "r", Expect::kKept},      {"cleared", "r", "none", Expect::kKept},
    {"cleared", "r", "r", Expect::kKept},      {"cleared", "r", "rw", Expect::kKept},
    {"cleared", "r", "rwd", Expect::kChanged}, {"emptied", "r", "none", Expect::kKept},
    {"emptied", "r", "r", Expect::kKept},      {"emptied", "r", "rw", Expect::kKept},
    {"emptied", "r", "rwd", Expect::kChanged},
};

void PrintTo(const HeldCase& held, std::ostream* out) {
  *out << held.role << " held (" << held.access << ", sharing " << held.sharing << ")";
}

class HeldFiles : public EngineTest, public ::testing::WithParamInterface<HeldCase> {
 protected:
  HeldFiles() { files_ = std::make_unique<FileOps>(MakeWin32Disk(kShortWaits)); }
};

TEST_P(HeldFiles, AreCopiedWhenTheSharingAllowsAndOtherwiseKeptAndReportedAsInUse) {
  const HeldCase& held = GetParam();
  std::string role = held.role;
  // The file the other program holds, its content before, and after a transfer that could change it.
  std::string name = role == "cleared" ? "年表5.txt" : role == "emptied" ? "TaizinNow.dat" : "MAINDATA.DAT";
  std::string path = role == "source" ? scratch_.Join("pkg/" + name) : scratch_.Join("game/" + name);
  Source("MAINDATA.DAT", "new");
  Game(name, "old");
  std::string changed = role == "source" || role == "copied" ? "new" : role == "emptied" ? "" : "(deleted)";

  TransferReport report;
  {
    HeldFile holder(path, held.access, held.sharing);
    ASSERT_TRUE(holder.held()) << "hold_file.exe could not hold " << path << ": " << holder.answer();
    report = Transfer();
  }
  std::string now = GameFile(name).value_or("(deleted)");
  bool reported = false;
  for (const FileFailure& failure : report.failures) {
    EXPECT_EQ(failure.path, destination() + name) << failure.reason;
    EXPECT_EQ(failure.cause, FailureCause::kInUse) << failure.path << ": " << failure.reason;
    reported = true;
  }
  EXPECT_TRUE(now == "old" || now == changed) << now;
  EXPECT_EQ(reported, now != changed) << "what was not changed is reported, and only that";
  if (held.expect != Expect::kEither) {
    EXPECT_EQ(now == changed, held.expect == Expect::kChanged) << now;
  }
  // Old files still open elsewhere wait in their holding folder for the
  // next start, which removes them once they are free.
  RecoverUnfinishedTransfer(*files_, destination());
  for (const std::string& file : scratch_.List("game")) EXPECT_NE(file.rfind(".~", 0), 0u) << "left behind: " << file;
}

INSTANTIATE_TEST_SUITE_P(EveryShareMode, HeldFiles, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<HeldCase>& info) {
                           return std::string(info.param.role) + "_" + info.param.access + "_share_" +
                                  info.param.sharing;
                         });

// A game whose every data file the package replaces, beside a status file
// that the transfer empties and a chronology file that it clears.
class ScannedGame : public EngineTest {
 protected:
  static constexpr const char* kDataSet[] = {"MAINDATA.DAT",  "kosei00.dat",        "kosei01.dat",
                                             "年表1.txt",     "nationDATA/国1.dat", "pastDATA/p1.dat"};
  static constexpr int kScanMs = 300;  // how long the scanner holds each file

  ScannedGame() {
    for (const char* folder : {"pkg/nationDATA", "pkg/pastDATA", "game/nationDATA", "game/pastDATA"}) {
      scratch_.MakeFolder(folder);
    }
    for (const char* name : kDataSet) {
      Source(name, "new");
      Game(name, "old");
    }
    Game("Sison.dat", "status");
    Game("年表5.txt", "cleared");
  }

  void ExpectNothingOfOursLeft() const {
    for (const char* folder : {"game", "game/nationDATA", "game/pastDATA"}) {
      for (const std::string& name : scratch_.List(folder)) {
        EXPECT_NE(name.rfind(".~", 0), 0u) << "left behind in " << folder << ": " << name;
      }
    }
  }
};

TEST_F(ScannedGame, AnInstallWaitsOutAScannerThatHoldsEveryNewFileForAMoment) {
  std::unique_ptr<HeldFile> scanner = HeldFile::Scanner(scratch_.Join("game"), kScanMs);
  ASSERT_TRUE(scanner->held()) << "the scanner could not watch the game folder: " << scanner->answer();
  TransferReport report = Transfer();
  const std::string scanned = scanner->Release();

  for (const FileFailure& failure : report.failures) ADD_FAILURE() << failure.path << ": " << failure.reason;
  EXPECT_EQ(report.outcome, TransferOutcome::kCompleted);
  for (const char* name : kDataSet) EXPECT_EQ(GameFile(name), "new") << name;
  EXPECT_EQ(GameFile("Sison.dat"), "");
  EXPECT_FALSE(GameHas("年表5.txt"));
  ExpectNothingOfOursLeft();
  // It held files that the transfer renamed or removed afterwards: the
  // journal, a copy's content before it took its name, an old file in its
  // holding folder.
  EXPECT_NE(scanned.find("scanned .~tolvashu-"), std::string::npos) << scanned;
}

// The game holds MAINDATA.DAT for the whole transfer, without sharing its
// deletion: the transfer waits about the bound for it once, then fails and
// is undone, while the scanner holds every file the undo works on for a
// moment too.
TEST_F(ScannedGame, AFileTheGameHoldsFailsAfterTheBoundAndTheUndoWaitsOutTheScanner) {
  HeldFile game(scratch_.Join("game/MAINDATA.DAT"), "r", "r");
  ASSERT_TRUE(game.held()) << "hold_file.exe could not hold MAINDATA.DAT: " << game.answer();
  std::unique_ptr<HeldFile> scanner = HeldFile::Scanner(scratch_.Join("game"), kScanMs);
  ASSERT_TRUE(scanner->held()) << "the scanner could not watch the game folder: " << scanner->answer();
  const ULONGLONG start = GetTickCount64();
  TransferReport report = Transfer();
  const ULONGLONG took = GetTickCount64() - start;
  const std::string scanned = scanner->Release();
  game.Release();

  ASSERT_EQ(FailedPaths(report), std::vector<std::string>{destination() + "MAINDATA.DAT"}) << scanned;
  EXPECT_EQ(report.failures[0].cause, FailureCause::kInUse) << report.failures[0].reason;
  EXPECT_EQ(report.outcome, TransferOutcome::kUndone);
  const ULONGLONG bound = PassingLockWaits{}.total_ms;
  EXPECT_GE(took, bound) << "given up before the bound";
  EXPECT_LT(took, bound + 6000) << "waited more than once for the held file";
  for (const char* name : kDataSet) EXPECT_EQ(GameFile(name), "old") << name;
  EXPECT_EQ(GameFile("Sison.dat"), "status");
  EXPECT_EQ(GameFile("年表5.txt"), "cleared");
  ExpectNothingOfOursLeft();
}

}  // namespace
}  // namespace tolvashu::testing
