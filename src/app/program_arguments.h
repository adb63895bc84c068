// The program's arguments, without its own name, as UTF-8 text.
#pragma once

#include <string>
#include <vector>

namespace tolvashu {

// On Windows the arguments are read anew from the process's UTF-16 command
// line, so that a path that the ANSI code page cannot hold arrives whole;
// `argv` serves POSIX only.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace tolvashu
