// Reads every item of arbitrary text: the reader must give an item whenever
// it is not at its end, consume at least one character per item, and give
// nothing once at its end.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "text/item_reader.h"

using tolvashu::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tolvashu::ItemReader reader(std::string(reinterpret_cast<const char*>(data), size));
  std::size_t items = 0;
  while (!reader.AtEnd()) {
    std::optional<std::string> item = reader.ReadItem();
    Require(item.has_value(), "an item is there until the end");
    Require(item->size() <= size, "an item is part of the text");
    Require(++items <= size, "every item consumes at least one character");
  }
  Require(!reader.ReadItem().has_value(), "no item after the end");
  return 0;
}
