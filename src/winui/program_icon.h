// The resource number of the program icon: the executable's icon and the
// icon of every window. The resource script includes this header too.
#pragma once

#define TOLVASHU_PROGRAM_ICON_ID 1

#ifndef RC_INVOKED
namespace tolvashu {
inline constexpr int kProgramIconId = TOLVASHU_PROGRAM_ICON_ID;
}  // namespace tolvashu
#endif
