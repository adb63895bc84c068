// Files that another program (the running game) holds open, with each way of
// sharing them: a transfer copies what the sharing allows; a file it could
// not read, or move aside to replace, delete or empty it, stops the transfer,
// which is undone: the file keeps its content and is reported as in use.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>

#include "engine_fixture.h"
#include "transfer/recovery.h"
#include "text/wide_text_win32.h"

namespace tolvashu::testing {
namespace {

// hold_file.exe, started beside this test program, holding one file.
class HeldFile {
 public:
  // A holder that could not take the file is started once more: this tests
  // the transfer, not how reliably Wine starts a second process.
  HeldFile(const std::string& path, const char* access, const char* sharing) {
    for (int attempt = 0; attempt < 2 && !held_; ++attempt) {
      if (attempt > 0) Release();
      Start(L"\"" + Holder() + L"\" \"" + Utf8ToWide(path) + L"\" " + Utf8ToWide(access) + L" " + Utf8ToWide(sharing));
    }
  }
  ~HeldFile() { Release(); }

  bool held() const { return held_; }
  const std::string& answer() const { return answer_; }

  void Release() {
    if (input_) CloseHandle(std::exchange(input_, nullptr));
    if (started_) {
      WaitForSingleObject(info_.hProcess, 10000);
      CloseHandle(info_.hProcess);
      CloseHandle(info_.hThread);
      started_ = false;
    }
    if (output_) CloseHandle(std::exchange(output_, nullptr));
  }

 private:
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

class HeldFiles : public EngineTest, public ::testing::WithParamInterface<HeldCase> {};

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

}  // namespace
}  // namespace tolvashu::testing
