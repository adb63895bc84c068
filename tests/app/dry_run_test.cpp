// The dry run's plan is the truth: for each operation, the dry run changes
// nothing, and the plan it prints, applied to the folders as they were (or
// as the undo of an unfinished transfer leaves them), gives exactly the
// folders that the real run then leaves; its summary counts what each line
// does to the content there, and its JSON says what its text says. Verify,
// the plan of a run with nothing to change, agrees once the operation has
// run; check, the package alone, takes exactly what Install copies.
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
#include "app/console_paths.h"
#include "app/console_texts.h"
#include "app/json_lines.h"
#include "app/plan_summary.h"
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

std::vector<std::string> OperationArguments(const ScratchFolder& scratch, const char* command) {
  return {command, "--package", scratch.Join("package"), "--game", scratch.Join("game")};
}

// `free_space`: what the volume reports as its room left; the real one's when not given.
CommandRun RunArguments(const ScratchFolder& scratch, const std::vector<std::string>& arguments,
                        std::optional<VolumeSpace> free_space = std::nullopt) {
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

CommandRun RunCommand(const ScratchFolder& scratch, const OperationCase& operation, bool dry_run,
                      std::optional<VolumeSpace> free_space = std::nullopt) {
  std::vector<std::string> arguments = OperationArguments(scratch, operation.command);
  if (dry_run) arguments.emplace_back("--dry-run");
  return RunArguments(scratch, arguments, free_space);
}

std::vector<JsonObject> JsonObjects(const std::string& lines) {
  std::vector<JsonObject> objects;
  std::istringstream in(lines);
  for (std::string line; std::getline(in, line);) objects.push_back(JsonObject::parse(line));
  return objects;
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
  // What each line does to the content at its path: files and bytes.
  std::map<std::string, std::pair<int, std::uint64_t>> effects;
  auto count = [&](const char* effect, std::uint64_t size) {
    ++effects[effect].first;
    effects[effect].second += size;
  };
  auto written = [&](const std::string& path, const std::string& content) {
    auto there = tree.find(path);
    count(there == tree.end() ? "new" : there->second == content ? "unchanged" : "replaced", content.size());
  };
  int folders = 0;
  std::istringstream lines(plan);
  for (std::string line; std::getline(lines, line);) {
    const std::string word = line.substr(0, line.find(' '));
    std::string rest = line.substr(word.size() + 1);
    if (word == "mkdir") {
      tree[below(rest) + "/"] = "";
      ++folders;
    } else if (word == "delete") {
      auto there = tree.find(below(rest));
      EXPECT_NE(there, tree.end()) << line;
      if (there == tree.end()) continue;
      count("removed", there->second.size());
      tree.erase(there);
      ++deleted;
    } else if (word == "copy") {
      const std::string kReplaces = " (replaces)";
      const bool replaces = rest.size() > kReplaces.size() && rest.rfind(kReplaces) == rest.size() - kReplaces.size();
      if (replaces) rest.resize(rest.size() - kReplaces.size());
      const std::string source = below(rest.substr(0, rest.find(" -> ")));
      const std::string destination = below(rest.substr(rest.find(" -> ") + 4));
      EXPECT_EQ(replaces, tree.count(destination) == 1) << line;
      EXPECT_EQ(tree.count(source), 1u) << line;
      written(destination, tree[source]);
      tree[destination] = tree[source];
      ++copied;
      bytes += tree[source].size();
    } else if (word == "empty") {
      auto there = tree.find(below(rest));
      if (there == tree.end()) {
        count("new", 0);
      } else {
        count(there->second.empty() ? "unchanged" : "emptied", there->second.size());
      }
      tree[below(rest)] = "";
    } else if (word == "write") {
      const std::string saved = EncodeCp932(scratch.Join("game") + "\r\n").value();  // only the saved game folder
      written(below(rest), saved);
      tree[below(rest)] = saved;
    } else if (word == "skip") {
      reasons.insert(rest.substr(0, rest.find(' ')));
    } else if (word == "summary:") {
      std::string expected = "summary:";
      for (const char* effect : {"new", "replaced", "unchanged", "removed", "emptied"}) {
        const auto [files, size] = effects[effect];
        expected += " " + std::to_string(files) + " " + effect + (files ? " (" + SizeText(size) + ")" : "") + ",";
      }
      EXPECT_EQ(line, expected + " " + std::to_string(folders) + " folders made");
    } else if (word == "space:") {
      EXPECT_NE(line.find(" needed, "), std::string::npos) << line;
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

// The JSON Lines, parsed back, give the text line for line: the step lines,
// the skip lines, the total and the summary.
TEST_P(DryRun, TheJsonPlanSaysWhatTheTextPlanSays) {
  ScratchFolder scratch;
  MakeFixture(scratch);
  const VolumeSpace space{std::uint64_t{1} << 40, 4096};
  CommandRun text = RunCommand(scratch, GetParam(), true, space);
  std::vector<std::string> arguments = OperationArguments(scratch, GetParam().command);
  arguments.insert(arguments.end(), {"--dry-run", "--json"});
  CommandRun json = RunArguments(scratch, arguments, space);
  ASSERT_EQ(json.status, kExitDone) << json.errors;

  std::string told;
  int copied = 0, deleted = 0;
  std::uint64_t bytes = 0;
  for (const JsonObject& object : JsonObjects(json.out)) {
    const std::string type = object.at("type");
    if (type == "summary") {
      told += "total: " + std::to_string(copied) + " files copied (" + std::to_string(bytes) + " bytes), " +
              std::to_string(deleted) + " files deleted\nsummary:";
      for (const char* effect : {"new", "replaced", "unchanged", "removed", "emptied"}) {
        const std::uint64_t files = object.at(effect).at("files");
        const std::string size = files ? " (" + SizeText(object.at(effect).at("bytes")) + ")" : "";
        told += " " + std::to_string(files) + " " + effect + size + ",";
      }
      told += " " + std::to_string(object.at("folders_made").get<int>()) + " folders made\nspace: " +
              SizeText(object.at("space").at("needed")) + " needed, " + SizeText(object.at("space").at("free")) +
              " free\n";
    } else if (type == "skip") {
      told += "skip " + object.at("reason").get<std::string>() + " " + object.at("item").get<std::string>() + "\n";
    } else if (type == "copy") {
      told += "copy " + object.at("source").get<std::string>() + " -> " + object.at("path").get<std::string>() +
              (object.at("replaces").get<bool>() ? " (replaces)" : "") + "\n";
      ++copied;
      bytes += object.at("bytes").get<std::uint64_t>();
    } else {
      told += type + " " + object.at("path").get<std::string>() + "\n";
      deleted += type == "delete";
    }
  }
  EXPECT_EQ(told, text.out);
}

// Once the operation has run, verify against what it copies from agrees,
// changing nothing and saving no folder; a file changed, one removed and one
// more in a family that the operation replaces are each named.
TEST_P(DryRun, VerifyAgreesAfterTheOperationAndNamesEachFileThatDiffers) {
  ScratchFolder scratch;
  MakeFixture(scratch);
  ASSERT_EQ(RunCommand(scratch, GetParam(), false).status, kExitDone);
  std::filesystem::remove(ToPath(scratch.Join("package/PathDATA.txt")));
  const Tree before = TreeOf(scratch);
  std::vector<std::string> verify = OperationArguments(scratch, "verify");
  verify.insert(verify.end(), {"--against", GetParam().against});
  CommandRun agrees = RunArguments(scratch, verify);
  EXPECT_EQ(agrees.status, kExitDone) << agrees.out << agrees.errors;
  EXPECT_EQ(agrees.out.rfind("verify: agrees (", 0), 0u) << agrees.out;
  EXPECT_EQ(TreeOf(scratch), before) << "verify changed the folders";

  scratch.WriteFile("game/MAINDATA.DAT", "changed by a game update");
  std::filesystem::remove(ToPath(scratch.Join("game/年表1.txt")));
  scratch.WriteFile("game/nationDATA/extra.dat", "left by another package");
  CommandRun differs = RunArguments(scratch, verify);
  EXPECT_EQ(differs.status, kExitRefused) << differs.errors;
  const std::string game = ShownPath(scratch.Join("game")) + ShownPath("\\");
  for (const std::string& finding : {"differs " + game + "MAINDATA.DAT", "missing " + game + "年表1.txt",
                                    "extra " + game + ShownPath("nationDATA\\extra.dat")}) {
    EXPECT_NE(differs.out.find(finding + "\n"), std::string::npos) << finding << "\n" << differs.out;
  }
  EXPECT_NE(differs.out.find("verify: differs: 3 files (1 differs, 1 missing, 1 extra, 0 not-empty, 0 unreadable)"),
            std::string::npos)
      << differs.out;
  verify.emplace_back("--json");
  std::vector<JsonObject> objects = JsonObjects(RunArguments(scratch, verify).out);
  ASSERT_EQ(objects.size(), 4u);
  EXPECT_EQ(objects[3].at("agrees"), false);
  EXPECT_EQ(objects[3].at("against"), GetParam().against);
  EXPECT_FALSE(std::filesystem::exists(ToPath(scratch.Join("package/PathDATA.txt"))));
}

// check sees the package alone: what it takes is what Install copies from
// it, and each package of the table gives its findings and exit status.
TEST(PackageCheck, TakesWhatInstallCopiesAndTellsWhatNoStepTakes) {
  struct Case {
    const char* added;  // a file added to the fixture's package, "" for none
    std::vector<std::string> findings;
  };
  const Case kCases[] = {
      {"",
       {"skip missing nothere.dat (欠番: nothere.dat)\n", "skip outside ..\\up.dat (外: ..\\up.dat)\n",
        "skip no-name (nocolon.gif)\n", "skip not-cp932 bad", "range kosei01.dat-kosei99.dat: 2 files",
        "  kosei05.dat\n", "world file: 2 files", "  " + ShownPath("art\\old\\north.jpg") + "\n",
        "  haikei01.jpg, also by the world file\n", "0 warnings\n"}},
      {"pic.JPG", {"warning untaken pic.JPG: the *jpg family takes only names in that exact case\n"}},
      {"年表3.txt", {"warning untaken 年表3.txt: the series ends before 年表2.txt, its first missing number\n"}},
      {"kosei100.dat", {"warning untaken kosei100.dat: the series ends before kosei02.dat"}},
      {"Namedata9.dat", {"warning untaken Namedata9.dat: the namedata* family takes only"}},
      {"\u00e9t\u00e9.jpg", {"warning not-cp932 \u00e9t\u00e9.jpg: code page 932 cannot spell its name"}},
      {"maps/west.jpg", {"warning untaken " + ShownPath("maps\\west.jpg") + ": only the world file takes"}},
      {"readme.txt", {"warning untaken readme.txt: no step takes it; the world file can name it\n", "1 warning\n"}},
  };
  for (const Case& test : kCases) {
    ScratchFolder scratch;
    MakeFixture(scratch);
    if (*test.added) scratch.WriteFile(std::string("package/") + test.added, "the author's");
    CommandRun check = RunArguments(scratch, {"check", "--package", scratch.Join("package")});
    EXPECT_EQ(check.status, kExitDone) << test.added << check.errors;
    for (const std::string& finding : test.findings) {
      EXPECT_NE(check.out.find(finding), std::string::npos) << finding << "\n" << check.out;
    }
    if (*test.added) continue;
    // What it takes, by its JSON, against the sources of Install's plan.
    std::set<std::string> taken, copied;
    const std::string package = ShownPath(scratch.Join("package")) + ShownPath("\\");
    for (const JsonObject& object : JsonObjects(RunArguments(scratch, {"check", "--package", package, "--json"}).out)) {
      if (object.at("type") == "take") taken.insert(package + object.at("path").get<std::string>());
    }
    std::istringstream plan(RunCommand(scratch, kOperations[0], true).out);
    for (std::string line; std::getline(plan, line);) {
      if (line.rfind("copy " + package, 0) == 0) copied.insert(line.substr(5, line.find(" -> ") - 5));
    }
    EXPECT_EQ(taken, copied);
  }
}

TEST(PackageCheck, APackageWithNothingToTakeOrNoneAtAllEndsWithItsOwnStatus) {
  ScratchFolder scratch;
  scratch.MakeFolder("empty");
  scratch.WriteFile("empty/readme.txt", "no data");
  CommandRun none = RunArguments(scratch, {"check", "--package", scratch.Join("empty")});
  EXPECT_EQ(none.status, kExitRefused);
  EXPECT_NE(none.out.find("total: 0 files taken (0.0 KB), 0 items skipped, 1 warning\n"), std::string::npos)
      << none.out;
  EXPECT_EQ(RunArguments(scratch, {"check", "--package", scratch.Join("nowhere")}).status, kExitFailed);
}

INSTANTIATE_TEST_SUITE_P(Operations, DryRun, ::testing::ValuesIn(kOperations),
                         [](const ::testing::TestParamInfo<OperationCase>& info) { return info.param.name; });

}  // namespace
}  // namespace tolvashu::testing
