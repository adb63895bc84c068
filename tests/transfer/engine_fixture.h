// Shared set-up of the engine tests: a package folder and a game folder in a
// scratch folder, the platform's file layer, and a notice that records what
// the engine asked of it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_ops.h"
#include "support/current_folder_guard.h"
#include "support/scratch_folder.h"
#include "transfer/folder_transfer.h"
#include "transfer/progress_notice.h"
#include "transfer/transfer_data_set.h"

namespace tolvashu::testing {

class RecordingNotice : public ProgressNotice {
 public:
  void Show() override { events.push_back("show"); }
  void Unload() override { events.push_back("unload"); }
  void CopyingFile(std::string_view name) override { copied.emplace_back(name); }
  void StillWorking() override { ++working; }
  std::vector<std::string> events;
  std::vector<std::string> copied;  // every name announced, in order
  int working = 0;
};

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() : files_(MakePlatformFileOps()) {
    scratch_.MakeFolder("pkg");
    scratch_.MakeFolder("game");
  }

  // Files of the package (source) and the game (destination) folder.
  void Source(std::string_view name, std::string_view bytes = "new") { scratch_.WriteFile(In("pkg", name), bytes); }
  void Game(std::string_view name, std::string_view bytes = "old") { scratch_.WriteFile(In("game", name), bytes); }
  std::optional<std::string> GameFile(std::string_view name) const { return scratch_.ReadFile(In("game", name)); }
  bool GameHas(std::string_view name) const { return scratch_.Exists(In("game", name)); }

  std::string source() const { return scratch_.Folder("pkg"); }
  std::string destination() const { return scratch_.Folder("game"); }

  // The whole transfer from the package to the game, run in the package
  // folder as Install runs it.
  TransferReport Transfer(const std::string& music_switch = "on") {
    CurrentFolderGuard in_package(scratch_.Join("pkg"));
    return TransferDataSet(*files_, notice_, source(), destination(), music_switch);
  }

  // The steps of one transfer from the package to the game, in a
  // transaction that is begun here and ended by Commit (the transaction's
  // own behaviour is tested on its own). A copy takes its name with its
  // batch: by the end of Commit at the latest.
  FolderTransfer Between(const std::string& destination_folder = "") {
    transaction_.emplace(*files_, destination_folder.empty() ? destination() : destination_folder);
    EXPECT_FALSE(transaction_->Begin());
    return FolderTransfer(*files_, *transaction_, source());
  }
  // Ends the transaction of Between: only the new files remain, no journal
  // and no held file.
  void Commit() { EXPECT_FALSE(transaction_->Commit()); }

  static std::string In(std::string_view folder, std::string_view name) {
    return std::string(folder) + "/" + std::string(name);
  }

  ScratchFolder scratch_;
  std::unique_ptr<FileOps> files_;
  RecordingNotice notice_;
  std::optional<Transaction> transaction_;
};

// The paths of failures, in order.
inline std::vector<std::string> FailedPaths(const std::vector<FileFailure>& failures) {
  std::vector<std::string> paths;
  for (const FileFailure& failure : failures) paths.push_back(failure.path);
  return paths;
}
inline std::vector<std::string> FailedPaths(const TransferReport& report) { return FailedPaths(report.failures); }

}  // namespace tolvashu::testing
