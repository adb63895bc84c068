// The installer under test as a child process, started in the package
// folder and never left running: it is ended when this object goes.
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>

namespace tolvashu::e2e {

class InstallerProcess {
 public:
  InstallerProcess() = default;
  ~InstallerProcess();
  InstallerProcess(const InstallerProcess&) = delete;
  InstallerProcess& operator=(const InstallerProcess&) = delete;

  // Starts the program with `folder` as its current directory and waits
  // until it is idle, ready for input.
  bool Start(const std::filesystem::path& program, const std::filesystem::path& folder);
  // The exit code once the process has ended within `timeout_ms`.
  std::optional<DWORD> WaitForExit(int timeout_ms);

  // Freezes and thaws the program's user-interface thread, so that a window
  // it shows only while busy can be looked at.
  void Suspend();
  void Resume();

  HANDLE handle() const { return info_.hProcess; }
  DWORD pid() const { return info_.dwProcessId; }
  DWORD thread_id() const { return info_.dwThreadId; }

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace tolvashu::e2e
