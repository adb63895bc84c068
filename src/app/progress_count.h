// How far a transfer has got against the total its plan expects: the files
// and bytes copied so far, for the progress notices of both front ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "transfer/progress_notice.h"

namespace tolvashu {

class ProgressCount {
 public:
  // Starts again from nothing, against `total`.
  void Expect(const ProgressTotal& total);
  // Counts the copy of `name`, with the size the plan gave it.
  void Copied(std::string_view name);
  // Whether the plan has a copy of `name`: the names the transfer tries
  // and finds no source for are not shown.
  bool Planned(std::string_view name) const { return total_.sizes.count(name) != 0; }

  std::uint64_t files_done() const { return files_done_; }
  std::uint64_t bytes_done() const { return bytes_done_; }
  const ProgressTotal& total() const { return total_; }
  // How much of the work is done, from 0 to `scale`: by bytes, or by files
  // when the copies hold no bytes at all.
  int Share(int scale) const;
  // "12/340 件 3.2/45.0 MB", a copy counted again by the transfer never
  // going beyond the total.
  std::string Text() const;

 private:
  ProgressTotal total_;
  std::uint64_t files_done_ = 0;
  std::uint64_t bytes_done_ = 0;
};

}  // namespace tolvashu
