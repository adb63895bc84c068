// A small package folder and game folder for the operations' tests, made of
// invented content, and a way to see a whole folder tree at once.
#pragma once

#include <map>
#include <string>

#include "support/scratch_folder.h"

namespace tolvashu::testing {

// The package the user starts the installer in: a data set with a world
// file (in code page 932) naming one extra picture, and a music file.
void MakeSamplePackage(const ScratchFolder& scratch, const std::string& folder);

// A game folder with its executable, an older data set, a music file of its
// own and, unless told otherwise, a Default folder with the shipped data.
void MakeSampleGame(const ScratchFolder& scratch, const std::string& folder, bool with_default = true);

// Every file below the folder ("": the scratch folder itself), hidden ones
// included (relative path with '/' -> content); with `with_folders`, every
// folder too (relative path with '/' at its end -> "").
std::map<std::string, std::string> Snapshot(const ScratchFolder& scratch, const std::string& folder,
                                            bool with_folders = false);

// Every file and folder below the folder, with each file's content,
// modification time and attributes, and each folder's attributes: equal
// snapshots mean the same names in the same case, byte for byte.
std::map<std::string, std::string> ExactSnapshot(const ScratchFolder& scratch, const std::string& folder);

// Gives every file below the folder one time, in whole seconds, so that
// fixtures made at different moments are alike to the nanosecond.
void SetOneTime(const ScratchFolder& scratch, const std::string& folder);

// An exact snapshot without the times of its empty files: those that a run
// empties are made at that moment, which two runs cannot agree on.
std::map<std::string, std::string> WithoutTimesOfEmptyFiles(std::map<std::string, std::string> snapshot);

}  // namespace tolvashu::testing
