// Whether a relative name taken from outside the program (a world file) names
// a file inside the folder it is appended to. Both '\' and '/' separate.
#pragma once

#include <string_view>

namespace tolvashu {

// False for a name that is empty, starts with a separator (the root of the
// drive, or a network path), holds a ':' (a drive such as «C:x», or an
// alternate data stream), holds a control character (NUL would cut the path
// short), has a component of two or more dots only («..», «...»), or has a
// component that Windows reads as a device («CON», «nul.txt», «COM1.dat»),
// or has a component of our own naming (temporary_name.h), in any case.
// A subfolder part that stays inside («maps\east.jpg») is allowed.
bool StaysInsideFolder(std::string_view name);

}  // namespace tolvashu
