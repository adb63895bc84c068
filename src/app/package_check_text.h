// The findings of check as text and as JSON Lines. Text: the files taken,
// grouped by the part of the sequence that takes them, each group with its
// count and size; the world-file items that are not copied, with the name
// each resolves to; the warnings; a total:
//   subfolder nationDATA/: 2 files (0.1 KB)
//     nationDATA/nation01.dat
//   family *jpg: 1 file (0.0 KB)
//   ...
//   skip missing kiri_sashie.jpg (挿絵: kiri_sashie.jpg)
//   warning untaken pic.JPG: the *jpg family takes only names in that exact case
//   total: 21 files taken (0.9 KB), 1 item skipped, 1 warning
// JSON: {"type":"take","step":"sweep","detail":"*jpg","path":P,"bytes":N},
// {"type":"skip",...} as in the plan, {"type":"warning","warning":"untaken",
// "path":P,"hint":"sweep-case","detail":"*jpg"}, {"type":"failure","path":P,
// "reason":R}, then {"type":"summary","taken":{"files":N,"bytes":B},
// "skipped":N,"warnings":N,"failures":N}.
#pragma once

#include <string>

#include "app/package_check.h"

namespace tolvashu {

std::string PackageCheckText(const PackageCheck& check);
std::string PackageCheckJson(const PackageCheck& check);

}  // namespace tolvashu
