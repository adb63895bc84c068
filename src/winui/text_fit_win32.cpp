#include "winui/text_fit_win32.h"

#include <algorithm>
#include <cwchar>

#include "text/wide_text_win32.h"

namespace tolvashu {

namespace {

// Room DrawText needs beyond the text to put its ellipsis in.
constexpr std::size_t kEllipsisRoom = 4;

// A device context of the screen with `font` selected, for measuring.
class MeasuringContext {
 public:
  explicit MeasuringContext(HFONT font) : dc_(GetDC(nullptr)) {
    previous_ = SelectObject(dc_, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  }
  ~MeasuringContext() {
    SelectObject(dc_, previous_);
    ReleaseDC(nullptr, dc_);
  }
  MeasuringContext(const MeasuringContext&) = delete;
  MeasuringContext& operator=(const MeasuringContext&) = delete;

  // The size of `text`: on one line, or broken into lines at `wrap_width`
  // pixels when that is given.
  SIZE Measure(const std::wstring& text, int wrap_width) const {
    RECT bounds{0, 0, wrap_width, 0};
    UINT format = DT_CALCRECT | DT_NOPREFIX | (wrap_width > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &bounds, format);
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
  }

  // `line` shortened in its middle until it fits `width` pixels.
  std::wstring Shorten(const std::wstring& line, int width) const {
    std::wstring buffer = line + std::wstring(kEllipsisRoom, L'\0');
    RECT bounds{0, 0, width, 0};
    DrawTextW(dc_, buffer.data(), static_cast<int>(line.size()), &bounds,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS | DT_MODIFYSTRING);
    buffer.resize(std::wcslen(buffer.c_str()));
    return buffer;
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

RECT FitLabel(HWND label, HFONT font, RECT at, SIZE client) {
  const std::wstring text = TextOf(label);
  MeasuringContext measuring(font);
  SIZE one_line = measuring.Measure(text, 0);
  if (one_line.cx <= at.right - at.left && one_line.cy <= at.bottom - at.top) return at;
  at.right = std::max(at.right, std::min<LONG>(at.left + one_line.cx, client.cx));
  SIZE wrapped = measuring.Measure(text, at.right - at.left);
  at.bottom = std::max(at.bottom, std::min<LONG>(at.top + wrapped.cy, client.cy));
  return at;
}

std::string ShortenWideLines(const std::string& text, HFONT font, int width) {
  MeasuringContext measuring(font);
  std::string shown;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find('\r', start);
    std::wstring line = Utf8ToWide(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (measuring.Measure(line, 0).cx > width) line = measuring.Shorten(line, width);
    shown += WideToUtf8(line);
    if (end == std::string::npos) return shown;
    shown += '\r';
    start = end + 1;
  }
}

}  // namespace tolvashu
