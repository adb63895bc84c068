#include "disk/temporary_name.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <random>
#include <thread>

namespace tolvashu {

namespace {

constexpr std::string_view kPrefix = kOwnNamePrefix;
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kIdLength = 16;

bool IsId(std::string_view text) {
  if (text.size() != kIdLength) return false;
  for (char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::uint64_t NextRandom() {
  // Seeded once per process from two clocks, the thread and where the
  // system placed this process's data, so that two processes writing into
  // one folder do not walk the same sequence. A name that is taken all the
  // same is met by the exclusive creation, which asks for another. (No
  // std::random_device: linked into the Linux release, it would ask for a
  // newer C library than many systems have.)
  static std::mt19937_64 generator = [] {
    static const char here = 0;
    const auto steady = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    const auto wall = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    const auto thread = static_cast<std::uint64_t>(std::hash<std::thread::id>()(std::this_thread::get_id()));
    const auto place = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&here));
    std::seed_seq seed{static_cast<unsigned>(steady), static_cast<unsigned>(steady >> 32),
                       static_cast<unsigned>(wall),   static_cast<unsigned>(wall >> 32),
                       static_cast<unsigned>(thread), static_cast<unsigned>(place >> 4)};
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

std::string MakeAsideName() { return OwnName(kAsideForm, MakeOwnId()); }

std::string OwnName(std::string_view form, std::string_view id) {
  return std::string(kPrefix) + std::string(form) + std::string(id);
}

bool IsOwnNameOfForm(std::string_view name, std::string_view form) {
  const std::size_t start = kPrefix.size() + form.size();
  return name.size() == start + kIdLength && name.substr(0, kPrefix.size()) == kPrefix &&
         name.substr(kPrefix.size(), form.size()) == form && IsId(name.substr(start));
}

bool IsOwnName(std::string_view name) {
  return IsTemporaryName(name) || name == kLockName || IsOwnNameOfForm(name, kJournalForm) ||
         IsOwnNameOfForm(name, kHoldForm) || IsOwnNameOfForm(name, kAsideForm);
}

bool IsTemporaryName(std::string_view name) {
  return name.size() == kPrefix.size() + kIdLength + kSuffix.size() && name.substr(0, kPrefix.size()) == kPrefix &&
         name.substr(name.size() - kSuffix.size()) == kSuffix && IsId(name.substr(kPrefix.size(), kIdLength));
}

}  // namespace tolvashu
