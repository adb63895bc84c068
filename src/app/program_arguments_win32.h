// The Windows side of ProgramArguments, open to the tests.
#pragma once

#include <string>
#include <vector>

namespace tolvashu {

// The arguments of a UTF-16 command line as Windows programs split it
// (quotes, backslashes before quotes), without the program's name.
std::vector<std::string> SplitCommandLine(const wchar_t* command_line);

}  // namespace tolvashu
