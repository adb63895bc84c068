// The dry run's plan is the truth: for each operation, the dry run changes
// nothing, and the plan it prints, applied to the folders as they were (or
// as the undo of an unfinished transfer leaves them), gives exactly the
// folders that the real run then leaves.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_texts.h"
#include "app/console_command.h"
#include "app/console_texts.h"
#include "operation_cases.h"
#include "sample_folders.h"
#include "scripted_ui.h"
#include "support/current_folder_guard.h"
#include "support/faulty_disk.h"
#include "text/text_codec.h"

namespace tolvashu::testing {
namespace {

// Path below the scratch folder, '/'-separated and in lower case (a copy
// over an existing file keeps that file's case) -> content; a folder ends
// with '/' and holds "".
using Tree = std::map<std::string, std::string>;

std::string Normal(std::string path) {
  for (char& c : path) c = c == '\\' ? '/' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return path;
}

Tree TreeOf(const ScratchFolder& scratch) {
  Tree tree;
  for (const auto& [path, content] : Snapshot(scratch, "", true)) tree[Normal(path)] = content;
  return tree;
}

struct CommandRun {
  int status;
  std::string out, errors;
};

// `free_space`: what the volume reports as its room left; the real one's when not given.
CommandRun RunCommand(const ScratchFolder& scratch, const OperationCase& operation, bool dry_run,
                      std::optional<VolumeSpace> free_space = std::nullopt) {
  std::vector<std::string> arguments{operation.command, "--package", scratch.Join("package"), "--game",
                                     scratch.Join("game")};
  if (dry_run) arguments.emplace_back("--dry-run");
  CurrentFolderGuard comes_back(scratch.path());  // --package enters the package folder
  std::istringstream no_input;
  std::ostringstream out, errors;
  StreamConsoleIo out_io(no_input, out), errors_io(no_input, errors);
  std::unique_ptr<FileOps> platform = MakePlatformFileOps();
  FaultyDisk disk(platform->disk());
  if (free_space) disk.ReportFreeSpace(*free_space);
  FileOps files(disk);
  int status = RunConsoleCommand(ParseCommandLine(arguments), out_io, errors_io, files);
  return {status, out.str(), errors.str()};
}

// Runs the operation into the game folder as a killed program runs it: from
// its `stop_at`th disk call on (0: none) nothing more reaches the disk.
// Returns the calls it made.
int RunStoppingDeadAt(const ScratchFolder& scratch, const OperationCase& operation, int stop_at) {
  CurrentFolderGuard in_package(scratch.Join("package"));
  std::unique_ptr<FileOps> real = MakePlatformFileOps();
  FaultyDisk disk(real->disk());
  disk.StopDeadAt(stop_at);
  FileOps files(disk);
  AppState state;
  ScriptedUi ui(state);
  ui.ConfirmFolder(scratch.Join("game"));
  Operations(files, ui, state).Run(*operation.row);
  return disk.AllCalls();
}

// Applies the plan's lines to `tree` and checks its total; the reasons of its skip lines.
std::set<std::string> ApplyPlan(const std::string& plan, const ScratchFolder& scratch, Tree& tree) {
  const std::string root = Normal(scratch.path()) + "/";
  auto below = [&](const std::string& path) {  // a relative path lies in the package folder
    std::string normal = Normal(path);
    return normal.rfind(root, 0) == 0 ? normal.substr(root.size()) : "package/" + normal;
  };
  std::set<std::string> reasons;
  int copied = 0, deleted = 0;
  std::uint64_t bytes = 0;
  std::istringstream lines(plan);
  for (std::string line; std::getline(lines, line);) {
    const std::string word = line.substr(0, line.find(' '));
    std::string rest = line.substr(word.size() + 1);
    if (word == "mkdir") {
      tree[below(rest) + "/"] = "";
    } else if (word == "delete") {
      EXPECT_EQ(tree.erase(below(rest)), 1u) << line;
      ++deleted;
    } else if (word == "copy") {
      const std::string kReplaces = " (replaces)";
      const bool replaces = rest.size() > kReplaces.size() && rest.rfind(kReplaces) == rest.size() - kReplaces.size();
      if (replaces) rest.resize(rest.size() - kReplaces.size());
      const std::string source = below(rest.substr(0, rest.find(" -> ")));
      const std::string destination = below(rest.substr(rest.find(" -> ") + 4));
      EXPECT_EQ(replaces, tree.count(destination) == 1) << line;
      EXPECT_EQ(tree.count(source), 1u) << line;
      tree[destination] = tree[source];
      ++copied;
      bytes += tree[source].size();
    } else if (word == "empty") {
      tree[below(rest)] = "";
    } else if (word == "write") {
      tree[below(rest)] = EncodeCp932(scratch.Join("game") + "\r\n").value();  // only the saved game folder is written
    } else if (word == "skip") {
      reasons.insert(rest.substr(0, rest.find(' ')));
    } else {
      EXPECT_EQ(line, "total: " + std::to_string(copied) + " files copied (" + std::to_string(bytes) + " bytes), " +
                          std::to_string(deleted) + " files deleted");
    }
  }
  return reasons;
}

class DryRun : public ::testing::TestWithParam<OperationCase> {};

TEST_P(DryRun, ChangesNothingAndPlansExactlyWhatTheRealRunDoes) {
  ScratchFolder scratch;
  MakeFixture(scratch);
  // Every operation then plans a folder first, and reads it as planned.
  std::filesystem::remove_all(ToPath(scratch.Join("game/Backup/pastDATA")));
  const Tree before = TreeOf(scratch);

  CommandRun plan = RunCommand(scratch, GetParam(), true);
  ASSERT_EQ(plan.status, kExitDone) << plan.errors;
  EXPECT_EQ(plan.errors, "");
  EXPECT_EQ(TreeOf(scratch), before) << "the dry run changed the folders";
  Tree planned = before;
  EXPECT_EQ(ApplyPlan(plan.out, scratch, planned),
            (std::set<std::string>{"missing", "no-name", "not-cp932", "outside"}));
  EXPECT_NE(planned, before);

  CommandRun real = RunCommand(scratch, GetParam(), false);
  ASSERT_EQ(real.status, kExitDone) << real.errors;
  EXPECT_EQ(TreeOf(scratch), planned) << plan.out;
}

// Too little room for the new files beside the old ones: both runs refuse
// the operation alike, say how much is needed and free, and change nothing,
// not even by a data folder. The space they name is enough.
TEST_P(DryRun, TooLittleSpaceIsRefusedBeforeAnythingChanges) {
  ScratchFolder scratch;
  MakeFixture(scratch);
  std::filesystem::remove_all(ToPath(scratch.Join("game/Backup/pastDATA")));
  const Tree before = TreeOf(scratch);
  constexpr std::uint64_t kMegabyte = 1024 * 1024;
  std::string needed;
  for (bool dry_run : {true, false}) {
    CommandRun refused = RunCommand(scratch, GetParam(), dry_run, VolumeSpace{4096, 4096});
    EXPECT_EQ(refused.status, kExitRefused) << refused.errors;
    EXPECT_EQ(refused.out, "");
    const std::string head = std::string(console::kDiagnosticStart) + texts::kNoSpace1 + "\n" + texts::kNoSpaceNeeded;
    ASSERT_EQ(refused.errors.rfind(head, 0), 0u) << refused.errors;
    const std::string numbers = refused.errors.substr(head.size(), refused.errors.find('\n', head.size()) - head.size());
    EXPECT_NE(numbers.find(std::string(" MB") + texts::kNoSpaceFree + "0 MB"), std::string::npos) << numbers;
    if (!dry_run) {
      EXPECT_EQ(numbers, needed) << "the dry run named other numbers";
    }
    needed = numbers;
    Tree after = TreeOf(scratch);
    after.erase("package/pathdata.txt");
    EXPECT_EQ(after, before) << (dry_run ? "dry run" : "real run");
  }
  const std::uint64_t megabytes = std::stoull(needed);
  ASSERT_GE(megabytes, 1u);
  EXPECT_EQ(RunCommand(scratch, GetParam(), false, VolumeSpace{megabytes * kMegabyte, 4096}).status, kExitDone);
}

// A transfer killed halfway is undone by the real run before anything else;
// the dry run says so and plans from the state that undo leaves.
TEST_P(DryRun, PlansFromTheStateThatUndoingAnUnfinishedTransferLeaves) {
  int calls = 0;
  {
    ScratchFolder whole_run;
    MakeFixture(whole_run);
    calls = RunStoppingDeadAt(whole_run, GetParam(), 0);
  }
  ScratchFolder scratch;
  MakeFixture(scratch);
  const Tree before = TreeOf(scratch);
  RunStoppingDeadAt(scratch, GetParam(), calls / 2);
  const Tree cut_off = TreeOf(scratch);
  ASSERT_NE(cut_off, before);

  CommandRun plan = RunCommand(scratch, GetParam(), true);
  ASSERT_EQ(plan.status, kExitDone) << plan.errors;
  EXPECT_EQ(plan.errors, std::string(console::kDiagnosticStart) + texts::kWillRecover + "\n");
  EXPECT_EQ(TreeOf(scratch), cut_off) << "the dry run changed the folders";
  Tree planned = before;
  ApplyPlan(plan.out, scratch, planned);

  CommandRun real = RunCommand(scratch, GetParam(), false);
  ASSERT_EQ(real.status, kExitDone) << real.errors;
  EXPECT_EQ(real.out, std::string(texts::kRecovered) + "\n" + GetParam().row->completion_message + "\n");
  EXPECT_EQ(TreeOf(scratch), planned) << plan.out;
}

INSTANTIATE_TEST_SUITE_P(Operations, DryRun, ::testing::ValuesIn(kOperations),
                         [](const ::testing::TestParamInfo<OperationCase>& info) { return info.param.name; });

}  // namespace
}  // namespace tolvashu::testing
