// Runs one transfer for scripts/bench and says what it saw: the time the
// transfer took, the failures it reported and the process's peak memory.
// usage: transfer_bench SOURCE_FOLDER DESTINATION_FOLDER [MUSIC_SWITCH]
// The world file is read from the current directory, as in the program.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "files/file_ops.h"
#include "transfer/progress_notice.h"
#include "transfer/transfer_data_set.h"

namespace {

class SilentNotice : public tolvashu::ProgressNotice {
 public:
  void Show() override {}
  void Unload() override {}
};

long PeakMemoryKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: %s SOURCE_FOLDER DESTINATION_FOLDER [MUSIC_SWITCH]\n", argv[0]);
    return 2;
  }
  std::unique_ptr<tolvashu::FileOps> files = tolvashu::MakePlatformFileOps();
  SilentNotice notice;
  auto start = std::chrono::steady_clock::now();
  tolvashu::TransferReport report =
      tolvashu::TransferDataSet(*files, notice, argv[1], argv[2], argc == 4 ? argv[3] : "");
  std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("transfer %.3f s, %zu failures%s, peak memory %ld KB\n", took.count(), report.failures.size(),
              report.overlap != tolvashu::FolderOverlap::kNone ? ", refused: the folders overlap" : "",
              PeakMemoryKilobytes());
  for (const tolvashu::FileFailure& failure : report.failures) {
    std::printf("  %s: %s\n", failure.path.c_str(), failure.reason.c_str());
  }
  return report.failures.empty() && report.overlap == tolvashu::FolderOverlap::kNone ? 0 : 1;
}
