// On a Windows console, text goes through the wide console functions, which
// carry every character whatever the console's code page; the console is
// also switched to UTF-8 both ways for the time the program runs. Redirected
// input and output are UTF-8 bytes.
#include <windows.h>

#include <iostream>

#include "app/console_io.h"
#include "text/wide_text_win32.h"

namespace tolvashu {

namespace {

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

class WindowsConsoleIo : public ConsoleIo {
 public:
  // `output` is STD_OUTPUT_HANDLE or STD_ERROR_HANDLE, with its stream.
  WindowsConsoleIo(DWORD output, std::ostream& redirected_output)
      : input_(GetStdHandle(STD_INPUT_HANDLE)),
        output_(GetStdHandle(output)),
        input_is_console_(IsConsole(input_)),
        output_is_console_(IsConsole(output_)),
        saved_input_cp_(GetConsoleCP()),
        saved_output_cp_(GetConsoleOutputCP()),
        redirected_(std::cin, redirected_output),
        redirected_output_(redirected_output) {
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCP(CP_UTF8);
  }

  ~WindowsConsoleIo() override {
    redirected_output_.flush();
    // The console outlives the program: give it back its code pages.
    if (saved_output_cp_ != 0) SetConsoleOutputCP(saved_output_cp_);
    if (saved_input_cp_ != 0) SetConsoleCP(saved_input_cp_);
  }

  std::optional<std::string> ReadLine() override {
    if (!input_is_console_) return redirected_.ReadLine();
    // The prompt must be visible before the program waits.
    if (OutputFailure()) return std::nullopt;
    std::wstring line;
    for (;;) {
      wchar_t c = 0;
      DWORD read = 0;
      if (!ReadConsoleW(input_, &c, 1, &read, nullptr) || read == 0) {
        if (line.empty()) return std::nullopt;
        break;
      }
      if (c == L'\n') break;
      if (c != L'\r') line += c;
    }
    // A line starting with Ctrl+Z ends the input, as on every Windows console.
    if (!line.empty() && line.front() == L'\x1a') return std::nullopt;
    return WideToUtf8(line);
  }

  void Write(std::string_view text) override {
    if (!output_is_console_) {
      redirected_.Write(text);
      return;
    }
    if (console_failed_) return;
    std::wstring wide = Utf8ToWide(text);
    DWORD written = 0;
    if (!WriteConsoleW(output_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr)) {
      console_failed_ = true;
    }
  }

  bool IsTerminal() const override { return output_is_console_; }

  std::optional<std::string> OutputFailure() override {
    if (!output_is_console_) return redirected_.OutputFailure();
    if (console_failed_) return std::string();
    return std::nullopt;
  }

 private:
  HANDLE input_;
  HANDLE output_;
  bool input_is_console_;
  bool output_is_console_;
  UINT saved_input_cp_;
  UINT saved_output_cp_;
  bool console_failed_ = false;
  StreamConsoleIo redirected_;
  std::ostream& redirected_output_;
};

}  // namespace

std::unique_ptr<ConsoleIo> MakeStandardConsoleIo() {
  return std::make_unique<WindowsConsoleIo>(STD_OUTPUT_HANDLE, std::cout);
}

std::unique_ptr<ConsoleIo> MakeStandardErrorIo() {
  return std::make_unique<WindowsConsoleIo>(STD_ERROR_HANDLE, std::cerr);
}

}  // namespace tolvashu
