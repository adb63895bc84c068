#include "app/game_verify.h"

#include <algorithm>
#include <array>
#include <optional>

#include "app/console_paths.h"
#include "app/json_lines.h"

namespace tolvashu {

namespace {

constexpr std::array<Disagreement, 5> kDisagreements = {Disagreement::kDiffers, Disagreement::kMissing,
                                                        Disagreement::kExtra, Disagreement::kNotEmpty,
                                                        Disagreement::kUnreadable};

const char* Word(Disagreement what) {
  switch (what) {
    case Disagreement::kDiffers:
      return "differs";
    case Disagreement::kMissing:
      return "missing";
    case Disagreement::kExtra:
      return "extra";
    case Disagreement::kNotEmpty:
      return "not-empty";
    case Disagreement::kUnreadable:
      break;
  }
  return "unreadable";
}

// An empty file that the operation would make where there is none (a status
// file it empties, or copies empty from a backup that it was emptied in)
// holds no state of a game, and neither does no file.
bool AgreesAsEmpty(const PlannedChange& change, const PlannedEffect& effect) {
  return change.kind != ChangeKind::kMakeFolder && effect.effect == Effect::kNew && effect.bytes == 0;
}

// What the change says of the folder, or nothing when it agrees or is no
// part of the game's data.
std::optional<Disagreement> DisagreementOf(const PlannedChange& change, const PlannedEffect& effect) {
  if (change.kind == ChangeKind::kMakeFolder || change.kind == ChangeKind::kWrite) return std::nullopt;
  if (AgreesAsEmpty(change, effect)) return std::nullopt;
  if (effect.unreadable) return Disagreement::kUnreadable;
  switch (effect.effect) {
    case Effect::kNew:
      return Disagreement::kMissing;
    case Effect::kReplaced:
      return Disagreement::kDiffers;
    case Effect::kRemoved:
      return Disagreement::kExtra;
    case Effect::kEmptied:
      return Disagreement::kNotEmpty;
    case Effect::kUnchanged:
    case Effect::kFolderMade:
      break;
  }
  return std::nullopt;
}

std::size_t CountOf(const Verdict& verdict, Disagreement what) {
  return std::count_if(verdict.findings.begin(), verdict.findings.end(),
                       [&](const VerifyFinding& finding) { return finding.what == what; });
}

}  // namespace

bool Verdict::unreadable() const { return CountOf(*this, Disagreement::kUnreadable) != 0; }

Verdict VerdictOf(const std::vector<PlannedChange>& changes, const std::vector<PlannedEffect>& effects) {
  Verdict verdict;
  for (std::size_t i = 0; i < changes.size() && i < effects.size(); ++i) {
    const PlannedChange& change = changes[i];
    if (std::optional<Disagreement> what = DisagreementOf(change, effects[i])) {
      verdict.findings.push_back({*what, change.path, change.kind == ChangeKind::kCopy ? change.source : ""});
    } else if ((effects[i].effect == Effect::kUnchanged && change.kind != ChangeKind::kWrite) ||
               AgreesAsEmpty(change, effects[i])) {
      ++verdict.agreeing;
    }
  }
  return verdict;
}

std::string VerdictText(const Verdict& verdict) {
  std::string text;
  for (const VerifyFinding& finding : verdict.findings) text += Word(finding.what) + (" " + ShownPath(finding.path)) + "\n";
  if (verdict.agrees()) return text + "verify: agrees (" + std::to_string(verdict.agreeing) + " files)\n";
  text += "verify: differs: " + std::to_string(verdict.findings.size()) + " files (";
  for (Disagreement what : kDisagreements) {
    text += std::to_string(CountOf(verdict, what)) + " " + Word(what) + (what == kDisagreements.back() ? "" : ", ");
  }
  return text + "), " + std::to_string(verdict.agreeing) + " agree\n";
}

std::string VerdictJson(const Verdict& verdict, const std::string& against) {
  std::string lines;
  for (const VerifyFinding& finding : verdict.findings) {
    JsonObject object;
    object["type"] = Word(finding.what);
    object["path"] = ShownPath(finding.path);
    if (!finding.source.empty()) object["source"] = ShownPath(finding.source);
    lines += JsonLine(object);
  }
  JsonObject summary;
  summary["type"] = "summary";
  summary["agrees"] = verdict.agrees();
  summary["against"] = against;
  for (Disagreement what : kDisagreements) summary[Word(what)] = CountOf(verdict, what);
  summary["agreeing"] = verdict.agreeing;
  return lines + JsonLine(summary);
}

}  // namespace tolvashu
