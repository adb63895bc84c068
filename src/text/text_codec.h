// Code page 932 (Shift_JIS as Japanese Windows writes it) <-> UTF-8, through
// the platform's own converter (iconv "CP932" on POSIX, code page 932 on
// Windows) so that both builds give the same characters for the same bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvashu {

// Decodes code page 932 bytes. Never fails: a byte sequence that is not a
// code page 932 character becomes U+FFFD.
std::string DecodeCp932(std::string_view bytes);

// Encodes UTF-8 text in code page 932. std::nullopt when the text holds a
// character that code page 932 cannot hold, or is not valid UTF-8: nothing
// is ever replaced by '?'.
std::optional<std::string> EncodeCp932(std::string_view utf8);

}  // namespace tolvashu
