// The shared half of the code page 932 codec. Which bytes form a character is
// decided here, by the structure of the code page, so that both builds agree
// on every byte sequence; the platform converter only translates characters
// that are well formed, and anything it cannot map becomes U+FFFD (decoding)
// or a failure (encoding).
#include "text/text_codec.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "text/code_points.h"
#include "text/text_codec_platform.h"

namespace tolvashu {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// The platform converts about this many bytes at a time. Long enough that a
// large file takes few calls, short enough that a run holding a character the
// platform refuses is cheap to search for it (10 MB decode in about 0.1 s).
constexpr std::size_t kRunBytes = 4 * 1024;

bool IsSingleByteCharacter(std::uint8_t b) { return b <= 0x7F || (b >= 0xA1 && b <= 0xDF); }
bool IsLeadByte(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(std::uint8_t b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// The length of the well-formed character at `pos`, or 0 when the byte there
// starts none (it is then one invalid byte on its own).
std::size_t CharacterLength(std::string_view bytes, std::size_t pos) {
  auto b = static_cast<std::uint8_t>(bytes[pos]);
  if (IsSingleByteCharacter(b)) return 1;
  if (IsLeadByte(b) && pos + 1 < bytes.size() && IsTrailByte(static_cast<std::uint8_t>(bytes[pos + 1]))) return 2;
  return 0;
}

// The end of the run of well-formed characters that starts at `pos`: at the
// first invalid byte, the end of the text, or the first character boundary
// at least kRunBytes on.
std::size_t WellFormedRunEnd(std::string_view bytes, std::size_t pos) {
  std::size_t end = pos;
  while (end < bytes.size() && end - pos < kRunBytes) {
    std::size_t length = CharacterLength(bytes, end);
    if (length == 0) break;
    end += length;
  }
  return end;
}

// Appends the platform's decoding of well-formed characters; false, leaving
// `out` as it was, when the platform refuses one of them.
bool AppendDecoded(std::string_view characters, std::string& out) {
  std::optional<std::string> text = platform_cp932::DecodeCharacters(characters);
  if (text) out += *text;
  return text.has_value();
}

// Decodes the characters [first, last) of a run, which the platform has
// refused together. `starts` holds the run's character starts and, last, its
// end. The part is halved until each refused character is alone; that
// character becomes U+FFFD.
void DecodeRefusedCharacters(std::string_view run, const std::vector<std::size_t>& starts, std::size_t first,
                             std::size_t last, std::string& out) {
  if (last - first == 1) {
    out += kReplacement;
    return;
  }
  std::size_t middle = first + (last - first) / 2;
  for (auto [from, to] : {std::pair(first, middle), std::pair(middle, last)}) {
    if (!AppendDecoded(run.substr(starts[from], starts[to] - starts[from]), out)) {
      DecodeRefusedCharacters(run, starts, from, to, out);
    }
  }
}

void DecodeRun(std::string_view run, std::string& out) {
  if (AppendDecoded(run, out)) return;
  std::vector<std::size_t> starts;
  for (std::size_t pos = 0; pos < run.size(); pos += CharacterLength(run, pos)) starts.push_back(pos);
  starts.push_back(run.size());
  DecodeRefusedCharacters(run, starts, 0, starts.size() - 1, out);
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t length = DecodeUtf8Character(text, pos).length;
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

}  // namespace

std::string DecodeCp932(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t run_end = WellFormedRunEnd(bytes, pos);
    if (run_end > pos) {
      DecodeRun(bytes.substr(pos, run_end - pos), out);
      pos = run_end;
    } else {
      out += kReplacement;  // one invalid byte; the next byte starts afresh
      ++pos;
    }
  }
  return out;
}

std::optional<std::string> EncodeCp932(std::string_view utf8) {
  if (!IsValidUtf8(utf8)) return std::nullopt;
  std::optional<std::string> bytes = platform_cp932::EncodeCharacters(utf8);
  // A converter may still substitute a look-alike (a yen sign written as a
  // backslash would change a path): only a code that decodes back to the very
  // same character counts.
  if (!bytes || DecodeCp932(*bytes) != utf8) return std::nullopt;
  return bytes;
}

}  // namespace tolvashu
