#include "sample_folders.h"

#include <chrono>
#include <filesystem>
#include <utility>

#include "text/text_codec.h"

namespace tolvashu::testing {

namespace {

using Files = std::initializer_list<std::pair<const char*, const char*>>;

void WriteAll(const ScratchFolder& scratch, const std::string& folder, Files files) {
  for (const auto& [name, content] : files) scratch.WriteFile(folder + "/" + name, content);
}

}  // namespace

void MakeSamplePackage(const ScratchFolder& scratch, const std::string& folder) {
  scratch.MakeFolder(folder + "/nationDATA");
  scratch.MakeFolder(folder + "/pastDATA");
  WriteAll(scratch, folder,
           {{"MAINDATA.DAT", "package main"},
            {"kosei00.dat", "package scenario 0"},
            {"kosei01.dat", "package scenario 1"},
            {"年表1.txt", "package chronology"},
            {"nationDATA/nation01.dat", "package nation"},
            {"pastDATA/past01.dat", "package past"},
            {"theme.mp3", "package music"},
            {"Sison.dat", "package sison"},
            {"haikei01.jpg", "package picture"}});
  scratch.WriteFile(folder + "/vumoworld.dat", EncodeCp932("世界名: 見本の世界\r\n背景: haikei01.jpg\r\n").value());
}

void MakeSampleGame(const ScratchFolder& scratch, const std::string& folder, bool with_default) {
  scratch.MakeFolder(folder + "/nationDATA");
  scratch.MakeFolder(folder + "/pastDATA");
  WriteAll(scratch, folder,
           {{"Morbek.exe", "dummy executable"},
            {"MAINDATA.DAT", "game main"},
            {"kosei00.dat", "game scenario 0"},
            {"年表1.txt", "game chronology"},
            {"年表2.txt", "game chronology 2"},
            {"nationDATA/nation01.dat", "game nation"},
            {"nationDATA/nation02.dat", "game nation 2"},
            {"pastDATA/past01.dat", "game past"},
            {"menu.mp3", "game music"},
            {"Sison.dat", "game sison"}});
  if (!with_default) return;
  scratch.MakeFolder(folder + "/Default");
  WriteAll(scratch, folder + "/Default",
           {{"MAINDATA.DAT", "default main"}, {"kosei00.dat", "default scenario 0"}, {"年表1.txt", "default chronology"}});
}

std::map<std::string, std::string> Snapshot(const ScratchFolder& scratch, const std::string& folder,
                                            bool with_folders) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> files;
  fs::path root = ToPath(scratch.Join(folder));
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string relative = fs::relative(entry.path(), root).generic_u8string();
    if (with_folders && entry.is_directory()) files[relative + "/"] = "";
    if (!entry.is_regular_file()) continue;
    files[relative] = scratch.ReadFile(folder.empty() ? relative : folder + "/" + relative).value_or("<unreadable>");
  }
  return files;
}

std::map<std::string, std::string> ExactSnapshot(const ScratchFolder& scratch, const std::string& folder) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> entries;
  fs::path root = ToPath(scratch.Join(folder));
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string relative = fs::relative(entry.path(), root).generic_u8string();
    std::string below = folder.empty() ? relative : folder + "/" + relative;
    std::string& shown = entries[relative];
    if (entry.is_regular_file()) {
      shown = scratch.ReadFile(below).value_or("<unreadable>") + " @" +
              std::to_string(entry.last_write_time().time_since_epoch().count()) + " ";
    } else {
      shown = "<folder> ";
    }
    shown += scratch.Attributes(below);
  }
  return entries;
}

void SetOneTime(const ScratchFolder& scratch, const std::string& folder) {
  static const auto kTime =
      std::chrono::floor<std::chrono::seconds>(std::filesystem::file_time_type::clock::now() - std::chrono::hours(24));
  for (const auto& entry : std::filesystem::recursive_directory_iterator(ToPath(scratch.Join(folder)))) {
    if (entry.is_regular_file()) std::filesystem::last_write_time(entry.path(), kTime);
  }
}

std::map<std::string, std::string> WithoutTimesOfEmptyFiles(std::map<std::string, std::string> snapshot) {
  for (auto& [path, state] : snapshot) {
    if (state.rfind(" @", 0) == 0) state = state.substr(state.find(' ', 2));
  }
  return snapshot;
}

}  // namespace tolvashu::testing
