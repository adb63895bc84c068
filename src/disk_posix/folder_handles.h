// Open handles of the folders that copies write into, so that a temporary
// file is made and given its name by its own name alone, instead of by a
// path that the system looks up name by name every time.
//
// A handle stands for the folder it was opened on. Should that folder be
// moved or removed while its handle is kept, what goes through the handle
// may fail, or land in the moved folder; a caller whose work failed through
// a kept handle lets go of it and tries once more with a handle opened anew
// on the folder that the path names now.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "disk_posix/unique_fd.h"

namespace tolvashu {

class FolderHandles {
 public:
  // One open folder. Shared: a staged copy keeps the handle it was written
  // through open for as long as it lives, also once it is no longer kept here.
  struct Folder {
    UniqueFd fd;
    // Whether the folder's file system may still make unnamed temporary
    // files (temporary_file.h); kept with the handle.
    bool unnamed_files = true;
  };
  struct Handle {
    std::shared_ptr<Folder> folder;  // null, with errno set, when the folder cannot be opened
    bool kept = false;  // opened for an earlier call, so it may stand for a folder moved since
  };
  // A handle of the on-disk `folder`, kept for later calls.
  Handle Get(const std::string& folder);

  // Lets go of the handle of `folder`, if one is kept.
  void Forget(const std::string& folder);

 private:
  struct Kept {
    std::string folder;
    std::shared_ptr<Folder> handle;
  };
  std::vector<Kept> handles_;  // the most recently opened last; never more than a few
};

}  // namespace tolvashu
