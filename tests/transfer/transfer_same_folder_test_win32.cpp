// Windows spells a folder also by its short name: a transfer between the long
// and the short spelling of one folder is a transfer within one folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine_fixture.h"
#include "text/wide_text_win32.h"

namespace tolvashu::testing {
namespace {

using SameFolderShortName = EngineTest;

TEST_F(SameFolderShortName, ChangesNothingAndSaysSo) {
  scratch_.MakeFolder("package with a long name");
  scratch_.WriteFile("package with a long name/年表1.txt", "chronicle");
  std::wstring long_path = Utf8ToWide(scratch_.Join("package with a long name"));
  wchar_t buffer[MAX_PATH];
  DWORD length = GetShortPathNameW(long_path.c_str(), buffer, MAX_PATH);
  ASSERT_GT(length, 0u);
  ASSERT_LT(length, static_cast<DWORD>(MAX_PATH));
  std::string short_path = WideToUtf8(std::wstring(buffer, length));
  if (short_path == scratch_.Join("package with a long name")) GTEST_SKIP() << "no short names on this volume";

  TransferReport report =
      TransferDataSet(*files_, notice_, scratch_.Folder("package with a long name"), short_path + "\\", "on");
  EXPECT_EQ(report.overlap, FolderOverlap::kSameFolder);
  EXPECT_TRUE(notice_.events.empty());
  EXPECT_EQ(scratch_.ReadFile("package with a long name/年表1.txt"), "chronicle");
}

}  // namespace
}  // namespace tolvashu::testing
