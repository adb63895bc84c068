// The end-to-end test's files: a world-data package folder (the folder the
// installer is started in) and a game folder beside it, with Japanese
// folder names, made fresh in the temporary folder and removed afterwards.
// All content is invented for the test.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tolvashu::e2e {

class Fixture {
 public:
  // In a fresh folder of the temporary folder.
  Fixture();
  // In `root`, which is removed afterwards when the fixture created it.
  explicit Fixture(std::filesystem::path root);
  ~Fixture();
  Fixture(const Fixture&) = delete;
  Fixture& operator=(const Fixture&) = delete;

  const std::filesystem::path& package() const { return package_; }
  const std::filesystem::path& game() const { return game_; }
  // The game folder as the installer holds it: a Windows path, UTF-8,
  // without a trailing backslash.
  std::string GamePath() const;
  std::string PackagePath() const;

  // Adds enough to the package that an Install takes several seconds: many
  // sound files and one large music file (kBulkMusic).
  void AddBulkToPackage() const;
  static constexpr char kBulkMusic[] = "bgm_long.mp3";

  // Files relative to the package or game folder ("nationDATA/1.dat").
  void WriteGame(std::string_view relative, std::string_view bytes) const;
  std::optional<std::string> ReadGame(std::string_view relative) const;
  bool GameHas(std::string_view relative) const;
  // Sets or clears the read-only attribute of a game file.
  void SetGameReadOnly(std::string_view relative, bool read_only) const;

  // PathDATA.txt in the package folder, naming the game folder, as the
  // installer writes it (code page 932, CR LF).
  void WriteSavedPath() const;
  // What the installer writes there for the fixture's game folder.
  std::string SavedPathFileContent() const;
  std::optional<std::string> SavedPathBytes() const;
  void RemoveSavedPath() const;
  bool HasSavedPath() const;

 private:
  void MakePackage() const;
  void MakeGame() const;

  std::filesystem::path root_;
  bool owns_root_;
  std::filesystem::path package_;
  std::filesystem::path game_;
};

// Writes a file, creating its folders.
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

}  // namespace tolvashu::e2e
