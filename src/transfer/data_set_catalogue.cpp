#include "transfer/data_set_catalogue.h"

namespace tolvashu::catalogue {

// The characters are ASCII, and an ASCII byte is always a whole character in
// UTF-8, so comparing bytes compares characters.
bool Matches(const EntrySweep& sweep, std::string_view entry) {
  std::string_view characters = sweep.characters;
  if (entry.size() < characters.size()) return false;
  std::size_t start = sweep.match == Match::kLastCharacters ? entry.size() - characters.size() : 0;
  return entry.compare(start, characters.size(), characters) == 0;
}

std::string SweepPattern(const EntrySweep& sweep) {
  const std::string characters(sweep.characters);
  return sweep.match == Match::kLastCharacters ? "*" + characters : characters + "*";
}

std::string KoseiFileName(int number) {
  std::string digits = "00" + std::to_string(number);
  return "kosei" + digits.substr(digits.size() - 2) + ".dat";
}

std::string NenpyoFileName(int number) {
  std::string digits = std::to_string(number);
  return "年表" + digits.substr(digits.size() - 1) + ".txt";
}

}  // namespace tolvashu::catalogue
