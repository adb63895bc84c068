// A world file that another program holds open, shared with no one, cannot
// be read: the files it names are not copied, and the transfer says so.
#include <windows.h>

#include <gtest/gtest.h>

#include "disk_win32/win32_disk.h"
#include "engine_fixture.h"
#include "text/wide_text_win32.h"
#include "transfer/manifest_copy.h"

namespace tolvashu::testing {
namespace {

class HeldWorldFile : public EngineTest {
 protected:
  // Held for the whole transfer: a short bound for its passing lock will do.
  HeldWorldFile() { files_ = std::make_unique<FileOps>(MakeWin32Disk(PassingLockWaits{1, 10, 30})); }
};

TEST_F(HeldWorldFile, IsReportedAndNothingItNamesIsCopied) {
  scratch_.WriteFile("pkg/vumoworld.dat", "a: named.dat\r\n");
  Source("named.dat");
  HANDLE held = CreateFileW(Utf8ToWide(scratch_.Join("pkg/vumoworld.dat")).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::vector<FileFailure> failures;
  {
    CurrentFolderGuard in_package(scratch_.Join("pkg"));
    FolderTransfer transfer = Between();
    CopyManifestFiles(transfer);
    failures = transfer.TakeFailures();
  }
  CloseHandle(held);
  EXPECT_FALSE(GameHas("named.dat"));
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].path.find("vumoworld.dat"), std::string::npos);
}

}  // namespace
}  // namespace tolvashu::testing
