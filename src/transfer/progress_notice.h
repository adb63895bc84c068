// The notice that asks the user to wait while a transfer runs. The engine
// shows it at its start, tells it what it is doing while it runs, and unloads
// it at its end; the front end decides what it looks like.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "transfer/manifest_skip.h"

namespace tolvashu {

// What a transfer is expected to copy, from a plan made before it runs.
struct ProgressTotal {
  std::uint64_t files = 0;
  std::uint64_t bytes = 0;
  // Each copy's size, by its name relative to the two folders.
  std::map<std::string, std::uint64_t, std::less<>> sizes;
};

// The parts of the transfer's sequence that copy, told to the notice as each
// one starts (a part may come more than once: the catalogue's names stand
// before and after the scenario series).
enum class TransferStep {
  kSubfolder,     // every file of a data subfolder; its detail: the folder, "nationDATA\\"
  kSweep,         // the source folder's files a sweep takes; its detail: "*jpg", "namedata*"
  kKoseiRange,    // the scenario files kosei01..kosei99, each tried on its own
  kCatalogue,     // the fixed names, the replaced file and the status files
  kKoseiSeries,   // kosei00, kosei01, ... up to the first missing number
  kNenpyoSeries,  // 年表1.txt, 年表2.txt, ... up to the first missing number
  kWorldFile,     // the names that the world file lists
};

class ProgressNotice {
 public:
  virtual ~ProgressNotice() = default;
  // Shows the notice (created afresh) and makes sure it is drawn before the
  // caller goes on with its work.
  virtual void Show() = 0;
  // Destroys the notice.
  virtual void Unload() = 0;

  // What the transfer that comes next will copy, told before Show. Nothing
  // by default.
  virtual void Expect(const ProgressTotal& /*total*/) {}
  // The transfer is about to copy the file of this name, relative to its two
  // folders (such as "nationDATA\1.dat"). Also a moment like StillWorking.
  // Nothing by default.
  virtual void CopyingFile(std::string_view /*name*/) {}
  // The file of this name has been copied: the destination holds it now.
  // Nothing by default.
  virtual void FileCopied(std::string_view /*name*/) {}
  // The part of the sequence that copies next. Nothing by default.
  virtual void StepStarts(TransferStep /*step*/, std::string_view /*detail*/) {}
  // An item of the world file that names a file was not copied, and why.
  // Nothing by default.
  virtual void ManifestItemSkipped(std::string_view /*item*/, ManifestSkip /*why*/) {}
  // Called between the transfer's other file operations and between the
  // chunks of a long copy. The transfer returns to its caller only when it
  // ends, so a notice on a window system lets the system in here: the
  // program's windows are painted and answer the system meanwhile. Nothing
  // by default.
  virtual void StillWorking() {}
  // Whether the user has asked the program to end (a signal, a closed
  // window): the transfer then stops at its next step and is undone. False
  // by default.
  virtual bool Interrupted() { return false; }
};

}  // namespace tolvashu
