// CopyFile for Windows: the content goes to a hidden temporary file beside
// the destination and replaces the destination only once it is complete.
#pragma once

#include <functional>
#include <string>

#include "files/file_ops.h"

namespace tolvashu {

// See FileOps::CopyFile. Afterwards the destination is an ordinary file (not
// hidden, not read-only) with the source's content and, where its volume can
// hold it, last-write time; its content is on the disk, not only in the
// system's cache. An existing destination of another letter case keeps its
// name. On failure the old destination is untouched and no temporary file
// remains. `after_chunk` is called after each chunk of the content is
// written; `place` decides how the content takes its place.
CopyResult CopyThroughTemporaryFile(const std::string& source, const std::string& destination,
                                    const std::function<void()>& after_chunk, const PlaceNewContent& place);

}  // namespace tolvashu
