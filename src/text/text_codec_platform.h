// The platform's own code page 932 converter, used by text_codec.cpp. The
// shared code decides which bytes form characters and checks UTF-8 itself;
// these functions only translate, and report a character that has no mapping
// instead of guessing one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvashu::platform_cp932 {

// `bytes` holds whole, well-formed code page 932 characters (single bytes
// and lead/trail pairs). Their UTF-8 form, or std::nullopt when any of them
// has no Unicode mapping.
std::optional<std::string> DecodeCharacters(std::string_view bytes);

// `utf8` is valid UTF-8. Its code page 932 bytes, or std::nullopt when any
// character has no code of its own (no best-fit substitutes).
std::optional<std::string> EncodeCharacters(std::string_view utf8);

}  // namespace tolvashu::platform_cp932
