// The four data operations as data: where each one copies from and to, its
// music switch, the message that ends it, and the warning shown instead of a
// transfer when its source folder holds no data. Folders are built by plain
// concatenation; every folder handed to the transfer ends with "\".
#pragma once

#include <array>

#include "app/app_texts.h"

namespace tolvashu {

enum class SourceBase {
  kCurrentFolder,  // the package folder the program was started in
  kGamePath,       // the game folder chosen in the folder dialog
};

struct OperationRow {
  SourceBase source_base;
  const char* source_tail;       // appended to the source base
  const char* destination_tail;  // appended to GamePath
  const char* music_switch;
  const char* completion_message;
  // Lines of the box shown, with no transfer, when the source folder holds
  // nothing that the transfer would copy from it.
  std::array<const char*, 3> no_source_data_lines;
};

// An operation whose source holds nothing to copy would only clear the
// game's data families and empty its status files: each one checks first.
inline constexpr OperationRow kInstallOperation{
    SourceBase::kCurrentFolder, "\\", "\\", "on", texts::kInstallDone,
    {texts::kNothingToInstall1, texts::kNothingToInstall2, texts::kNothingToInstall3}};

// Backup copies from the game folder itself, which the folder dialog has
// just shown to hold the game: it runs without that check.
inline constexpr OperationRow kBackupOperation{
    SourceBase::kGamePath, "\\", "\\Backup\\", "", texts::kBackupDone, {}};

inline constexpr OperationRow kRestoreOperation{
    SourceBase::kGamePath, "\\Backup\\", "\\", "", texts::kRestoreDone,
    {texts::kNoBackupData1, texts::kNoBackupData2, nullptr}};

inline constexpr OperationRow kDefaultOperation{
    SourceBase::kGamePath, "\\Default\\", "\\", "", texts::kDefaultDone,
    {texts::kNoDefaultData1, texts::kNoDefaultData2, texts::kNoDefaultData3}};

// The folders a transfer writes into, each appended to GamePath: where an
// unfinished transfer is looked for before an operation goes on.
inline constexpr std::array<const char*, 2> kDestinationTails{"\\", "\\Backup\\"};

// The subfolders MakeDataFolders creates, in this order, each appended to
// GamePath. "default" is read back as "Default": names match in any case.
inline constexpr std::array<const char*, 4> kDataFolderTails{
    "\\Backup", "\\Backup\\nationDATA", "\\Backup\\pastDATA", "\\default"};

}  // namespace tolvashu
