// The four operations as the whole-operation tests run them, and the
// fixture they run on: the sample folders with more of each family, a
// backup to restore, and a world file with every kind of item.
#pragma once

#include <ostream>
#include <string>

#include "app/operation_table.h"
#include "app/operations.h"
#include "support/scratch_folder.h"

namespace tolvashu::testing {

struct OperationCase {
  const char* name;
  const char* command;  // the operation's name on the console program's command line
  const OperationRow* row;
  std::string source;       // below the scratch folder, ending with '/'
  std::string destination;  // likewise
  const char* against;      // what verify compares the game folder with once the operation has run
};

inline void PrintTo(const OperationCase& operation, std::ostream* out) { *out << operation.name; }

inline const OperationCase kOperations[] = {
    {"Install", "install", &kInstallOperation, "package/", "game/", "package"},
    {"Backup", "backup", &kBackupOperation, "game/", "game/Backup/", "backup"},
    {"Restore", "restore", &kRestoreOperation, "game/Backup/", "game/", "backup"},
    {"Default", "default", &kDefaultOperation, "game/Default/", "game/", "default"},
};

// The world file names haikei01.jpg and maps\east.jpg (a subfolder that the
// Backup folder lacks), which are copied,
// and one item for each reason not to copy one: a missing file, a name
// reaching outside, bytes that are no code page 932 text, no name at all. A
// name is in another case than the transfer writes it, and every file has
// the same time.
void MakeFixture(const ScratchFolder& scratch);
// The same, with a file beside MAINDATA.DAT and one beside
// nationDATA/nation01.dat whose names differ only in case: only a file
// system that tells case apart can hold them.
void MakeFixtureWithCaseTwins(const ScratchFolder& scratch);

}  // namespace tolvashu::testing
