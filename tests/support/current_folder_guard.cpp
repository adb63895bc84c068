#include "support/current_folder_guard.h"

#include "support/scratch_folder.h"

namespace tolvashu::testing {

CurrentFolderGuard::CurrentFolderGuard(const std::string& folder) : previous_(std::filesystem::current_path()) {
  std::filesystem::current_path(ToPath(folder));
}

CurrentFolderGuard::~CurrentFolderGuard() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
}

}  // namespace tolvashu::testing
