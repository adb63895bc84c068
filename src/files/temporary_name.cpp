#include "files/temporary_name.h"

#include <chrono>
#include <cstdint>
#include <random>

namespace tolvashu {

namespace {

constexpr std::string_view kPrefix = kOwnNamePrefix;
constexpr std::string_view kSuffix = ".tmp";

std::uint64_t NextRandom() {
  // Seeded once per process from the platform's entropy and the clock, so two
  // processes writing into one folder do not walk the same sequence.
  static std::mt19937_64 generator = [] {
    std::random_device entropy;
    std::uint64_t clock = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seed{entropy(), entropy(), static_cast<unsigned>(clock), static_cast<unsigned>(clock >> 32)};
    return std::mt19937_64(seed);
  }();
  return generator();
}

}  // namespace

std::string MakeOwnId() {
  static constexpr char kHex[] = "0123456789abcdef";
  std::uint64_t value = NextRandom();
  std::string id;
  for (int shift = 60; shift >= 0; shift -= 4) id += kHex[(value >> shift) & 0xF];
  return id;
}

std::string MakeTemporaryName() { return std::string(kPrefix) + MakeOwnId() + std::string(kSuffix); }

bool IsOwnName(std::string_view name) { return name.substr(0, kPrefix.size()) == kPrefix; }

bool IsTemporaryName(std::string_view name) {
  return name.size() > kPrefix.size() + kSuffix.size() && name.substr(0, kPrefix.size()) == kPrefix &&
         name.substr(name.size() - kSuffix.size()) == kSuffix;
}

}  // namespace tolvashu
