// CopyFile for Windows: the content goes to a hidden temporary file beside
// the destination and replaces the destination only once it is complete.
#pragma once

#include <functional>
#include <string>

#include "files/file_ops.h"

namespace tolvashu {

// See FileOps::CopyFile. Afterwards the destination is an ordinary file (not
// hidden, not read-only) with the source's content and last-write time; an
// existing destination of another letter case keeps its name. On failure
// the old destination is untouched and no temporary file remains.
// `after_chunk` is called after each chunk of the content is written.
CopyResult CopyThroughTemporaryFile(const std::string& source, const std::string& destination,
                                    const std::function<void()>& after_chunk);

}  // namespace tolvashu
