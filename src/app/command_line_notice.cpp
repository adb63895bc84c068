#include "app/command_line_notice.h"

#include "app/console_paths.h"
#include "app/console_texts.h"
#include "app/interruption.h"
#include "text/code_points.h"

namespace tolvashu {

namespace {

// Narrower than the narrowest usual terminal, so that the line never wraps
// (a wrapped line could no longer be written over).
constexpr std::size_t kMaxColumns = 79;

// Japanese characters take two columns of a terminal, ASCII one.
std::size_t ColumnsOf(char32_t c) { return c < 0x80 ? 1 : 2; }

// The text cut to `max_columns`, and how many columns it takes.
std::pair<std::string, std::size_t> FitColumns(std::string_view text, std::size_t max_columns) {
  std::u32string characters = DecodeUtf8(text);
  std::size_t columns = 0;
  std::size_t kept = 0;
  for (; kept < characters.size() && columns + ColumnsOf(characters[kept]) <= max_columns; ++kept) {
    columns += ColumnsOf(characters[kept]);
  }
  characters.resize(kept);
  return {EncodeUtf8(characters), columns};
}

}  // namespace

void CommandLineNotice::Draw(const std::string& text) {
  auto [fitted, columns] = FitColumns(text, kMaxColumns);
  std::string line = "\r" + fitted;
  if (columns < shown_columns_) line.append(shown_columns_ - columns, ' ');
  terminal_->Write(line);
  shown_columns_ = columns;
}

void CommandLineNotice::CopyingFile(std::string_view name) {
  if (!terminal_ || !count_.Planned(name)) return;
  Draw(console::kCopiedBefore + count_.Text() + console::kCopiedAfter + ShownPath(std::string(name)));
}

void CommandLineNotice::Show() { TransferStarts(); }

bool CommandLineNotice::Interrupted() { return InterruptingSignal() != 0; }

void CommandLineNotice::Unload() {
  TransferEnds();
  if (!terminal_ || shown_columns_ == 0) return;
  Draw("");
  terminal_->Write("\r");
}

void CommandLineNotice::ManifestItemSkipped(std::string_view item, ManifestSkip why) {
  skipped_.push_back({std::string(item), why});
}

}  // namespace tolvashu
