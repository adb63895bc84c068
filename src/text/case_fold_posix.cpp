// The fold uses towupper_l on a locale object of its own ("C.UTF-8", whose
// character tables cover Unicode), so that neither the process locale nor the
// user's environment changes how names compare.
#include <locale.h>
#include <wctype.h>

#include "text/case_fold.h"

namespace tolvashu {

namespace {

// Null when the C library has no C.UTF-8; then only ASCII letters fold,
// which is still right for every name the installer itself uses.
locale_t UnicodeCtype() {
  static const locale_t ctype = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return ctype;
}

char32_t FoldAscii(char32_t c) { return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c; }

}  // namespace

char32_t FoldCase(char32_t c) {
  if (c < 0x80) return FoldAscii(c);
  locale_t ctype = UnicodeCtype();
  if (ctype == static_cast<locale_t>(nullptr)) return c;
  return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), ctype));
}

}  // namespace tolvashu
