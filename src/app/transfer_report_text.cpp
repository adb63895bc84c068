#include "app/transfer_report_text.h"

#include <algorithm>

#include "app/app_texts.h"

namespace tolvashu {

namespace {

std::string ShownName(const std::string& path, const std::string& game_folder) {
  bool inside = path.size() > game_folder.size() && path.compare(0, game_folder.size(), game_folder) == 0;
  return inside ? path.substr(game_folder.size()) : path;
}

}  // namespace

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += texts::kCR;
    text += lines[i];
  }
  return text;
}

std::string TransferReportText(const std::vector<FileFailure>& failures, const std::string& game_folder) {
  std::vector<std::string> lines{texts::kReportHead};
  std::size_t shown = std::min(failures.size(), kReportMaxNames);
  for (std::size_t i = 0; i < shown; ++i) lines.push_back(ShownName(failures[i].path, game_folder));
  if (failures.size() > shown) {
    lines.push_back(texts::kReportMoreBefore + std::to_string(failures.size() - shown) + texts::kReportMoreAfter);
  }
  lines.push_back(texts::kReportTail);
  return JoinLines(lines);
}

}  // namespace tolvashu
