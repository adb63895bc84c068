// Code page 932 through MultiByteToWideChar / WideCharToMultiByte, with their
// error reports on: MB_ERR_INVALID_CHARS when decoding, WC_NO_BEST_FIT_CHARS
// and the used-default-character flag when encoding.
#include <windows.h>

#include <climits>

#include "text/text_codec_platform.h"
#include "text/wide_text_win32.h"

namespace tolvashu::platform_cp932 {

namespace {

constexpr UINT kCodePage = 932;

bool FitsInInt(std::size_t size) { return size <= static_cast<std::size_t>(INT_MAX); }

}  // namespace

std::optional<std::string> DecodeCharacters(std::string_view bytes) {
  if (bytes.empty()) return std::string();
  if (!FitsInInt(bytes.size())) return std::nullopt;
  const int in_size = static_cast<int>(bytes.size());
  int size = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), in_size, nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  if (MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), in_size, wide.data(), size) != size) {
    return std::nullopt;
  }
  return WideToUtf8(wide);
}

std::optional<std::string> EncodeCharacters(std::string_view utf8) {
  if (utf8.empty()) return std::string();
  if (!FitsInInt(utf8.size())) return std::nullopt;
  std::wstring wide = Utf8ToWide(utf8);
  const int in_size = static_cast<int>(wide.size());
  BOOL used_default = FALSE;
  int size = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), in_size, nullptr, 0, nullptr,
                                 &used_default);
  if (size <= 0 || used_default) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), in_size, bytes.data(), size, nullptr,
                          &used_default) != size ||
      used_default) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace tolvashu::platform_cp932
