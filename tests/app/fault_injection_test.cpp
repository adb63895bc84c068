// Each of the four operations is run over the same game and package once
// without faults, then once for every file call it makes with that one call
// failing (each cause in turn), and once for every call with the program
// stopping dead there, as a kill does. After a failure the scratch folder is
// exactly as before (names, case, content, times, attributes) and the box
// says so and why; a failure the operation could absorb leaves exactly the
// fault-free result. After a kill, the next start's recovery leaves exactly
// the state before, or the state after when the transfer had committed. No
// file of our own remains once a recovery has run. The operation ends as
// failed exactly when it shows a failure report.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/app_texts.h"
#include "app/operation_table.h"
#include "app/operations.h"
#include "disk/temporary_name.h"
#include "operation_cases.h"
#include "sample_folders.h"
#include "scripted_ui.h"
#include "support/current_folder_guard.h"
#include "support/faulty_disk.h"
#include "transfer/recovery.h"

namespace tolvashu::testing {
namespace {

using Files = std::map<std::string, std::string>;  // path below the scratch folder -> exact state

constexpr FailureCause kCauses[] = {FailureCause::kInUse, FailureCause::kDenied, FailureCause::kDiskFull,
                                    FailureCause::kUnreadable};
const char* kAdvice[] = {texts::kAdviceInUse, texts::kAdviceDenied, texts::kAdviceDiskFull, texts::kAdviceCheckFiles};

// Kinds whose failures carry the injected cause into the box (a folder
// that cannot be made tells no cause: the copy into it fails then).
bool CarriesCause(FaultKind kind) {
  return kind != FaultKind::kLook && kind != FaultKind::kWrite && kind != FaultKind::kSync &&
         kind != FaultKind::kRemove && kind != FaultKind::kMakeFolder;
}

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

// One run of an operation on a fresh fixture, through the fault-injecting layer.
struct FaultRun {
  explicit FaultRun(const OperationCase& operation, const std::function<void(FaultyDisk&)>& arm = nullptr) {
    MakeFixture(scratch);
    before = ExactSnapshot(scratch, "");
    CurrentFolderGuard in_package(scratch.Join("package"));
    if (arm) arm(faulty);
    ui.ConfirmFolder(scratch.Join("game"));
    result = operations.Run(*operation.row);
    after = ExactSnapshot(scratch, "");
    for (const char* tail : kDestinationTails) recoveries.push_back(RecoverUnfinishedTransfer(*real, Game() + tail));
    recovered = ExactSnapshot(scratch, "");
  }

  std::string Game() const { return scratch.Join("game"); }
  std::string Box() const { return ui.messages.empty() ? "" : ui.messages.back().text; }

  // Paths of our own making anywhere below the scratch folder.
  std::vector<std::string> OwnFilesLeft() const {
    std::vector<std::string> own;
    for (const auto& [path, state] : recovered) {
      if (path.find(kOwnNamePrefix) != std::string::npos) own.push_back(path);
    }
    return own;
  }

  ScratchFolder scratch;
  std::unique_ptr<FileOps> real = MakePlatformFileOps();
  FaultyDisk faulty{real->disk()};
  FileOps files{faulty};
  AppState state;
  ScriptedUi ui{state};
  Operations operations{files, ui, state};
  OperationResult result = OperationResult::kCancelled;
  Files before, after, recovered;
  std::vector<Recovery> recoveries;
};

// The first difference between two exact snapshots, for the message.
std::string FirstDifference(const Files& expected, const Files& actual) {
  auto [e, a] = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
  if (e == expected.end() && a == actual.end()) return "none";
  if (e == expected.end() || (a != actual.end() && a->first < e->first)) return "extra " + a->first;
  if (a == actual.end() || a->first != e->first) return "missing " + e->first;
  return e->first + ": «" + e->second + "» became «" + a->second + "»";
}

// The times of the files that the runs made empty themselves, now: two
// runs cannot agree on those. A status file that was not there and could
// not be made empty counts as made: nothing old survives either way.
Files WithoutTimesOfNewEmptyFiles(Files files, const Files& before = {}) {
  files = WithoutTimesOfEmptyFiles(std::move(files));
  for (auto it = files.begin(); it != files.end();) {
    const std::string& state = it->second;
    bool new_and_empty = StartsWith(state, " ") && state.find("<folder>") == std::string::npos;
    it = new_and_empty && before.count(it->first) == 0 ? files.erase(it) : std::next(it);
  }
  return files;
}

void ExpectSame(const Files& expected, const Files& actual, const std::string& what) {
  EXPECT_TRUE(expected == actual) << what << ": " << FirstDifference(expected, actual);
}

class FaultInjection : public ::testing::TestWithParam<OperationCase> {
 protected:
  void SetUp() override {
    fault_free_ = std::make_unique<FaultRun>(GetParam());
    ASSERT_EQ(fault_free_->ui.messages.size(), 1u);
    ASSERT_EQ(fault_free_->Box(), GetParam().row->completion_message) << fault_free_->Box();
    ExpectSame(fault_free_->after, fault_free_->recovered, "fault-free run, then a recovery");
    ASSERT_TRUE(fault_free_->OwnFilesLeft().empty());
  }

  std::unique_ptr<FaultRun> fault_free_;
};

TEST_P(FaultInjection, AnyFailingCallLeavesTheStateBeforeAndSaysWhy) {
  int runs = 0;
  for (FaultKind kind : kFaultKinds) {
    for (int nth = 1; nth <= fault_free_->faulty.Calls(kind); ++nth) {
      const int cause = nth % 4;
      FaultRun run(GetParam(), [&](FaultyDisk& f) { f.FailNth(kind, nth, kCauses[cause]); });
      std::string what = std::string(GetParam().name) + ", " + FaultKindName(kind) + " call " + std::to_string(nth);
      ASSERT_TRUE(run.faulty.Failed()) << what << ": the call never came";
      const std::string box = run.Box();
      EXPECT_EQ(StartsWith(box, texts::kReportUndoneHead) || StartsWith(box, texts::kReportHead),
                run.result == OperationResult::kFailed)
          << what << ": the result does not tell the report";
      if (box == GetParam().row->completion_message) {
        ExpectSame(WithoutTimesOfNewEmptyFiles(fault_free_->after, run.before),
                   WithoutTimesOfNewEmptyFiles(run.recovered, run.before), what + " (absorbed)");
      } else {
        ExpectSame(run.before, run.after, what + ", box «" + box + "»");
        EXPECT_TRUE(StartsWith(box, texts::kReportUndoneHead) || StartsWith(box, texts::kReportHead))
            << what << ": " << box;
        if (CarriesCause(kind) && StartsWith(box, texts::kReportUndoneHead)) {
          EXPECT_NE(box.find(kAdvice[cause]), std::string::npos) << what << ": no advice for the cause\n" << box;
        }
        ExpectSame(run.before, run.recovered, what + ", then a recovery");
      }
      EXPECT_EQ(run.OwnFilesLeft(), std::vector<std::string>{}) << what;
      ++runs;
    }
  }
  EXPECT_GT(runs, 40) << "too few file calls to be a real fixture";
  RecordProperty("runs", runs);
}

TEST_P(FaultInjection, AKillAtAnyCallIsUndoneOrFinishedByTheNextStart) {
  const int calls = fault_free_->faulty.AllCalls();
  for (int nth = 1; nth <= calls; ++nth) {
    FaultRun run(GetParam(), [&](FaultyDisk& f) { f.StopDeadAt(nth); });
    const std::vector<std::string>& log = run.faulty.durability_log();
    std::string what = std::string(GetParam().name) + ", killed at call " + std::to_string(nth) + " after «" +
                       (log.empty() ? "" : log.back()) + "»";
    bool committed = std::find(log.begin(), log.end(), "journal commit") != log.end();
    if (committed) {
      ExpectSame(WithoutTimesOfNewEmptyFiles(fault_free_->after), WithoutTimesOfNewEmptyFiles(run.recovered), what);
    } else {
      ExpectSame(run.before, run.recovered, what);
    }
    EXPECT_EQ(run.OwnFilesLeft(), std::vector<std::string>{}) << what;
    for (const Recovery& recovery : run.recoveries) {
      EXPECT_TRUE(recovery.failures.empty()) << what << ": " << recovery.failures.front().path;
    }
  }
  EXPECT_GT(calls, 100) << "too few file calls to be a real fixture";
  RecordProperty("runs", calls);
}

// What makes a power cut at any moment leave the old state or the new one:
// the new files and the journal durable before the commit mark, the mark
// durable before the first old file is removed.
TEST_P(FaultInjection, CommitsInTheOrderThatSurvivesAPowerCut) {
  const std::vector<std::string>& log = fault_free_->faulty.durability_log();
  auto at = [&](const std::string& entry) { return std::find(log.begin(), log.end(), entry) - log.begin(); };
  auto first_held_removal = std::find_if(log.begin(), log.end(), [](const std::string& entry) {
    return StartsWith(entry, "remove ") && entry.find(".~tolvashu-hold-") != std::string::npos;
  });
  const auto commit = at("journal commit");
  ASSERT_LT(commit, static_cast<long>(log.size()));
  EXPECT_LT(at("sync folder"), at("durable"));  // the journal's entry, at the start
  EXPECT_LT(at("durable"), commit);
  EXPECT_EQ(log[commit - 1], "journal sync");
  ASSERT_LT(commit + 1, static_cast<long>(log.size()));
  EXPECT_EQ(log[commit + 1], "journal sync");
  EXPECT_GT(first_held_removal - log.begin(), commit + 1);
}

INSTANTIATE_TEST_SUITE_P(Operations, FaultInjection, ::testing::ValuesIn(kOperations),
                         [](const ::testing::TestParamInfo<OperationCase>& info) { return info.param.name; });

}  // namespace
}  // namespace tolvashu::testing
