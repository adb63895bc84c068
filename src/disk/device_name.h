// Names that Windows reads as devices rather than files, in any folder.
#pragma once

#include <string_view>

namespace tolvashu {

// True when one path component is a reserved device name (CON, PRN, AUX,
// NUL, CONIN$, CONOUT$, COM1..COM9, LPT1..LPT9), in any case, with or
// without an extension and with trailing blanks before it: «nul.txt» and
// «Com1 .dat» are devices too.
bool IsDeviceName(std::string_view component);

}  // namespace tolvashu
