#include "app/data_folders.h"

#include "app/operation_table.h"
#include "folderchoice/policy_steps.h"

namespace tolvashu {

void MakeDataFolders(FileOps& files, const std::string& game_path) {
  constexpr ErrorPolicy kPolicy = ErrorPolicy::kSkipAndContinue;
  // A folder that exists already, or whose parent is missing, is passed over.
  for (const char* tail : kDataFolderTails) SkipOnFailure<kPolicy>(files.MakeFolder(game_path + tail));
}

}  // namespace tolvashu
