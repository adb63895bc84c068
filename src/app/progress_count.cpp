#include "app/progress_count.h"

#include <algorithm>
#include <cstdio>

namespace tolvashu {

namespace {

std::string Megabytes(std::uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / (1024.0 * 1024.0));
  return text;
}

}  // namespace

void ProgressCount::Expect(const ProgressTotal& total) {
  total_ = total;
  files_done_ = bytes_done_ = 0;
}

void ProgressCount::Copied(std::string_view name) {
  ++files_done_;
  auto size = total_.sizes.find(name);
  if (size != total_.sizes.end()) bytes_done_ += size->second;
}

int ProgressCount::Share(int scale) const {
  const std::uint64_t done = total_.bytes != 0 ? bytes_done_ : files_done_;
  const std::uint64_t all = total_.bytes != 0 ? total_.bytes : total_.files;
  if (all == 0) return 0;
  return static_cast<int>(std::min(done, all) * static_cast<std::uint64_t>(scale) / all);
}

std::string ProgressCount::Text() const {
  const std::uint64_t files = std::min(files_done_, total_.files);
  const std::uint64_t bytes = std::min(bytes_done_, total_.bytes);
  return std::to_string(files) + "/" + std::to_string(total_.files) + " 件 " + Megabytes(bytes) + "/" +
         Megabytes(total_.bytes) + " MB";
}

}  // namespace tolvashu
