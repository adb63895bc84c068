#include "app/json_lines.h"

namespace tolvashu {

std::string JsonLine(const JsonObject& object) {
  return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

JsonObject JsonCount(std::uint64_t files, std::uint64_t bytes) {
  JsonObject count;
  count["files"] = files;
  count["bytes"] = bytes;
  return count;
}

}  // namespace tolvashu
