#include "app/program_arguments_win32.h"

#include <gtest/gtest.h>

namespace tolvashu::testing {
namespace {

// Korean and «é» are beyond code page 932: an ANSI argv would lose them.
TEST(ProgramArguments, ComeWholeFromTheUtf16CommandLine) {
  EXPECT_EQ(SplitCommandLine(L"tolvashu-console.exe install --game \"D:\\게임 é\\ゲーム\" --dry-run"),
            (std::vector<std::string>{"install", "--game", "D:\\게임 é\\ゲーム", "--dry-run"}));
}

}  // namespace
}  // namespace tolvashu::testing
