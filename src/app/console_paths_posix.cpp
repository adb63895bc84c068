#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "app/console_paths.h"

namespace tolvashu {

std::string AbsoluteFolder(const std::string& path) {
  std::filesystem::path folder(path);
  std::error_code error;
  if (folder.is_relative()) folder = std::filesystem::current_path(error) / folder;
  std::string text = folder.lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

bool EnterFolder(const std::string& folder) { return chdir(folder.c_str()) == 0; }

std::string ShownPath(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

}  // namespace tolvashu
