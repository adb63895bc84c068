// The built tolvashu-console, started in a package folder with its input
// piped in, one operation per run, or with the operation as its arguments,
// as a user would use it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <thread>

#include "app/app_texts.h"
#include "app/console_texts.h"
#include "sample_folders.h"
#include "text/text_codec.h"
#include "transfer/journal.h"
#include "transfer/recovery.h"

namespace tolvashu::testing {
namespace {

class ConsoleProgramTest : public ::testing::Test {
 protected:
  ConsoleProgramTest() {
    MakeSamplePackage(scratch_, "package");
    MakeSampleGame(scratch_, "game");
  }

  // Runs the program in the package folder; its output, or "" on failure.
  std::string Run(const std::string& input) {
    scratch_.WriteFile("input.txt", input);
    std::string command = "cd '" + scratch_.Join("package") + "' && '" TOLVASHU_CONSOLE_EXE "' < '" +
                          scratch_.Join("input.txt") + "' > '" + scratch_.Join("output.txt") + "'";
    if (std::system(command.c_str()) != 0) return "";
    return scratch_.ReadFile("output.txt").value_or("");
  }

  struct Ran {
    int status;
    std::string out, errors;
  };
  // Runs the program in the scratch folder with these arguments (quoted by
  // the caller), its output into `out` when given.
  Ran RunWith(const std::string& arguments, const std::string& out = "") {
    std::string command = "cd '" + scratch_.path() + "' && '" TOLVASHU_CONSOLE_EXE "' " + arguments + " > '" +
                          (out.empty() ? scratch_.Join("out.txt") : out) + "' 2> '" + scratch_.Join("errors.txt") + "'";
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, scratch_.ReadFile("out.txt").value_or(""),
            scratch_.ReadFile("errors.txt").value_or("")};
  }

  std::string Game(const std::string& relative) { return scratch_.ReadFile("game/" + relative).value_or("<missing>"); }

  // A game and a package that make an Install long enough to be caught
  // midway; the game's exact state.
  std::map<std::string, std::string> MakeLongInstall() {
    std::filesystem::remove_all(ToPath(scratch_.Join("game")));
    MakeSampleGame(scratch_, "game");
    for (const char* folder : {"game/Backup/nationDATA", "game/Backup/pastDATA"}) scratch_.MakeFolder(folder);
    for (int n = 0; n < 400; ++n) {
      scratch_.WriteFile("game/nationDATA/old" + std::to_string(n) + ".dat", std::string(4096, 'g'));
      scratch_.WriteFile("package/nationDATA/n" + std::to_string(n) + ".dat", std::string(4096, 'p'));
    }
    SetOneTime(scratch_, "");
    return ExactSnapshot(scratch_, "game");
  }
  std::string InstallArguments() const {
    return "install --package '" + scratch_.Join("package") + "' --game '" + scratch_.Join("game") + "'";
  }

  // Starts the program with `arguments`, its output into out.txt and errors.txt.
  pid_t Start(const std::string& arguments) {
    pid_t child = fork();
    if (child == 0) {
      const std::string command = "exec '" TOLVASHU_CONSOLE_EXE "' " + arguments + " >'" + scratch_.Join("out.txt") +
                                  "' 2>'" + scratch_.Join("errors.txt") + "'";
      execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    return child;
  }
  // Waits until a transfer's journal is in the game folder: the transfer has begun.
  bool TransferBegun(pid_t child) {
    for (int waited = 0; waited < 20000; ++waited) {
      for (const auto& entry : std::filesystem::directory_iterator(ToPath(scratch_.Join("game")))) {
        if (IsJournalName(entry.path().filename().string())) return true;
      }
      if (waitpid(child, nullptr, WNOHANG) == child) return false;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
  }
  static int ExitStatus(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
  }

  ScratchFolder scratch_;
  const std::string kStart = console::kDiagnosticStart;
};

TEST_F(ConsoleProgramTest, BackupInstallRestoreAndDefault) {
  std::string game = scratch_.Join("game");
  EXPECT_NE(Run("1\n1\n" + game + "\n0\n").find(texts::kBackupDone), std::string::npos);
  EXPECT_EQ(Game("Backup/MAINDATA.DAT"), "game main");
  EXPECT_EQ(Game("Backup/nationDATA/nation01.dat"), "game nation");
  EXPECT_EQ(scratch_.ReadFile("package/PathDATA.txt"), game + "\r\n");

  // From here on the saved folder is confirmed with 2.
  EXPECT_NE(Run("2\n2\n0\n").find(texts::kInstallDone), std::string::npos);
  EXPECT_EQ(Game("MAINDATA.DAT"), "package main");
  EXPECT_EQ(Game("theme.mp3"), "package music");
  EXPECT_EQ(Game("nationDATA/nation01.dat"), "package nation");

  EXPECT_NE(Run("3\n2\n0\n").find(texts::kRestoreDone), std::string::npos);
  EXPECT_EQ(Game("MAINDATA.DAT"), "game main");
  EXPECT_EQ(Game("nationDATA/nation01.dat"), "game nation");
  EXPECT_EQ(Game("年表2.txt"), "game chronology 2");

  EXPECT_NE(Run("4\n2\n0\n").find(texts::kDefaultDone), std::string::npos);
  EXPECT_EQ(Game("MAINDATA.DAT"), "default main");
  EXPECT_EQ(Game("年表1.txt"), "default chronology");
  EXPECT_FALSE(scratch_.Exists("game/年表2.txt"));
}

TEST_F(ConsoleProgramTest, ArgumentsRunOneOperationAndEndWithItsExitStatus) {
  MakeSampleGame(scratch_, "ゲーム 本体");
  const std::string kGame = " --package package --game 'ゲーム 本体'";
  const auto before = Snapshot(scratch_, "", true);
  Ran plan = RunWith("install --dry-run" + kGame);
  EXPECT_EQ(plan.status, 0) << plan.errors;
  EXPECT_NE(plan.out.find("copy " + scratch_.Join("package") + "/MAINDATA.DAT -> " + scratch_.Join("ゲーム 本体") +
                          "/MAINDATA.DAT (replaces)\n"),
            std::string::npos)
      << plan.out;
  auto after = Snapshot(scratch_, "", true);
  after.erase("out.txt");
  after.erase("errors.txt");
  EXPECT_EQ(after, before);

  Ran install = RunWith("install" + kGame);
  EXPECT_EQ(install.status, 0);
  EXPECT_EQ(install.out, std::string(texts::kInstallDone) + "\n");
  EXPECT_EQ(install.errors, "");
  EXPECT_EQ(scratch_.ReadFile("ゲーム 本体/MAINDATA.DAT"), "package main");
  EXPECT_EQ(scratch_.ReadFile("package/PathDATA.txt"), EncodeCp932(scratch_.Join("ゲーム 本体") + "\r\n"));

  Ran no_backup = RunWith("restore --package=package");  // the saved folder
  EXPECT_EQ(no_backup.status, 1);
  EXPECT_EQ(no_backup.errors, kStart + texts::kNoBackupData1 + "\n" + texts::kNoBackupData2 + "\n");

  scratch_.SetReadOnly("ゲーム 本体/MAINDATA.DAT", true);
  Ran failed = RunWith("install --package package");
  EXPECT_EQ(failed.status, 2);
  EXPECT_EQ(failed.errors.rfind(kStart + console::kWarningMark + texts::kReportUndoneHead, 0), 0u) << failed.errors;
  scratch_.SetReadOnly("ゲーム 本体/MAINDATA.DAT", false);

  Ran unknown = RunWith("install --frobnicate");
  EXPECT_EQ(unknown.status, 64);
  EXPECT_NE(unknown.errors.find(console::kUsage), std::string::npos) << unknown.errors;
  EXPECT_EQ(RunWith("install --game").status, 64);
  EXPECT_EQ(RunWith("--version").out, "tolvashu-console " TOLVASHU_VERSION "\n");
}

// check and verify change nothing and end with their own statuses: data or
// none, agreeing or not, and 2 for what cannot be read or compared.
TEST_F(ConsoleProgramTest, CheckAndVerifyEndWithTheirOwnExitStatus) {
  const std::string kGame = " --package package --game game";
  scratch_.MakeFolder("empty");
  const auto before = Snapshot(scratch_, "", true);
  EXPECT_EQ(RunWith("check --package package").status, 0);
  EXPECT_EQ(RunWith("check --package empty").status, 1);
  EXPECT_EQ(RunWith("check --package nowhere").status, 2);
  EXPECT_EQ(RunWith("verify" + kGame).status, 1);
  EXPECT_EQ(RunWith("verify --against backup" + kGame).status, 2);  // no backup to compare with
  EXPECT_EQ(RunWith("verify --package empty").status, 2);           // no game folder given or saved
  EXPECT_EQ(RunWith("install --json" + kGame).status, 64);
  EXPECT_EQ(RunWith("check --against package").status, 64);
  auto after = Snapshot(scratch_, "", true);
  after.erase("out.txt");
  after.erase("errors.txt");
  EXPECT_EQ(after, before) << "check or verify changed something, PathDATA.txt included";

  ASSERT_EQ(RunWith("install" + kGame).status, 0);
  Ran agrees = RunWith("verify --package package --json");  // the saved folder
  EXPECT_EQ(agrees.status, 0) << agrees.out << agrees.errors;
  EXPECT_NE(agrees.out.find("\"agrees\":true"), std::string::npos) << agrees.out;
}

// Each refusal says what was wrong, after the program's name; a --game that
// is no game folder is named, with what is there instead.
TEST_F(ConsoleProgramTest, EveryDiagnosticNamesTheProgramAndABadGameFolderWhatIsThere) {
  scratch_.WriteFile("a file", "not a folder");
  const std::string kWarning = kStart + console::kWarningMark;
  const struct {
    std::string arguments, errors;
  } kRefusals[] = {
      {"backup --package package --game nowhere",
       kWarning + scratch_.Join("nowhere") + ": " + console::kGameFolderMissing},
      {"backup --package package --game 'a file'",
       kWarning + scratch_.Join("a file") + ": " + console::kGameFolderIsAFile},
      {"backup --package package --game package",
       kWarning + scratch_.Join("package") + ": " + console::kGameFolderWithoutExe},
      {"default --package game", kStart + console::kNoGameFolder},
      {"install --package nowhere", kStart + console::kNoPackageFolder + "nowhere"},
  };
  for (const auto& refusal : kRefusals) {
    Ran ran = RunWith(refusal.arguments);
    EXPECT_EQ(ran.status, 1) << refusal.arguments;
    EXPECT_EQ(ran.errors, refusal.errors + "\n");
    EXPECT_EQ(ran.out, "");
  }
  EXPECT_FALSE(scratch_.Exists("package/Backup"));
  EXPECT_EQ(RunWith("install --frobnicate").errors.rfind(kStart + console::kErrorUnknownOption, 0), 0u);
}

// As GNU programs do: the output that could not be written is told, and
// the status is not 0; in the menus, nothing more is asked or done.
TEST_F(ConsoleProgramTest, StandardOutputThatCannotBeWrittenEndsWithANonZeroStatus) {
  const std::string kFailed = kStart + console::kOutputFailed + ": " + std::strerror(ENOSPC) + "\n";
  for (const char* arguments : {"--version", "--help", "install --package package --game game --dry-run"}) {
    Ran ran = RunWith(arguments, "/dev/full");
    EXPECT_EQ(ran.status, 74) << arguments;
    EXPECT_EQ(ran.errors, kFailed) << arguments;
  }
  Ran install = RunWith("install --package package --game game", "/dev/full");
  EXPECT_EQ(install.status, 74);
  EXPECT_EQ(Game("MAINDATA.DAT"), "package main");  // done all the same; only its word was lost

  scratch_.WriteFile("input.txt", "1\n1\n" + scratch_.Join("game") + "\n0\n");
  Ran menus = RunWith("< input.txt", "/dev/full");
  EXPECT_EQ(menus.status, 74);
  EXPECT_EQ(menus.errors, kFailed);
  EXPECT_FALSE(scratch_.Exists("game/Backup/MAINDATA.DAT"));
}

// The program killed (SIGKILL, as "end task" or a crash ends it) at random
// moments of a long Install: the next start's recovery leaves the game
// folder exactly as it was before, or as the whole Install leaves it.
TEST_F(ConsoleProgramTest, AnInstallKilledAtAnyMomentIsUndoneOrFinishedByTheNextStart) {
  auto make_game = [&] { return MakeLongInstall(); };
  const std::string arguments = InstallArguments();
  const auto before = make_game();
  auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(RunWith(arguments).status, 0);
  const auto whole_run = std::chrono::steady_clock::now() - started;
  const auto after = WithoutTimesOfEmptyFiles(ExactSnapshot(scratch_, "game"));
  std::mt19937 random(std::random_device{}());
  std::unique_ptr<FileOps> files = MakePlatformFileOps();
  for (int round = 0; round < 8; ++round) {
    ASSERT_EQ(make_game(), before);
    pid_t child = fork();
    if (child == 0) {
      execl("/bin/sh", "sh", "-c", ("exec '" TOLVASHU_CONSOLE_EXE "' " + arguments + " >/dev/null 2>&1").c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
    const double moment = std::uniform_real_distribution<>(0.0, 1.2)(random);
    std::this_thread::sleep_for(std::chrono::duration_cast<std::chrono::microseconds>(whole_run * moment));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    {  // the next start, which takes the lock (and removes the file a killed holder left)
      FolderLocked next_start = files->LockFolder(scratch_.Join("game"));
      for (const char* tail : {"/", "/Backup/"}) RecoverUnfinishedTransfer(*files, scratch_.Join("game") + tail);
    }
    const auto recovered = ExactSnapshot(scratch_, "game");
    EXPECT_TRUE(recovered == before || WithoutTimesOfEmptyFiles(recovered) == after)
        << "killed after " << moment << " of a whole run";
  }
}

// Ctrl+C, `kill` or a closed terminal during an Install: the transfer stops
// at its next step and is undone before the program ends, which says so
// and ends with 128 + the signal's number.
TEST_F(ConsoleProgramTest, AnInterruptedInstallIsUndoneBeforeTheProgramEnds) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    const auto before = MakeLongInstall();
    pid_t child = Start(InstallArguments());
    ASSERT_TRUE(TransferBegun(child)) << signal;
    kill(child, signal);
    EXPECT_EQ(ExitStatus(child), 128 + signal);
    EXPECT_EQ(scratch_.ReadFile("errors.txt"), kStart + texts::kInterruptedUndone + "\n") << signal;
    EXPECT_TRUE(ExactSnapshot(scratch_, "game") == before) << signal;
  }
}

// Two operations on one game folder at once: the second is refused before
// it changes anything, and the first ends as if alone.
TEST_F(ConsoleProgramTest, ASecondOperationWhileOneRunsIsRefused) {
  MakeLongInstall();
  pid_t first = fork();
  if (first == 0) {
    execl("/bin/sh", "sh", "-c", ("exec '" TOLVASHU_CONSOLE_EXE "' " + InstallArguments() + " >/dev/null 2>&1").c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  ASSERT_TRUE(TransferBegun(first));
  Ran second = RunWith("backup --package package --game game");
  EXPECT_EQ(second.status, 1);
  EXPECT_EQ(second.errors, kStart + texts::kAnotherOperation + "\n");
  EXPECT_EQ(ExitStatus(first), 0);
  EXPECT_EQ(Game("MAINDATA.DAT"), "package main");
  EXPECT_FALSE(scratch_.Exists("game/Backup/MAINDATA.DAT"));
  EXPECT_FALSE(scratch_.Exists("game/.~tolvashu-lock"));
}

// What a player on Linux meets: the game (another process) holding a data
// file, and a game folder on a drive too full for the package. Neither
// changes the game folder; each says why and ends with its own status, the
// dry run of the full drive as the real run.
TEST_F(ConsoleProgramTest, AHeldFileOrTooLittleSpaceLeavesTheGameAsItWas) {
  for (const char* folder : {"game/Backup", "game/Backup/nationDATA", "game/Backup/pastDATA"}) {
    scratch_.MakeFolder(folder);  // made before every transfer, and kept
  }
  const auto before = ExactSnapshot(scratch_, "game");
  pid_t holder = fork();
  if (holder == 0) {
    const std::string hold = "exec 3<'" + scratch_.Join("game/MAINDATA.DAT") + "'; exec sleep 60";
    execl("/bin/sh", "sh", "-c", hold.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  const std::string held_fd = "/proc/" + std::to_string(holder) + "/fd/3";
  for (int waited = 0; waited < 5000 && !std::filesystem::exists(held_fd); ++waited) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  Ran held = RunWith(InstallArguments());
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_EQ(held.status, 2);
  EXPECT_NE(held.errors.find(texts::kAdviceInUse), std::string::npos) << held.errors;
  EXPECT_TRUE(ExactSnapshot(scratch_, "game") == before);

  scratch_.MakeFolder("small");
  if (mount("tmpfs", scratch_.Join("small").c_str(), "tmpfs", 0, "size=1m,mode=0777") != 0) {
    GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
  }
  MakeSampleGame(scratch_, "small/game");
  scratch_.WriteFile("package/nationDATA/large.dat", std::string(2 * 1024 * 1024, 'p'));
  const auto small_before = ExactSnapshot(scratch_, "small/game");
  for (const char* dry_run : {" --dry-run", ""}) {
    Ran full = RunWith("install --package package --game small/game" + std::string(dry_run));
    EXPECT_EQ(full.status, 1) << dry_run;
    EXPECT_EQ(full.errors.rfind(console::kDiagnosticStart + std::string(texts::kNoSpace1), 0), 0u) << full.errors;
    EXPECT_EQ(full.out, "");
    EXPECT_TRUE(ExactSnapshot(scratch_, "small/game") == small_before) << dry_run;
  }
  umount2(scratch_.Join("small").c_str(), MNT_DETACH);
}

}  // namespace
}  // namespace tolvashu::testing
