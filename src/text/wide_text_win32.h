// UTF-8 <-> UTF-16 at the Win32 boundary: every string inside the program is
// UTF-8, every Win32 call takes the wide form.
#pragma once

#include <string>
#include <string_view>

namespace tolvashu {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace tolvashu
