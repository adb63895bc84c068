// The progress notice of an operation run by argument. On a terminal it is
// one line, written over as the transfer goes, with the files and MB copied
// of the plan's total and the file being copied, and cleared at the end; elsewhere it says
// nothing, so that a script reads only the program's output. It also keeps
// the world-file items that the transfer did not copy, for a dry run's plan.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/console_io.h"
#include "app/progress_count.h"
#include "transfer/progress_notice.h"

namespace tolvashu {

struct SkippedItem {
  std::string item;
  ManifestSkip why;
};

class CommandLineNotice : public ProgressNotice {
 public:
  // `terminal`: where the line is drawn; nullptr for no line.
  explicit CommandLineNotice(ConsoleIo* terminal) : terminal_(terminal) {}

  void Show() override;
  void Unload() override;
  bool Interrupted() override;
  void Expect(const ProgressTotal& total) override { count_.Expect(total); }
  void CopyingFile(std::string_view name) override;
  void FileCopied(std::string_view name) override { count_.Copied(name); }
  void ManifestItemSkipped(std::string_view item, ManifestSkip why) override;

  const std::vector<SkippedItem>& skipped() const { return skipped_; }

 private:
  // Writes `text` over the line shown, blanking what is left of it.
  void Draw(const std::string& text);

  ConsoleIo* terminal_;
  ProgressCount count_;
  std::size_t shown_columns_ = 0;
  std::vector<SkippedItem> skipped_;
};

}  // namespace tolvashu
