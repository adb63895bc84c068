// The end-to-end driver of the Windows program.
//
//   tolvashu_e2e_driver.exe PROGRAM             runs the end-to-end test
//   tolvashu_e2e_driver.exe PROGRAM --screenshots
//                                               shows each window for a picture
//
// PROGRAM is the path of TolvashuInstaller.exe. The exit code is 0 when
// every check passed.
#include <windows.h>

#include <cstdio>
#include <string>

#include "e2e/checks.h"
#include "e2e/end_to_end_win32.h"
#include "e2e/program_file_check_win32.h"

int wmain(int argc, wchar_t** argv) {
  using namespace tolvashu::e2e;
  if (argc < 2) {
    std::fprintf(stderr, "usage: tolvashu_e2e_driver PROGRAM [--screenshots]\n");
    return 2;
  }
  std::filesystem::path program = argv[1];
  bool screenshots = argc > 2 && std::wstring(argv[2]) == L"--screenshots";
  Checks checks;
  if (screenshots) {
    RunScreenshots(checks, program);
  } else {
    CheckProgramFile(checks, program);
    RunEndToEnd(checks, program);
  }
  checks.PrintSummary();
  return checks.failed() == 0 ? 0 : 1;
}
