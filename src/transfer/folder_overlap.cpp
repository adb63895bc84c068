#include "transfer/folder_overlap.h"

#include "transfer/data_set_catalogue.h"

namespace tolvashu {

FolderOverlap CheckFolderOverlap(FileOps& files, const std::string& source_folder,
                                 const std::string& destination_folder) {
  if (files.IsSameFolder(source_folder, destination_folder)) return FolderOverlap::kSameFolder;
  for (const catalogue::Subfolder& subfolder : catalogue::kSubfolders) {
    const std::string cleared = destination_folder + std::string(subfolder.folder);
    // The package unpacked into the game's data folder, or a data folder of
    // the source that is a link to the destination's.
    if (files.IsSameFolder(source_folder, cleared) ||
        files.IsSameFolder(source_folder + std::string(subfolder.folder), cleared)) {
      return FolderOverlap::kSourceInClearedFolder;
    }
  }
  return FolderOverlap::kNone;
}

}  // namespace tolvashu
