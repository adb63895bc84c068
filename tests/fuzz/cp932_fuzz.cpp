// Decodes arbitrary bytes as code page 932 and encodes the result again. The
// decoded text holds code page 932 characters and U+FFFD only, so every piece
// between the replacements must encode, and the whole text must encode
// exactly when it has no replacement. A byte below 0x40 is never part of a
// pair, so the text after it decodes the same on its own, however the
// decoder cuts the bytes into runs. The same bytes, taken as UTF-8, must
// encode or be refused without harm.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "text/text_codec.h"

using tolvashu::DecodeCp932;
using tolvashu::EncodeCp932;
using tolvashu::fuzz::Require;

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

void CheckPiecesEncode(std::string_view text) {
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(kReplacement, start);
    if (end == std::string_view::npos) end = text.size();
    Require(EncodeCp932(text.substr(start, end - start)).has_value(), "a decoded character encodes again");
    start = end + kReplacement.size();
  }
}

void CheckDecodesAlikeInTwoParts(std::string_view bytes, const std::string& text) {
  std::size_t cut = bytes.size() / 2;
  while (cut < bytes.size() && static_cast<unsigned char>(bytes[cut]) >= 0x40) ++cut;
  if (cut == bytes.size()) return;
  ++cut;  // just past a byte that ends its character
  Require(DecodeCp932(bytes.substr(0, cut)) + DecodeCp932(bytes.substr(cut)) == text,
          "decoding does not depend on where the bytes are cut between characters");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string text = DecodeCp932(bytes);
  Require(text.size() <= 3 * size, "a byte decodes to at most three UTF-8 bytes");
  CheckPiecesEncode(text);
  CheckDecodesAlikeInTwoParts(bytes, text);
  bool replaced = text.find(kReplacement) != std::string::npos;
  Require(EncodeCp932(text).has_value() != replaced, "only a replacement makes the text unencodable");

  if (std::optional<std::string> encoded = EncodeCp932(bytes)) {
    Require(DecodeCp932(*encoded) == bytes, "encoded text decodes back");
  }
  return 0;
}
