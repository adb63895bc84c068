#include "support/scratch_folder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace tolvashu::testing {

namespace fs = std::filesystem;

fs::path ToPath(std::string_view utf8) {
  return fs::u8path(utf8.begin(), utf8.end());
}

std::string FromPath(const fs::path& path) { return path.u8string(); }

namespace {

std::string UniqueName() {
  static std::atomic<unsigned> counter{0};
  std::random_device seed;
  return "tolvashu-test-" + std::to_string(seed()) + "-" + std::to_string(counter++);
}

// Read-only files refuse deletion on Windows: clear the flag everywhere first.
void MakeAllWritable(const fs::path& root) {
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ec);
  }
}

}  // namespace

char NativeSeparator() { return static_cast<char>(fs::path::preferred_separator); }

ScratchFolder::ScratchFolder() {
  fs::path dir = fs::temp_directory_path() / UniqueName();
  fs::create_directories(dir);
  path_ = FromPath(fs::canonical(dir));
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  MakeAllWritable(ToPath(path_));
  fs::remove_all(ToPath(path_), ec);
}

std::string ScratchFolder::Join(std::string_view relative) const {
  std::string out = path_;
  if (relative.empty()) return out;
  out += NativeSeparator();
  for (char c : relative) out += (c == '/' || c == '\\') ? NativeSeparator() : c;
  return out;
}

std::string ScratchFolder::Folder(std::string_view relative) const {
  return Join(relative) + NativeSeparator();
}

void ScratchFolder::WriteFile(std::string_view relative, std::string_view bytes) const {
  std::ofstream out(ToPath(Join(relative)), std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write test file " + std::string(relative));
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::optional<std::string> ScratchFolder::ReadFile(std::string_view relative) const {
  std::ifstream in(ToPath(Join(relative)), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool ScratchFolder::Exists(std::string_view relative) const {
  std::error_code ec;
  return fs::exists(ToPath(Join(relative)), ec);
}

void ScratchFolder::MakeFolder(std::string_view relative) const {
  fs::create_directories(ToPath(Join(relative)));
}

std::vector<std::string> ScratchFolder::List(std::string_view relative) const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(ToPath(Join(relative)))) {
    names.push_back(FromPath(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace tolvashu::testing
