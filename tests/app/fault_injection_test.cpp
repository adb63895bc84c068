// Each of the four operations is run over the same game and package once
// without faults, then once for every file call it makes, with that one call
// failing (each cause in turn). After every run: each file holds its old or
// its new content, or is missing only where the report names it; no stray
// file appears; every difference from the fault-free run is named in the
// report box, and only those; the source folder is untouched; the operation
// ends as failed exactly when it shows a report.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_texts.h"
#include "app/operations.h"
#include "operation_cases.h"
#include "sample_folders.h"
#include "scripted_ui.h"
#include "support/current_folder_guard.h"
#include "support/faulty_file_ops.h"

namespace tolvashu::testing {
namespace {

using Files = std::map<std::string, std::string>;  // path below the scratch folder -> content

constexpr FailureCause kCauses[] = {FailureCause::kInUse, FailureCause::kDenied, FailureCause::kDiskFull,
                                    FailureCause::kUnreadable};
const char* kAdvice[] = {texts::kAdviceInUse, texts::kAdviceDenied, texts::kAdviceDiskFull, texts::kAdviceCheckFiles};

// One run of an operation on a fresh fixture, through the fault-injecting layer.
struct FaultRun {
  FaultRun(const OperationCase& operation, FaultKind kind, int nth, FailureCause cause) {
    MakeFixture(scratch);
    before = Snapshot(scratch, "");
    CurrentFolderGuard in_package(scratch.Join("package"));
    faulty.FailNth(kind, nth, cause);
    ui.ConfirmFolder(scratch.Join("game"));
    result = operations.Run(*operation.row);
    after = Snapshot(scratch, "");
  }

  // The last box, with the names it lists as paths below the scratch folder.
  std::string Box() const { return ui.messages.empty() ? "" : ui.messages.back().text; }
  std::vector<std::string> ReportedPaths() const {
    std::vector<std::string> paths;
    std::string text = Box();
    if (text.rfind(texts::kReportHead, 0) != 0) return paths;
    std::string root = scratch.path() + NativeSeparator();
    for (std::size_t at = text.find('\r'); at != std::string::npos;) {
      std::size_t end = text.find('\r', at + 1);
      std::string line = text.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
      at = end;
      if (std::find(std::begin(kAdvice), std::end(kAdvice), line) != std::end(kAdvice)) break;
      if (line.rfind(texts::kReportMoreBefore, 0) == 0) ADD_FAILURE() << "more than ten names: " << text;
      std::string path = line.rfind(root, 0) == 0 ? line.substr(root.size()) : "game/" + line;
      for (char& c : path) c = c == '\\' ? '/' : c;
      paths.push_back(path);
    }
    return paths;
  }

  ScratchFolder scratch;
  std::unique_ptr<FileOps> real = MakePlatformFileOps();
  FaultyFileOps faulty{*real};
  AppState state;
  ScriptedUi ui{state};
  Operations operations{faulty, ui, state};
  Files before, after;
  OperationResult result = OperationResult::kCancelled;
};

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

// Whether the report explains a difference at `path`: it names the file, a
// folder holding it, the same place on the other side of the transfer, or
// the world file, which names the extra files.
bool Explains(const std::vector<std::string>& reported, const std::string& path, const OperationCase& operation) {
  for (const std::string& name : reported) {
    if (name == path || (name.back() == '/' && StartsWith(path, name))) return true;
    if (StartsWith(name, operation.source)) {
      std::string mirrored = operation.destination + name.substr(operation.source.size());
      if (mirrored == path || (mirrored.back() == '/' && StartsWith(path, mirrored))) return true;
    }
    if (name == "package/vumoworld.dat" && path == operation.destination + "haikei01.jpg") return true;
  }
  return false;
}

std::optional<std::string> Lookup(const Files& files, const std::string& path) {
  auto found = files.find(path);
  return found == files.end() ? std::nullopt : std::optional<std::string>(found->second);
}

void ExpectSound(const FaultRun& run, const Files& fault_free, const OperationCase& operation,
                 const std::string& what) {
  std::vector<std::string> reported = run.ReportedPaths();
  std::map<std::string, bool> paths;
  for (const Files* files : {&run.before, &fault_free, &run.after}) {
    for (const auto& entry : *files) paths[entry.first] = true;
  }
  for (const auto& [path, unused] : paths) {
    std::optional<std::string> old_content = Lookup(run.before, path), new_content = Lookup(fault_free, path),
                               now = Lookup(run.after, path);
    if (now && now != old_content && now != new_content) {
      ADD_FAILURE() << what << ": " << path << " holds neither its old nor its new content: «" << *now << "»";
    }
    // A status file that was not there is not made empty: nothing old survives either way.
    bool not_emptied = !now && !old_content && new_content == "";
    if (now != new_content && !not_emptied && !Explains(reported, path, operation)) {
      ADD_FAILURE() << what << ": " << path << " differs from the run without faults, and the box does not say so:\n"
                    << run.Box();
    }
    bool in_source = StartsWith(path, operation.source) && !StartsWith(path, operation.destination);
    if (in_source && now != old_content) ADD_FAILURE() << what << ": the source file " << path << " changed";
  }
  // A file written after all (a failed copy mended by a later one) is not reported.
  for (const std::string& name : reported) {
    if (name.back() == '/' || name == "package/vumoworld.dat") continue;
    if (Lookup(run.after, name) == Lookup(fault_free, name)) ADD_FAILURE() << what << ": " << name << " was written";
  }
}

class FaultInjection : public ::testing::TestWithParam<OperationCase> {};

TEST_P(FaultInjection, EveryFailingCallLeavesOldOrNewContentAndIsTold) {
  const OperationCase& operation = GetParam();
  FaultRun fault_free(operation, FaultKind::kList, 0, FailureCause::kOther);
  ASSERT_EQ(fault_free.ui.messages.size(), 1u);
  ASSERT_EQ(fault_free.ui.messages[0].icon, MessageIcon::kNone) << fault_free.Box();
  int runs = 0;
  for (FaultKind kind : kFaultKinds) {
    for (int nth = 1; nth <= fault_free.faulty.Calls(kind); ++nth) {
      const int cause = nth % 4;
      FaultRun run(operation, kind, nth, kCauses[cause]);
      std::string what = std::string(operation.name) + ", " + FaultKindName(kind) + " call " + std::to_string(nth);
      ASSERT_TRUE(run.faulty.Failed()) << what << ": the call never came";
      ExpectSound(run, fault_free.after, operation, what);
      bool reported = StartsWith(run.Box(), texts::kReportHead);
      EXPECT_EQ(reported, run.result == OperationResult::kFailed) << what << ": the result does not tell the report";
      if (reported && kind != FaultKind::kHasFile) {
        EXPECT_NE(run.Box().find(kAdvice[cause]), std::string::npos) << what << ": no advice for the cause\n"
                                                                     << run.Box();
      }
      ++runs;
    }
  }
  EXPECT_GT(runs, 20) << "too few file calls to be a real fixture";
}

INSTANTIATE_TEST_SUITE_P(Operations, FaultInjection, ::testing::ValuesIn(kOperations),
                         [](const ::testing::TestParamInfo<OperationCase>& info) { return info.param.name; });

}  // namespace
}  // namespace tolvashu::testing
