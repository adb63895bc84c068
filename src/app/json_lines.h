// JSON Lines for programs that read what the console program prints: one
// object on each line, its keys in the order they were set. Names inside
// the program are UTF-8; should a text ever hold bytes that are not, they
// come out as U+FFFD instead of making the output fail.
#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

namespace tolvashu {

using JsonObject = nlohmann::ordered_json;

// The object on one line, with its line end.
std::string JsonLine(const JsonObject& object);

// {"files": N, "bytes": B}
JsonObject JsonCount(std::uint64_t files, std::uint64_t bytes);

}  // namespace tolvashu
