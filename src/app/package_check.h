// What a package holds for the game, seen without any game folder: the
// install transfer runs over the dry run's overlay of the package, into a
// destination folder that exists only in the overlay's memory, and a notice
// records which part of the sequence copies each file. So what is listed as
// taken is what the transfer takes, by its own rules, and nothing here
// repeats them. Then every file of the package that no part took is
// listed, with what the author most likely meant otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/command_line_notice.h"
#include "files/file_ops.h"
#include "transfer/progress_notice.h"

namespace tolvashu {

struct TakenFile {
  TransferStep step;   // the part of the sequence that copies it first
  std::string detail;  // that part's detail (ProgressNotice::StepStarts)
  std::string name;    // relative to the package, as the transfer names it
  std::uint64_t bytes = 0;
  // The later parts that copy it again (the world file names a picture
  // that the picture family took), the same file over the same file.
  std::vector<TransferStep> also;
};

// Why a file of the package is likely to have been meant for the game.
enum class UntakenHint {
  kNone,       // a file at the top that nothing names: the world file could
  kSweepCase,  // a family's test would take it, but for the case of its letters
  kSeries,     // looks like a member of a numbered series that stops before it
  kSubfolder,  // in a folder that only the world file takes files from
  kNotCp932,   // code page 932 cannot spell its name, so no world file can name it
};

enum class WarningKind {
  kUntaken,   // no part of the transfer copies the file
  kNotCp932,  // copied, but code page 932 cannot spell its name, which the
              // game's own texts and the world file are written in
};

struct PackageWarning {
  WarningKind kind;
  std::string name;  // relative to the package, as it holds it
  UntakenHint hint = UntakenHint::kNone;
  // kSweepCase: the family ("*jpg"); kSeries: the first name that the
  // series lacks, where it stops ("" when it stops at its last number).
  std::string detail;
};

struct PackageCheck {
  std::vector<TakenFile> taken;  // in the order the transfer copies them
  std::vector<SkippedItem> skipped;
  std::vector<PackageWarning> warnings;
  std::vector<FileFailure> failures;  // what could not be read
};

// The package is the current folder, as for Install.
PackageCheck CheckPackage(FileOps& files);

}  // namespace tolvashu
