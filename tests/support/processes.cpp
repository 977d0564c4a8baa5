#include "support/processes.h"

StartedProcess StartProgram(const std::string& program, const std::string& arguments, const std::string& folder) {
  std::string command = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  StartedProcess started;
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info))
    return started;
  CloseHandle(info.hThread);
  started.handle.reset(info.hProcess);
  started.id = info.dwProcessId;
  return started;
}

long WaitForExit(StartedProcess& process, DWORD timeoutMs) {
  if (!process) return -1;
  if (WaitForSingleObject(process.handle.get(), timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.handle.get(), 99);
    return -1;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.handle.get(), &code);
  return static_cast<long>(code);
}

long RunToEnd(const std::string& program, const std::string& arguments, const std::string& folder, DWORD timeoutMs) {
  StartedProcess process = StartProgram(program, arguments, folder);
  return WaitForExit(process, timeoutMs);
}
