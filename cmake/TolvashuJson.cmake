# The JSON library (Debian's nlohmann-json3-dev, header-only) for both builds.
# Its headers lie in the host's /usr/include, which the MinGW build must not
# search (it would find the host's C library headers there), so the target
# gets a folder of the build that holds nothing but a link to them.
find_path(TOLVASHU_JSON_HEADERS nlohmann/json.hpp
          HINTS /usr/include
          NO_CMAKE_FIND_ROOT_PATH
          DOC "the folder that holds nlohmann/json.hpp")
if(NOT TOLVASHU_JSON_HEADERS)
  message(FATAL_ERROR "nlohmann/json.hpp not found: install nlohmann-json3-dev (scripts/setup does)")
endif()
set(tolvashu_json_include "${CMAKE_BINARY_DIR}/json-include")
file(MAKE_DIRECTORY "${tolvashu_json_include}")
file(CREATE_LINK "${TOLVASHU_JSON_HEADERS}/nlohmann" "${tolvashu_json_include}/nlohmann" SYMBOLIC)
add_library(tolvashu_json INTERFACE)
target_include_directories(tolvashu_json SYSTEM INTERFACE "${tolvashu_json_include}")
