#include "e2e/installer_process_win32.h"

#include <string>

namespace tolvashu::e2e {

InstallerProcess::~InstallerProcess() {
  if (!info_.hProcess) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool InstallerProcess::Start(const std::filesystem::path& program, const std::filesystem::path& folder) {
  std::wstring command_line = L"\"" + program.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &info_)) {
    info_ = PROCESS_INFORMATION{};
    return false;
  }
  WaitForInputIdle(info_.hProcess, 30000);
  return true;
}

std::optional<DWORD> InstallerProcess::WaitForExit(int timeout_ms) {
  if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout_ms)) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

void InstallerProcess::Suspend() { SuspendThread(info_.hThread); }

void InstallerProcess::Resume() { ResumeThread(info_.hThread); }

}  // namespace tolvashu::e2e
