#include <windows.h>
#include <shellapi.h>

#include "app/program_arguments.h"
#include "app/program_arguments_win32.h"
#include "text/wide_text_win32.h"

namespace tolvashu {

std::vector<std::string> SplitCommandLine(const wchar_t* command_line) {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* split = CommandLineToArgvW(command_line, &count);
  if (split == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(WideToUtf8(split[i]));
  LocalFree(split);
  return arguments;
}

std::vector<std::string> ProgramArguments(int /*argc*/, char** /*argv*/) {
  return SplitCommandLine(GetCommandLineW());
}

}  // namespace tolvashu
