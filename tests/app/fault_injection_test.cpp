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
#include "disk/path_parts.h"
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

using Arm = std::function<void(FaultyDisk&)>;

// One run of an operation on a fresh fixture, through the fault-injecting
// layer, then the next start's recovery: through a second fault-injecting
// layer when `arm_recovery` is given (and then once more on the real disk,
// as the start after it), on the real disk otherwise. `cut` acts on the
// disk between the run and the next start, as a power cut does.
struct FaultRun {
  explicit FaultRun(const OperationCase& operation, const Arm& arm = nullptr, const Arm& arm_recovery = nullptr,
                    const Arm& cut = nullptr) {
#ifdef _WIN32
    MakeFixture(scratch);
#else
    MakeFixtureWithCaseTwins(scratch);  // an undo that finds names in any case would take a twin
#endif
    before = ExactSnapshot(scratch, "");
    CurrentFolderGuard in_package(scratch.Join("package"));
    if (arm) arm(faulty);
    ui.ConfirmFolder(scratch.Join("game"));
    result = operations.Run(*operation.row);
    if (cut) cut(faulty);
    after = ExactSnapshot(scratch, "");
    if (arm_recovery) {
      FileOps recovering{recovery_faulty};
      arm_recovery(recovery_faulty);
      for (const char* tail : kDestinationTails) {
        faulty_recoveries.push_back(RecoverUnfinishedTransfer(recovering, Game() + tail));
      }
      after_faulty_recovery = ExactSnapshot(scratch, "");
    }
    for (const char* tail : kDestinationTails) recoveries.push_back(RecoverUnfinishedTransfer(*real, Game() + tail));
    recovered = ExactSnapshot(scratch, "");
  }

  std::string Game() const { return scratch.Join("game"); }
  std::string Box() const { return ui.messages.empty() ? "" : ui.messages.back().text; }

  // Paths of our own making anywhere below the scratch folder.
  std::vector<std::string> OwnFilesLeft() const {
    std::vector<std::string> own;
    for (const auto& [path, state] : recovered) {
      for (std::size_t start = 0; start < path.size();) {
        std::size_t end = std::min(path.find('/', start), path.size());
        if (IsOwnName(path.substr(start, end - start))) {
          own.push_back(path);
          break;
        }
        start = end + 1;
      }
    }
    return own;
  }

  ScratchFolder scratch;
  std::unique_ptr<FileOps> real = MakePlatformFileOps();
  FaultyDisk faulty{real->disk()};
  FaultyDisk recovery_faulty{real->disk()};
  FileOps files{faulty};
  AppState state;
  ScriptedUi ui{state};
  Operations operations{files, ui, state};
  OperationResult result = OperationResult::kCancelled;
  Files before, after, after_faulty_recovery, recovered;
  std::vector<Recovery> faulty_recoveries, recoveries;

  bool Committed() const {
    const std::vector<std::string>& log = faulty.durability_log();
    return std::find(log.begin(), log.end(), "journal commit") != log.end();
  }
  // Whether the commit mark was synced: what survives a power cut.
  bool CommitDurable() const {
    const std::vector<std::string>& log = faulty.durability_log();
    auto commit = std::find(log.begin(), log.end(), "journal commit");
    return std::find(commit, log.end(), "journal sync") != log.end();
  }
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

// `count` points spread evenly over `calls` calls, from 1: where a run is
// killed or failed when trying every call would cost too much.
std::vector<int> KillPointsSpread(int calls, int count) {
  std::vector<int> points;
  for (int i = 1; i <= count; ++i) points.push_back(std::max(1, calls * i / (count + 1)));
  return points;
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

  // The end state of a run after the next start: exactly after, when the
  // commit mark survived, else exactly before; none of our files left; the
  // next start told of no failure.
  void ExpectBeforeOrAfter(const FaultRun& run, bool committed, const std::string& what) const {
    if (committed) {
      ExpectSame(WithoutTimesOfNewEmptyFiles(fault_free_->after), WithoutTimesOfNewEmptyFiles(run.recovered), what);
    } else {
      ExpectSame(run.before, run.recovered, what);
    }
    EXPECT_EQ(run.OwnFilesLeft(), std::vector<std::string>{}) << what;
    for (const Recovery& recovery : run.recoveries) {
      EXPECT_TRUE(recovery.failures.empty()) << what << ": " << recovery.failures.front().path;
      EXPECT_LT(recovery.outcome, Recovery::kNotUndone) << what;
    }
  }

  // A run with one failing call of `kind` (cause `cause` of kCauses) ends
  // as the fault-free run did, when the failure could be absorbed, or with
  // a failure report that gives the advice for the cause, and the state
  // before, also after the next start's recovery; no file of ours is left.
  void ExpectToldOrAbsorbed(const FaultRun& run, FaultKind kind, int cause, const std::string& what) const {
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
  }

  std::unique_ptr<FaultRun> fault_free_;
};

TEST_P(FaultInjection, AnyFailingCallLeavesTheStateBeforeAndSaysWhy) {
  int runs = 0;
  for (FaultKind kind : kFaultKinds) {
    for (int nth = 1; nth <= fault_free_->faulty.Calls(kind); ++nth) {
      FaultRun run(GetParam(), [&](FaultyDisk& f) { f.FailNth(kind, nth, kCauses[nth % 4]); });
      ExpectToldOrAbsorbed(run, kind, nth % 4,
                           std::string(GetParam().name) + ", " + FaultKindName(kind) + " call " + std::to_string(nth));
      ++runs;
    }
  }
  EXPECT_GT(runs, 40) << "too few file calls to be a real fixture";
  RecordProperty("runs", runs);
}

// The plan made before the transfer only reads. A read of it failing, or
// the program killed while it reads, ends as any failure or kill does:
// the transfer that follows meets what the plan met, or runs as planned
// when the failure has passed. The points are spread over the calls the
// plan adds, which come before the transfer's own.
TEST_P(FaultInjection, AFailureOrKillWhilePlanningEndsAsAnyOther) {
  const Arm count_plan = [](FaultyDisk& f) { f.CountPlanReads(); };
  FaultRun planned(GetParam(), count_plan);
  int runs = 0;
  for (FaultKind kind : {FaultKind::kList, FaultKind::kLook, FaultKind::kOpenInput}) {
    const int plan_calls = planned.faulty.Calls(kind) - fault_free_->faulty.Calls(kind);
    ASSERT_GT(plan_calls, 0) << FaultKindName(kind) << ": the plan makes no such call";
    for (int nth : KillPointsSpread(plan_calls, 4)) {
      FaultRun run(GetParam(), [&](FaultyDisk& f) {
        f.CountPlanReads();
        f.FailNth(kind, nth, kCauses[nth % 4]);
      });
      ExpectToldOrAbsorbed(run, kind, nth % 4,
                           std::string(GetParam().name) + ", planning, " + FaultKindName(kind) + " call " +
                               std::to_string(nth));
      ++runs;
    }
  }
  for (int nth : KillPointsSpread(planned.faulty.AllCalls() - fault_free_->faulty.AllCalls(), 6)) {
    FaultRun run(GetParam(), [&](FaultyDisk& f) {
      f.CountPlanReads();
      f.StopDeadAt(nth);
    });
    ExpectBeforeOrAfter(run, run.Committed(), std::string(GetParam().name) + ", killed planning at call " +
                                                  std::to_string(nth));
    ++runs;
  }
  RecordProperty("runs", runs);
}

TEST_P(FaultInjection, AKillAtAnyCallIsUndoneOrFinishedByTheNextStart) {
  const int calls = fault_free_->faulty.AllCalls();
  for (int nth = 1; nth <= calls; ++nth) {
    FaultRun run(GetParam(), [&](FaultyDisk& f) { f.StopDeadAt(nth); });
    const std::vector<std::string>& log = run.faulty.durability_log();
    std::string what = std::string(GetParam().name) + ", killed at call " + std::to_string(nth) + " after «" +
                       (log.empty() ? "" : log.back()) + "»";
    ExpectBeforeOrAfter(run, run.Committed(), what);
  }
  EXPECT_GT(calls, 100) << "too few file calls to be a real fixture";
  RecordProperty("runs", calls);
}

// A recovery tells the truth: "undone" only when the folder is exactly as
// before, and "not undone" always with what stayed.
void ExpectTruthful(const FaultRun& run, const std::string& what) {
  bool undone = false, not_undone = false;
  for (const Recovery& recovery : run.faulty_recoveries) {
    undone = undone || recovery.outcome == Recovery::kUndone;
    not_undone = not_undone || recovery.outcome >= Recovery::kNotUndone;
    if (recovery.outcome >= Recovery::kNotUndone) {
      EXPECT_FALSE(recovery.failures.empty()) << what;
    }
  }
  if (undone && !not_undone) ExpectSame(run.before, run.after_faulty_recovery, what + ": said undone");
}

// A power cut at any call: what a kill there leaves, with every byte written
// since its last flush lost (the journal's unsynced tail, the content of
// the new files not yet made durable), as zeros of the same length at odd
// calls and cut off at even ones. The metadata up to the cut stands, which
// covers every prefix of the changes since the last flush. The next start
// ends exactly before, or after once the commit mark was durable, and says
// nothing failed.
TEST_P(FaultInjection, APowerCutAtAnyCallIsUndoneOrFinishedByTheNextStart) {
  const int calls = fault_free_->faulty.AllCalls();
  for (int nth = 1; nth <= calls; ++nth) {
    FaultRun run(GetParam(), [&](FaultyDisk& f) { f.StopDeadAt(nth); }, nullptr,
                 [&](FaultyDisk& f) { f.LoseUnflushedContent(nth % 2 == 1); });
    ExpectBeforeOrAfter(run, run.CommitDurable(), std::string(GetParam().name) + ", power cut at call " +
                                                      std::to_string(nth));
  }
  RecordProperty("runs", calls);
}

// A kill, then the next start's recovery killed or failing at each of its
// own calls, then the start after it: exactly the state before (or after,
// once committed), and every recovery on the way truthful. The same for a
// transfer whose own rollback is killed at each of its calls.
TEST_P(FaultInjection, AKillOrFailureInsideTheUndoIsTakenUpAgain) {
  int runs = 0;
  auto check = [&](const FaultRun& run, const std::string& what) {
    ExpectTruthful(run, what);
    ExpectBeforeOrAfter(run, run.Committed(), what);
    ++runs;
  };
  for (int kill : KillPointsSpread(fault_free_->faulty.AllCalls(), 3)) {
    FaultRun probe(GetParam(), [&](FaultyDisk& f) { f.StopDeadAt(kill); }, [](FaultyDisk&) {});
    const std::string killed = std::string(GetParam().name) + ", killed at call " + std::to_string(kill);
    for (int nth = 1; nth <= probe.recovery_faulty.AllCalls(); ++nth) {
      FaultRun run(GetParam(), [&](FaultyDisk& f) { f.StopDeadAt(kill); }, [&](FaultyDisk& f) { f.StopDeadAt(nth); });
      check(run, killed + ", its recovery killed at call " + std::to_string(nth));
    }
    for (FaultKind kind : kFaultKinds) {
      for (int nth = 1; nth <= probe.recovery_faulty.Calls(kind); ++nth) {
        FaultRun run(GetParam(), [&](FaultyDisk& f) { f.StopDeadAt(kill); },
                     [&](FaultyDisk& f) { f.FailNth(kind, nth, kCauses[nth % 4]); });
        check(run, killed + ", its recovery's " + FaultKindName(kind) + " call " + std::to_string(nth) + " failing");
      }
    }
  }
  // A failure midway, and the rollback that follows killed at each call.
  const int fail_at = std::max(1, fault_free_->faulty.Calls(FaultKind::kKeep) / 2);
  FaultRun failed(GetParam(), [&](FaultyDisk& f) { f.FailNth(FaultKind::kKeep, fail_at, FailureCause::kDenied); });
  ASSERT_GT(failed.faulty.FailedAtCall(), 0);
  for (int nth = failed.faulty.FailedAtCall() + 1; nth <= failed.faulty.AllCalls(); ++nth) {
    FaultRun run(GetParam(), [&](FaultyDisk& f) {
      f.FailNth(FaultKind::kKeep, fail_at, FailureCause::kDenied);
      f.StopDeadAt(nth);
    });
    check(run, std::string(GetParam().name) + ", rollback killed at call " + std::to_string(nth));
  }
  EXPECT_GT(runs, 50);
  RecordProperty("runs", runs);
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

// Where each folder is synced itself (file systems in user space), a new
// folder survives a power cut only through its parent: the commit syncs
// the parent of every folder the transfer made.
TEST_P(FaultInjection, TheCommitSyncsTheParentOfEveryFolderItMade) {
  const FaultyDisk& faulty = fault_free_->faulty;
  ASSERT_FALSE(faulty.durable_folders().empty());
  const std::vector<std::string>& synced = faulty.durable_folders().front();
  for (const std::string& made : faulty.made_folders()) {
    EXPECT_NE(std::find(synced.begin(), synced.end(), FolderPart(made)), synced.end()) << made;
  }
}

// A new file never has its name before the record that lets the undo
// remove it is durable: between the journal's last write and each keep
// lies a sync of the journal.
TEST_P(FaultInjection, RecordsAreDurableBeforeTheFilesTheyName) {
  bool unsynced = false;
  int keeps = 0;
  for (const std::string& entry : fault_free_->faulty.durability_log()) {
    if (entry == "journal write") unsynced = true;
    if (entry == "journal sync") unsynced = false;
    if (StartsWith(entry, "keep ")) {
      EXPECT_FALSE(unsynced) << entry << ": its record may not be on the disk yet";
      ++keeps;
    }
  }
  EXPECT_GT(keeps, 2);
}

INSTANTIATE_TEST_SUITE_P(Operations, FaultInjection, ::testing::ValuesIn(kOperations),
                         [](const ::testing::TestParamInfo<OperationCase>& info) { return info.param.name; });

}  // namespace
}  // namespace tolvashu::testing
