// Names of our own making: the temporary files a copy writes before its
// content takes the destination's place, and the journal and holding
// folders of a transfer. They start with a dot and carry our mark, so that
// they are hidden on every platform and never taken for data.
#pragma once

#include <string>
#include <string_view>

namespace tolvashu {

// A fresh name such as ".~tolvashu-3f9c0a1b22d4e871.tmp"; callers create it
// exclusively and ask for another one if it exists.
std::string MakeTemporaryName();

// True for a name that MakeTemporaryName could have made: the mark, 16
// lower-case hexadecimal digits and ".tmp", nothing else.
bool IsTemporaryName(std::string_view name);

// The mark every name of our own starts with.
inline constexpr std::string_view kOwnNamePrefix = ".~tolvashu-";

// The forms of our other names: the mark, the form's word and 16
// hexadecimal digits (OwnName), and the one lock file of a game folder.
inline constexpr std::string_view kJournalForm = "journal-";
inline constexpr std::string_view kHoldForm = "hold-";
inline constexpr std::string_view kAsideForm = "aside-";
inline constexpr std::string_view kLockName = ".~tolvashu-lock";
std::string OwnName(std::string_view form, std::string_view id);
// True for a name of `form` with an ID of 16 hexadecimal digits.
bool IsOwnNameOfForm(std::string_view name, std::string_view form);

// True for a name of our own making (temporary files, journals, holding
// folders, set-aside files, the lock), exactly as we generate them: the
// installer never lists, copies or deletes one as data. Any other name,
// the mark or not, is the player's.
bool IsOwnName(std::string_view name);

// A fresh name such as ".~tolvashu-aside-3f9c0a1b22d4e871" for a file that
// a copy replaces, while the new content takes its name. Not a temporary
// name: the removal of leftovers never takes one for a cut-off copy.
std::string MakeAsideName();

// 16 fresh hexadecimal digits, for names that must not collide with those
// of another run.
std::string MakeOwnId();

// A wildcard pattern that every such name matches (and others may too).
inline constexpr char kTemporaryPattern[] = ".~tolvashu-*.tmp";

}  // namespace tolvashu
