// A scratch folder that is the current directory (where "PathDATA.txt"
// lives), with the platform's file layer and a few folders to browse to.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "files/file_ops.h"
#include "support/current_folder_guard.h"
#include "support/scratch_folder.h"

namespace tolvashu::testing {

class GameFolderFixture : public ::testing::Test {
 protected:
  // A folder holding the main game executable, given as the browser would.
  std::string MakeGameFolder(const std::string& name) {
    scratch_.MakeFolder(name);
    scratch_.WriteFile(name + "/Morbek.exe", "MZ dummy");
    return scratch_.Join(name);
  }

  std::string SavedPathBytes() { return scratch_.ReadFile("PathDATA.txt").value_or("<missing>"); }

  // File number 1 is free again: the procedure under test closed what it opened.
  bool NoFileLeftOpen() {
    bool free = files_->OpenForWriting("probe.txt");
    files_->CloseAll();
    return free;
  }

  ScratchFolder scratch_;
  CurrentFolderGuard current_folder_{scratch_.path()};
  std::unique_ptr<FileOps> files_ = MakePlatformFileOps();
};

}  // namespace tolvashu::testing
