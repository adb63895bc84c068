#include "e2e/program_file_check_win32.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "app/app_texts.h"
#include "text/wide_text_win32.h"
#include "winui/app_title.h"
#include "winui/program_icon.h"

namespace tolvashu::e2e {

namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width;
  BYTE height;
  BYTE colours;
  BYTE reserved;
  WORD planes;
  WORD bits_per_pixel;
  DWORD bytes;
  WORD id;
};
struct GroupIconHeader {
  WORD reserved;
  WORD type;
  WORD count;
};
#pragma pack(pop)

std::string ResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type) {
  HRSRC found = FindResourceW(module, name, type);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  return data ? std::string(data, SizeofResource(module, found)) : std::string();
}

// One 48 x 48 image of 16 colours.
void CheckIcon(Checks& checks, HMODULE module) {
  std::string group = ResourceBytes(module, MAKEINTRESOURCEW(kProgramIconId), RT_GROUP_ICON);
  if (!checks.Expect(group.size() >= sizeof(GroupIconHeader) + sizeof(GroupIconEntry), "program icon present")) return;
  GroupIconHeader header;
  GroupIconEntry entry;
  group.copy(reinterpret_cast<char*>(&header), sizeof(header));
  group.copy(reinterpret_cast<char*>(&entry), sizeof(entry), sizeof(header));
  checks.ExpectEqual(header.count, 1, "program icon has one image");
  checks.ExpectEqual(entry.width, 48, "program icon width");
  checks.ExpectEqual(entry.height, 48, "program icon height");
  checks.ExpectEqual(entry.colours, 16, "program icon colours");
  checks.ExpectEqual(entry.bits_per_pixel, 4, "program icon bits per pixel");
}

void CheckManifest(Checks& checks, HMODULE module) {
  std::string manifest = ResourceBytes(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
  auto has = [&manifest](const char* text) { return manifest.find(text) != std::string::npos; };
  checks.Expect(has("level=\"asInvoker\""), "manifest: runs as invoker");
  checks.Expect(has("Microsoft.Windows.Common-Controls") && has("version=\"6.0.0.0\""),
                "manifest: common controls 6");
  checks.Expect(has("PerMonitorV2"), "manifest: per-monitor DPI awareness");
  checks.Expect(has("<longPathAware") && has(">true</longPathAware>"), "manifest: aware of long paths");
  checks.Expect(!has("activeCodePage"), "manifest: no code page setting");
}

std::string VersionString(const std::vector<BYTE>& info, const wchar_t* name) {
  std::wstring query = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(info.data(), query.c_str(), &value, &length) || length == 0) return {};
  return WideToUtf8(std::wstring(static_cast<const wchar_t*>(value), length - 1));
}

void CheckVersion(Checks& checks, const std::filesystem::path& program) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(program.c_str(), &ignored);
  std::vector<BYTE> info(size);
  if (!checks.Expect(size && GetFileVersionInfoW(program.c_str(), 0, size, info.data()), "version information")) {
    return;
  }
  const std::pair<const wchar_t*, const char*> kTexts[] = {
      {L"ProductName", kAppTitle},           {L"ProductVersion", TOLVASHU_VERSION},
      {L"FileVersion", TOLVASHU_VERSION},    {L"FileDescription", texts::kForm1Caption},
      {L"OriginalFilename", "TolvashuInstaller.exe"}};
  for (const auto& [name, expected] : kTexts) {
    checks.ExpectEqual(VersionString(info, name), expected, "version: " + WideToUtf8(name));
  }
  checks.Expect(VersionString(info, L"LegalCopyright").find(kAppTitle) != std::string::npos,
                "version: a copyright line naming the project");
  WORD* translation = nullptr;
  UINT length = 0;
  checks.Expect(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length) && length >= 4 && translation[0] == 0x0411,
                "version: the translation is Japanese");
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
  reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
  return TRUE;
}

// The resource itself is filed under Japanese, the language of its texts.
void CheckVersionLanguage(Checks& checks, HMODULE module) {
  std::vector<WORD> languages;
  EnumResourceLanguagesW(module, RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO), &CollectLanguage,
                         reinterpret_cast<LONG_PTR>(&languages));
  checks.Expect(languages == std::vector<WORD>{MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)},
                "version: the resource is in Japanese (0x0411)");
}

}  // namespace

void CheckProgramFile(Checks& checks, const std::filesystem::path& program) {
  checks.Section("program file");
  HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!checks.Expect(module != nullptr, "program file loads as resources")) return;
  CheckIcon(checks, module);
  CheckManifest(checks, module);
  CheckVersionLanguage(checks, module);
  FreeLibrary(module);
  CheckVersion(checks, program);
}

}  // namespace tolvashu::e2e
