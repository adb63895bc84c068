// The files that only the package knows: the world file "vumoworld.dat" in
// the current folder lists them, and each one it names is copied from the
// transfer's source folder to its destination folder. The world file is read
// from the current folder whatever the source folder is, so Backup, Restore
// and Default move the same world's files as Install.
#pragma once

#include "transfer/folder_transfer.h"

namespace tolvashu {

void CopyManifestFiles(FolderTransfer& transfer);

}  // namespace tolvashu
