// Takes arbitrary bytes, raw and decoded from code page 932 as the world file
// is, as one item of the world file. A name comes only from an item with one
// of the four extensions, holds no colon or blank, and is made of the item's
// own characters after the first colon, in order. A name accepted as staying
// inside its folder never climbs above it, however its components are read.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "text/text_codec.h"
#include "transfer/inside_folder.h"
#include "transfer/manifest_name.h"
#include "transfer/manifest_skip.h"

using tolvashu::fuzz::Require;

namespace {

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool IsSubsequence(std::string_view part, std::string_view whole) {
  std::size_t at = 0;
  for (char c : part) {
    at = whole.find(c, at);
    if (at == std::string_view::npos) return false;
    ++at;
  }
  return true;
}

// Reads the name the way a path resolver does: '.' and empty components stay,
// '..' steps up. False when that ever leaves the folder.
bool NeverClimbsOut(std::string_view name) {
  int depth = 0;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = name.size();
    std::string_view component = name.substr(start, end - start);
    if (component == "..") --depth;
    else if (!component.empty() && component != ".") ++depth;
    if (depth < 0) return false;
    start = end + 1;
  }
  return true;
}

void Check(std::string_view item, bool valid_utf8) {
  std::optional<std::string> name = tolvashu::ManifestFileName(item);
  if (!name) return;
  Require(EndsWith(item, ".jpg") || EndsWith(item, ".gif") || EndsWith(item, ".dat") || EndsWith(item, ".txt"),
          "only an item with a listed extension names a file");
  Require(name->find_first_of(": ") == std::string::npos, "a name holds no colon and no blank");
  if (valid_utf8) Require(name->find("\u3000") == std::string::npos, "a name holds no ideographic space");
  std::size_t colon = item.find(':');
  Require(colon != std::string_view::npos || name->empty(), "without a colon the name is empty");
  if (colon != std::string_view::npos) {
    Require(IsSubsequence(*name, item.substr(colon + 1)), "the name is made of what follows the colon");
  }
  if (tolvashu::StaysInsideFolder(*name)) {
    Require(!name->empty() && name->front() != '\\' && name->front() != '/', "an accepted name is relative");
    Require(NeverClimbsOut(*name), "an accepted name stays inside its folder");
  }
  if (!tolvashu::WhyNameIsRefused(*name)) {
    Require(tolvashu::StaysInsideFolder(*name), "a name tried stays inside its folder");
    Require(name->find("\uFFFD") == std::string::npos, "a name tried is what the world file's bytes spell");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Check(bytes, false);
  Check(tolvashu::DecodeCp932(bytes), true);
  return 0;
}
