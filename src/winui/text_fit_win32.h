// Texts measured in a control's font, so that the tables' controls show
// them whole. The tables' sizes were made for a smaller font than today's
// message fonts, and a button's caption may hold a folder path of any
// length.
#pragma once

#include <windows.h>

#include <string>

namespace tolvashu {

// Where a label at `at` must stand to show its text in `font` whole: at the
// same place, grown to the right as far as the client area (`client`)
// allows and then downwards; unchanged when the text fits.
RECT FitLabel(HWND label, HFONT font, RECT at, SIZE client);

// The lines of `text` (CR between lines) as a multi-line button `width`
// pixels wide shows them in `font`: a line too wide for it is shortened in
// its middle with an ellipsis, keeping its start and its last path
// component, instead of wrapping into lines the button has no room for.
std::string ShortenWideLines(const std::string& text, HFONT font, int width);

}  // namespace tolvashu
