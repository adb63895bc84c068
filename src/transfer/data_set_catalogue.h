// The game's data set as the transfer moves it: which families are cleared in
// the destination, which subfolders and source entries are copied, and the
// fixed names, in the order the transfer handles them. Names keep the game's
// own spelling and case. Subfolder parts use the Windows separator.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tolvashu::catalogue {

// Families removed from the destination before anything is copied, in order.
// Some get their new members from a listing of the source: clearing such a
// family while that listing cannot be read would leave nothing in its place.
struct ClearedFamily {
  std::string_view pattern;
  // The source listing that refills it, relative to the source folder ("":
  // the source folder itself); nullptr when it is refilled by name only.
  const char* refilled_from_listing;
};
inline constexpr std::array<ClearedFamily, 5> kClearedFamilies = {{
    {"年表*.*", nullptr},
    {"touroku.dat", nullptr},
    {"nationDATA\\*.*", "nationDATA\\*.*"},
    {"namedata*.*", ""},
    {"PersonalName*.*", ""},
}};

// Data subfolders whose every file is copied; pastDATA is cleared just before.
// Both are cleared in the destination, so a source inside either of them
// would be deleted before it is copied.
struct Subfolder {
  std::string_view folder;  // with its trailing separator
  bool clear_first;
};
inline constexpr std::array<Subfolder, 2> kSubfolders = {{
    {"nationDATA\\", false},
    {"pastDATA\\", true},
}};

// Sweeps over the files of the source folder itself. The test is exact and
// case-sensitive on characters: "mp3" matches «xmp3» but not «a.MP3», and a
// name shorter than a prefix never matches.
enum class Match { kLastCharacters, kFirstCharacters };
struct EntrySweep {
  Match match;
  std::string_view characters;
  bool music_only;  // runs only when the music switch is exactly "on"
};
inline constexpr std::array<EntrySweep, 5> kEntrySweeps = {{
    {Match::kLastCharacters, "mp3", true},
    {Match::kLastCharacters, "wav", false},
    {Match::kLastCharacters, "jpg", false},
    {Match::kFirstCharacters, "namedata", false},
    {Match::kFirstCharacters, "PersonalName", false},
}};
inline constexpr std::string_view kMusicOn = "on";

// Whether a sweep takes `entry`. Exact and case-sensitive.
bool Matches(const EntrySweep& sweep, std::string_view entry);
// The sweep as a person reads it: "*jpg" for last characters, "namedata*"
// for first characters.
std::string SweepPattern(const EntrySweep& sweep);

// Scenario files tried one by one, whatever is missing: «kosei01.dat»..«kosei99.dat».
inline constexpr int kKoseiRangeFirst = 1;
inline constexpr int kKoseiRangeLast = 99;

// Deleted in the destination and then copied.
inline constexpr std::string_view kReplacedFile = "habatuzu.dat";

// Copied before the scenario series.
inline constexpr std::array<std::string_view, 7> kNamesBeforeSeries = {
    "bunka.dat", "back4.jpg", "back5.jpg", "back6.jpg", "back7.jpg", "BALANCE.DAT", "touroku.dat"};

// Copied after the scenario series.
inline constexpr std::array<std::string_view, 14> kNamesAfterSeries = {
    "vumomp3.txt", "SWAIT.DAT",        "mainbutai2.jpg", "taizin_riyuu.txt", "namedata.dat",
    "parameita.jpg", "PersonalName.dat", "vumoworld.dat", "sansyo.dat",      "totinamedata.dat",
    "FrontBack.dat", "keireki.txt",      "MAINDATA.DAT",  "RANDidx.dat"};

// Status files. Those emptied first end up empty when the source lacks them,
// so that no state of an earlier game survives; the others are only copied.
enum class StatusTreatment { kEmptyThenCopy, kCopy };
struct StatusFile {
  std::string_view name;
  StatusTreatment treatment;
};
inline constexpr std::array<StatusFile, 9> kStatusFiles = {{
    {"Sison.dat", StatusTreatment::kEmptyThenCopy},
    {"taizin_log.txt", StatusTreatment::kEmptyThenCopy},
    {"TaizinDead.dat", StatusTreatment::kCopy},
    {"syo_list.dat", StatusTreatment::kEmptyThenCopy},
    {"TaizinNow.dat", StatusTreatment::kEmptyThenCopy},
    {"testmap.dat", StatusTreatment::kCopy},
    {"yazirusi.dat", StatusTreatment::kEmptyThenCopy},
    {"SmallMap.bmp", StatusTreatment::kCopy},
    {"MAPDATA.dat", StatusTreatment::kCopy},
}};

// Numbered series copied until the first number that cannot be copied.
inline constexpr int kKoseiSeriesFirst = 0;
inline constexpr int kKoseiSeriesLast = 99;
inline constexpr int kNenpyoSeriesFirst = 1;
inline constexpr int kNenpyoSeriesLast = 9;

// The world file: read from the current folder, never from the source folder.
inline constexpr std::string_view kWorldFile = "vumoworld.dat";

// «kosei07.dat»: the number as its last two decimal digits.
std::string KoseiFileName(int number);
// «年表7.txt»: the number as its last decimal digit.
std::string NenpyoFileName(int number);

}  // namespace tolvashu::catalogue
