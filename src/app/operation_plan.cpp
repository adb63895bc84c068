#include "app/operation_plan.h"

#include "app/data_folders.h"
#include "disk/overlay_disk.h"
#include "transfer/transfer_data_set.h"

namespace tolvashu {

namespace {

// Shows nothing: the plan is made before the notice of the transfer comes.
class PlanningNotice : public ProgressNotice {
 public:
  explicit PlanningNotice(ProgressNotice& asked) : asked_(asked) {}
  void Show() override {}
  void Unload() override {}
  bool Interrupted() override { return asked_.Interrupted(); }

 private:
  ProgressNotice& asked_;
};

ProgressTotal TotalOf(const std::vector<PlannedChange>& changes, const std::string& destination) {
  ProgressTotal total;
  for (const PlannedChange& change : changes) {
    if (change.kind != ChangeKind::kCopy) continue;
    ++total.files;
    total.bytes += change.bytes;
    if (change.path.compare(0, destination.size(), destination) == 0) {
      total.sizes[change.path.substr(destination.size())] = change.bytes;
    }
  }
  return total;
}

}  // namespace

TransferPlan PlanTransfer(FileOps& files, ProgressNotice& asked, const std::string& game_path,
                          const std::string& source, const std::string& destination,
                          const std::string& music_switch) {
  OverlayDisk overlay(files.disk().PlanReads(), SourceReads::kLookedAt);
  FileOps planning(overlay);
  PlanningNotice notice(asked);
  MakeDataFolders(planning, game_path);
  TransferDataSet(planning, notice, source, destination, music_switch);
  TransferPlan plan;
  plan.changes = overlay.Changes();
  plan.total = TotalOf(plan.changes, destination);
  return plan;
}

}  // namespace tolvashu
