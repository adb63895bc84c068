// The application's title: the title of every message box the installer
// shows, from the main window's operations and from the folder dialog alike.
#pragma once

namespace tolvashu {

inline constexpr char kAppTitle[] = "Tolvashuインストーラー";

}  // namespace tolvashu
