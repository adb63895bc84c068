// UTF-8 text <-> Unicode code points, for the places that compare names
// character by character (case folding, wildcards).
//
// A name on a POSIX disk is a string of bytes that is usually, but not always,
// UTF-8. A byte that does not belong to a valid UTF-8 sequence decodes to one
// of U+DC80..U+DCFF, code points that valid UTF-8 never holds, and encodes back
// to the same byte: every byte string has one decoding of its own, and
// decoding then encoding gives the bytes back unchanged.
#pragma once

#include <string>
#include <string_view>

namespace tolvashu {

std::u32string DecodeUtf8(std::string_view utf8);
std::string EncodeUtf8(std::u32string_view code_points);

}  // namespace tolvashu
