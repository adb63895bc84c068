#include "e2e/fixture_win32.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <utility>

#include "text/text_codec.h"
#include "text/wide_text_win32.h"

namespace tolvashu::e2e {

namespace {

namespace fs = std::filesystem;

fs::path Utf8Path(std::string_view utf8) { return fs::path(Utf8ToWide(utf8)); }

// The code page 932 bytes of a text, as the installer's text files hold it.
// Empty when code page 932 cannot hold the text: the checks that compare
// these bytes then fail and show it.
std::string Cp932(std::string_view utf8) { return EncodeCp932(utf8).value_or(std::string()); }

fs::path FreshRoot() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  wchar_t name[64];
  std::swprintf(name, 64, L"tolvashu-e2e-%lu-%lu", GetCurrentProcessId(), GetTickCount());
  return fs::path(temp) / name;
}

}  // namespace

void WriteFileBytes(const fs::path& path, std::string_view bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::optional<std::string> ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

Fixture::Fixture() : Fixture(FreshRoot()) {}

Fixture::Fixture(fs::path root)
    : root_(std::move(root)),
      owns_root_(fs::create_directories(root_)),
      package_(root_ / Utf8Path("ワールドパッケージ")),
      game_(root_ / Utf8Path("ゲーム")) {
  MakePackage();
  MakeGame();
}

Fixture::~Fixture() {
  std::error_code ignored;
  if (owns_root_) fs::remove_all(root_, ignored);
}

std::string Fixture::GamePath() const { return WideToUtf8(game_.wstring()); }

std::string Fixture::PackagePath() const { return WideToUtf8(package_.wstring()); }

// The package: catalogue files, a scenario series, a chronology file, a
// world file in code page 932 naming two more files, music, and enough
// sound files that the transfer takes a moment (the test looks at the
// progress notice meanwhile).
void Fixture::MakePackage() const {
  auto put = [this](std::string_view name, std::string_view bytes) { WriteFileBytes(package_ / Utf8Path(name), bytes); };
  put("MAINDATA.DAT", "package main data");
  put("kosei00.dat", "package scenario 0");
  put("kosei01.dat", "package scenario 1");
  put("年表1.txt", Cp932("一年目の出来事"));
  put("song.mp3", "package music");
  put("nationDATA/1.dat", "package nation 1");
  put("haikei01.jpg", "package picture");
  put("城下町.dat", "package town");
  put("vumoworld.dat", Cp932("背景: haikei01.jpg\r\n町: 城下町.dat\r\n"));
  for (int i = 0; i < 400; ++i) {
    char name[32];
    std::snprintf(name, sizeof(name), "se%03d.wav", i);
    put(name, std::string(4096, static_cast<char>('a' + i % 26)));
  }
}

void Fixture::AddBulkToPackage() const {
  constexpr int kSoundFiles = 1000;
  constexpr int kMusicMegabytes = 300;
  for (int i = 0; i < kSoundFiles; ++i) {
    char name[32];
    std::snprintf(name, sizeof(name), "bulk%04d.wav", i);
    WriteFileBytes(package_ / name, std::string(16384, static_cast<char>('A' + i % 26)));
  }
  std::ofstream music(package_ / kBulkMusic, std::ios::binary | std::ios::trunc);
  const std::string megabyte(1 << 20, 'm');
  for (int i = 0; i < kMusicMegabytes; ++i) music.write(megabyte.data(), static_cast<std::streamsize>(megabyte.size()));
}

// The game: its executable, its current data, and no Default data yet.
void Fixture::MakeGame() const {
  WriteGame("Morbek.exe", "not really a program");
  WriteGame("MAINDATA.DAT", "game main data");
  WriteGame("kosei00.dat", "game scenario 0");
  WriteGame("年表5.txt", "game chronology 5");
  WriteGame("Sison.dat", "game descendants");
  WriteGame("nationDATA/old.dat", "game nation");
  WriteGame("pastDATA/p.dat", "game past");
}

void Fixture::WriteGame(std::string_view relative, std::string_view bytes) const {
  WriteFileBytes(game_ / Utf8Path(relative), bytes);
}

std::optional<std::string> Fixture::ReadGame(std::string_view relative) const {
  return ReadFileBytes(game_ / Utf8Path(relative));
}

bool Fixture::GameHas(std::string_view relative) const { return fs::exists(game_ / Utf8Path(relative)); }

void Fixture::SetGameReadOnly(std::string_view relative, bool read_only) const {
  fs::path path = game_ / Utf8Path(relative);
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  attributes = read_only ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~FILE_ATTRIBUTE_READONLY);
  SetFileAttributesW(path.c_str(), attributes);
}

void Fixture::WriteSavedPath() const { WriteFileBytes(package_ / L"PathDATA.txt", SavedPathFileContent()); }

std::string Fixture::SavedPathFileContent() const { return Cp932(GamePath()) + "\r\n"; }

std::optional<std::string> Fixture::SavedPathBytes() const { return ReadFileBytes(package_ / L"PathDATA.txt"); }

void Fixture::RemoveSavedPath() const {
  std::error_code ignored;
  fs::remove(package_ / L"PathDATA.txt", ignored);
}

bool Fixture::HasSavedPath() const { return fs::exists(package_ / L"PathDATA.txt"); }

}  // namespace tolvashu::e2e
