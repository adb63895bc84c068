#include "transfer/package_data.h"

#include <string_view>
#include <vector>

#include "transfer/data_set_catalogue.h"

namespace tolvashu {

namespace {

// Every name the transfer copies by name, without its subfolders.
std::vector<std::string> NamedFiles() {
  std::vector<std::string> names;
  for (int n = catalogue::kKoseiSeriesFirst; n <= catalogue::kKoseiRangeLast; ++n) {
    names.push_back(catalogue::KoseiFileName(n));
  }
  for (int n = catalogue::kNenpyoSeriesFirst; n <= catalogue::kNenpyoSeriesLast; ++n) {
    names.push_back(catalogue::NenpyoFileName(n));
  }
  names.emplace_back(catalogue::kReplacedFile);
  for (std::string_view name : catalogue::kNamesBeforeSeries) names.emplace_back(name);
  for (std::string_view name : catalogue::kNamesAfterSeries) names.emplace_back(name);
  for (const catalogue::StatusFile& status : catalogue::kStatusFiles) names.emplace_back(status.name);
  names.emplace_back(catalogue::kWorldFile);
  return names;
}

bool AnySweepTakes(std::string_view entry) {
  for (const catalogue::EntrySweep& sweep : catalogue::kEntrySweeps) {
    if (catalogue::Matches(sweep, entry)) return true;
  }
  return false;
}

class Search {
 public:
  Search(FileOps& files, const std::string& folder) : files_(files), folder_(folder) {}

  // Whether an entry of folder + pattern satisfies `wanted`.
  template <typename Wanted>
  bool Lists(const std::string& pattern, Wanted wanted) {
    std::optional<std::string> entry = files_.FirstEntry(folder_ + pattern);
    if (!entry && files_.LastFailure()) result_.unreadable = files_.LastFailure();
    for (; entry && !entry->empty(); entry = files_.NextEntry()) {
      if (wanted(*entry)) return true;
    }
    return false;
  }

  bool Has(const std::string& name) { return files_.HasFile(folder_ + name) == true; }

  PackageData Found() { return {true, std::nullopt}; }
  PackageData NothingFound() { return result_; }

 private:
  FileOps& files_;
  const std::string& folder_;
  PackageData result_;
};

}  // namespace

PackageData FindPackageData(FileOps& files, const std::string& folder) {
  Search search(files, folder);
  auto any = [](const std::string&) { return true; };
  for (const catalogue::Subfolder& subfolder : catalogue::kSubfolders) {
    if (search.Lists(std::string(subfolder.folder) + "*.*", any)) return search.Found();
  }
  if (search.Lists("", AnySweepTakes)) return search.Found();
  for (const std::string& name : NamedFiles()) {
    if (search.Has(name)) return search.Found();
  }
  return search.NothingFound();
}

}  // namespace tolvashu
