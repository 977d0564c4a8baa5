#include "support/processes.h"

#include <tlhelp32.h>

#include "common/names.h"
#include "common/text.h"

StartedProcess StartProgram(const std::string& program, const std::string& arguments, const std::string& folder) {
  return LaunchProgram(program, CommandLineArgument(program) + (arguments.empty() ? "" : " " + arguments),
                       folder.empty() ? nullptr : folder.c_str());
}

StartedProcess StartSleepingCopy(const std::string& path, DWORD sleepMs) {
  char self[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (path != std::string(self, length) && !CopyFileA(self, path.c_str(), FALSE)) return StartedProcess();
  return StartProgram(path, "--orv-child-sleep " + std::to_string(sleepMs));
}

long WaitForExit(StartedProcess& process, DWORD timeoutMs) {
  if (!process) return -1;
  if (WaitForSingleObject(process.process.get(), timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.process.get(), 99);
    return -1;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.process.get(), &code);
  return static_cast<long>(code);
}

long RunToEnd(const std::string& program, const std::string& arguments, const std::string& folder, DWORD timeoutMs) {
  StartedProcess process = StartProgram(program, arguments, folder);
  return WaitForExit(process, timeoutMs);
}

bool IsTemporaryCopyName(std::string name) {
  ToLower(name);
  return name.size() > 7 && name.compare(0, 3, names::kSelfRemovalPrefix) == 0 &&
         name.compare(name.size() - 4, 4, ".tmp") == 0;
}

StartedProcess WaitForTemporaryCopyOf(DWORD parentId, DWORD timeoutMs) {
  StartedProcess child;
  for (DWORD waited = 0; waited <= timeoutMs; waited += 10) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
      if (entry.th32ParentProcessID != parentId || entry.th32ProcessID == parentId) continue;
      if (!IsTemporaryCopyName(entry.szExeFile)) continue;
      child.process.reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
      child.id = entry.th32ProcessID;
      if (child) return child;
    }
    Sleep(10);
  }
  return child;
}

std::vector<std::string> WaitForTemporaryCopies(DWORD timeoutMs) {
  struct Copy {
    UniqueHandle process;
    std::string name;
  };
  std::vector<Copy> copies;
  // A process can show in a snapshot before its name does: look again until
  // a copy is seen.
  for (const DWORD begin = GetTickCount(); copies.empty() && GetTickCount() - begin < timeoutMs; Sleep(50)) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
      if (!IsTemporaryCopyName(entry.szExeFile)) continue;
      UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID));
      if (process) copies.push_back(Copy{std::move(process), entry.szExeFile});
    }
  }
  std::vector<std::string> ended;
  for (const Copy& copy : copies) {
    if (WaitForSingleObject(copy.process.get(), timeoutMs) == WAIT_OBJECT_0) ended.push_back(copy.name);
  }
  return ended;
}
