// Names folded one code point at a time, by the platform's FoldCase.
#include "text/case_fold.h"

#include "text/code_points.h"

namespace tolvashu {

namespace {

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c; }

}  // namespace

std::u32string FoldCodePoints(std::string_view utf8) {
  std::u32string code_points = DecodeUtf8(utf8);
  for (char32_t& c : code_points) c = FoldCase(c);
  return code_points;
}

std::string FoldName(std::string_view utf8) {
  if (IsAscii(utf8)) {  // most names: no decoding needed
    std::string folded(utf8);
    for (char& c : folded) c = FoldAscii(c);
    return folded;
  }
  return EncodeUtf8(FoldCodePoints(utf8));
}

}  // namespace tolvashu
