// Whether the game folder holds exactly the data set that an operation
// would leave there: the plan of a dry run of that operation, with each
// change's effect judged by content. A plan that changes nothing (or only
// writes what the content already is) means the folder agrees; every other
// change is a file that differs:
//   differs PATH      the file there has other content than the operation's
//   missing PATH      the operation would put a file where there is none
//   extra PATH        the operation would remove the file (a family member it does not bring)
//   not-empty PATH    a status file the operation leaves empty holds something
//   unreadable PATH   the file, or what it is compared with, could not be read
// The folders the operation makes and the saved folder it writes are no
// part of the game's data and are left out; an empty file that the
// operation would create where there is none agrees (the status files:
// neither holds any state of a game).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/plan_effects.h"
#include "disk/planned_change.h"

namespace tolvashu {

enum class Disagreement { kDiffers, kMissing, kExtra, kNotEmpty, kUnreadable };

struct VerifyFinding {
  Disagreement what;
  std::string path;
  std::string source;  // the file it is compared with, when the operation copies one
};

struct Verdict {
  std::vector<VerifyFinding> findings;
  std::uint64_t agreeing = 0;  // files the operation would leave as they are
  bool agrees() const { return findings.empty(); }
  bool unreadable() const;
};

Verdict VerdictOf(const std::vector<PlannedChange>& changes, const std::vector<PlannedEffect>& effects);

// The lines above, then "verify: agrees (N files)" or
// "verify: differs: N files (D differs, M missing, E extra, X not-empty, U unreadable), A agree".
std::string VerdictText(const Verdict& verdict);
// {"type":"differs","path":P,"source":S} ... then
// {"type":"summary","agrees":false,"against":"package","differs":1,...,"agreeing":A}
std::string VerdictJson(const Verdict& verdict, const std::string& against);

}  // namespace tolvashu
