// UTF-8 text <-> Unicode code points, for the places that look at text one
// character at a time (case folding, wildcards, the code page 932 codec's
// check of its input).
//
// A name on a POSIX disk is a string of bytes that is usually, but not always,
// UTF-8. A byte that does not belong to a valid UTF-8 sequence decodes to one
// of U+DC80..U+DCFF, code points that valid UTF-8 never holds, and encodes back
// to the same byte: every byte string has one decoding of its own, and
// decoding then encoding gives the bytes back unchanged.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tolvashu {

// The UTF-8 character that starts at `at`: its code point and its length in
// bytes. The length is 0 when the bytes there are not a well-formed
// character (truncated, overlong, a surrogate, beyond U+10FFFF).
struct Utf8Character {
  char32_t code_point = 0;
  std::size_t length = 0;
};
Utf8Character DecodeUtf8Character(std::string_view text, std::size_t at);

std::u32string DecodeUtf8(std::string_view utf8);
std::string EncodeUtf8(std::u32string_view code_points);

}  // namespace tolvashu
