// Paths as the console program's user types and reads them: folders given as
// arguments, relative to the folder the program was started in, and paths
// shown with the platform's own separator.
#pragma once

#include <string>

namespace tolvashu {

// `path` made absolute against the current folder, with "." and ".."
// resolved as text and no separator at its end (except at a root), as the
// folder browser returns a folder.
std::string AbsoluteFolder(const std::string& path);

// Makes `folder` the process's current folder: the package folder of a run
// by argument, as if the program had been started there. False when it
// cannot be entered.
bool EnterFolder(const std::string& folder);

// The path with the platform's own separator: the program joins names with
// '\', which the POSIX file layer reads as '/'.
std::string ShownPath(std::string path);

}  // namespace tolvashu
