// Texts as the Win32 controls need them. Our texts break lines with CR alone
// (character 13); the controls and message boxes break lines reliably only
// at CR LF, so a lone CR is widened for display.
#pragma once

#include <string>
#include <string_view>

#include "winui/window_table.h"

namespace tolvashu {

// Every CR that is not already followed by LF gets one.
std::string WithCrLf(std::string_view text);

// A push button's caption: line breaks as WithCrLf, and every '&' doubled so
// that a folder such as «D:\A&B» is shown as it is, not with 'B' underlined
// as a keyboard accelerator.
std::string ButtonCaption(std::string_view text);

// The text a control of `kind` shows for `text`: ButtonCaption for a
// button, WithCrLf for a label.
std::string ControlText(ControlKind kind, std::string_view text);

}  // namespace tolvashu
