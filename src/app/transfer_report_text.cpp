#include "app/transfer_report_text.h"

#include <algorithm>

#include "app/app_texts.h"

namespace tolvashu {

namespace {

// The advice lines in the order they are shown; "cannot be read" and
// "other" share the last one.
const char* AdviceFor(FailureCause cause) {
  switch (cause) {
    case FailureCause::kInUse:
      return texts::kAdviceInUse;
    case FailureCause::kDenied:
      return texts::kAdviceDenied;
    case FailureCause::kDiskFull:
      return texts::kAdviceDiskFull;
    case FailureCause::kUnreadable:
    case FailureCause::kOther:
      break;
  }
  return texts::kAdviceCheckFiles;
}

constexpr FailureCause kCausesInOrder[] = {FailureCause::kInUse, FailureCause::kDenied, FailureCause::kDiskFull,
                                           FailureCause::kUnreadable, FailureCause::kOther};

void AppendAdvice(const std::vector<FileFailure>& failures, std::vector<std::string>& lines) {
  std::vector<const char*> advice;
  for (FailureCause cause : kCausesInOrder) {
    bool present = std::any_of(failures.begin(), failures.end(),
                               [cause](const FileFailure& failure) { return failure.cause == cause; });
    const char* line = AdviceFor(cause);
    if (present && std::find(advice.begin(), advice.end(), line) == advice.end()) advice.push_back(line);
  }
  lines.insert(lines.end(), advice.begin(), advice.end());
}

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

std::string TransferReportText(const char* head, const std::vector<FileFailure>& failures,
                               const std::string& game_folder) {
  std::vector<std::string> lines{head};
  std::size_t shown = std::min(failures.size(), kReportMaxNames);
  for (std::size_t i = 0; i < shown; ++i) lines.push_back(ShownName(failures[i].path, game_folder));
  if (failures.size() > shown) {
    lines.push_back(texts::kReportMoreBefore + std::to_string(failures.size() - shown) + texts::kReportMoreAfter);
  }
  AppendAdvice(failures, lines);
  return JoinLines(lines);
}

}  // namespace tolvashu
