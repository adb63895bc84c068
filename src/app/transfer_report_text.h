// The text of the box that tells the user which files a transfer could not
// write: a head line, up to ten names one per line, "ほか N 件" for the rest,
// and what to do about each cause met; CR between lines.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "files/file_ops.h"

namespace tolvashu {

inline constexpr std::size_t kReportMaxNames = 10;

// Names inside `game_folder` (which ends with "\") are shown relative to it,
// as the user sees the game's own files; others keep their full path.
// `head` is one of the report heads of app_texts.h.
std::string TransferReportText(const char* head, const std::vector<FileFailure>& failures,
                               const std::string& game_folder);

// `lines` joined by CR, the line break of message texts.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace tolvashu
