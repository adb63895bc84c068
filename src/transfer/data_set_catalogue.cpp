#include "transfer/data_set_catalogue.h"

namespace tolvashu::catalogue {

std::string KoseiFileName(int number) {
  std::string digits = "00" + std::to_string(number);
  return "kosei" + digits.substr(digits.size() - 2) + ".dat";
}

std::string NenpyoFileName(int number) {
  std::string digits = std::to_string(number);
  return "年表" + digits.substr(digits.size() - 1) + ".txt";
}

}  // namespace tolvashu::catalogue
