// The fold is the system's invariant upper-case mapping, which does not
// depend on the user's language settings. Characters beyond the Basic
// Multilingual Plane have no case that Windows file names fold.
#include <windows.h>

#include "text/case_fold.h"

namespace tolvashu {

char32_t FoldCase(char32_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
  if (c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF)) return c;
  wchar_t in = static_cast<wchar_t>(c);
  wchar_t out = in;
  if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, &in, 1, &out, 1, nullptr, nullptr, 0) != 1) return c;
  return static_cast<char32_t>(out);
}

}  // namespace tolvashu
