#include "common/process_start.h"

#include "common/run_log.h"

std::string CommandLineArgument(const std::string& path) {
  if (path.find_first_of(" \t") == std::string::npos) return path;
  return "\"" + path + "\"";
}

StartedProcess LaunchProgram(const std::string& program, std::string commandLine, const char* folder, DWORD flags,
                            bool inheritHandles, ProcessStartCall start) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  StartedProcess started;
  if (!start(program.c_str(), &commandLine[0], nullptr, nullptr, inheritHandles ? TRUE : FALSE, flags, nullptr, folder,
             &startup, &info)) {
    RunLogFailure("start", commandLine, GetLastError());
    return started;
  }
  started.process.reset(info.hProcess);
  started.thread.reset(info.hThread);
  started.id = info.dwProcessId;
  RunLogEvent("started process " + std::to_string(started.id) + ":", commandLine);
  return started;
}
