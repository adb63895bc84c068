// Windows paths held as UTF-8 text, handed to the wide Win32 functions.
#pragma once

#include <string>
#include <string_view>

namespace tolvashu {

// The path in UTF-16 for a Win32 call. A path too long for the classic
// MAX_PATH limit is made absolute and given the "\\?\" prefix, so that deep
// game folders work without the system's long-path opt-in.
std::wstring ToWin32Path(std::string_view utf8);

// True when the path starts with a drive letter that names no drive.
bool NamesMissingDrive(std::string_view path);

// True when the last component is a reserved device name (CON, NUL, COM1,
// LPT1, ... with or without an extension), which Windows opens as a device
// wherever the path points: reading one may wait for a keyboard or a port.
bool NamesDevice(std::string_view path);

}  // namespace tolvashu
