// The console front end's own texts: menu items that stand for a window's
// close box, the mark of a disabled button, the prompt and the warning mark.
#pragma once

namespace tolvashu::console {

inline constexpr char kExitItem[] = "0: 終了";
inline constexpr char kCloseItem[] = "0: 閉じる";
inline constexpr char kDisabledMark[] = "(選択できません) ";
inline constexpr char kPrompt[] = "> ";
inline constexpr char kWarningMark[] = "警告: ";

}  // namespace tolvashu::console
