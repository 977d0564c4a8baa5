#include "driver_fixture.h"

#include <algorithm>
#include <cstring>

#include "common/names.h"
#include "common/registry.h"
#include "support/processes.h"
#include "support/test_folders.h"
#include "support/wait_until.h"

namespace {
constexpr char kHttpHandlerKey[] = "Software\\Classes\\http\\shell\\open\\command";
constexpr char kBarrierArgument[] = "--orv-barrier";
// Time a recorder started just before the barrier gets to write its line.
constexpr DWORD kSettle = 300;

std::vector<std::string> Split(const std::string& text, const char* separator) {
  std::vector<std::string> parts;
  std::size_t begin = 0;
  for (std::size_t end; (end = text.find(separator, begin)) != std::string::npos; begin = end + std::strlen(separator))
    parts.push_back(text.substr(begin, end - begin));
  parts.push_back(text.substr(begin));
  return parts;
}
}  // namespace

std::string StandInPath(const std::string& version) { return ProgramFolder() + "\\OrvPix6-" + version + ".exe"; }

bool PlaceStandIn(const std::string& version, const std::string& folder) {
  return CopyFileA(StandInPath(version).c_str(), (folder + "\\" + names::kApplicationExe).c_str(), FALSE) != 0;
}

bool MakePackage(const std::string& folder, const std::string& version, bool withScript) {
  if (!MakeFolders(folder)) return false;
  if (!version.empty() && !PlaceStandIn(version, folder)) return false;
  const std::string script = std::string("File Copy: ") + names::kApplicationExe + "\r\n";
  return !withScript || WriteFileBytes(folder + "\\" + names::kUninstallLog, script);
}

void RegisterEarlierInstallation(const std::string& folder, const char* allUsers) {
  WriteRegistryString(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue, folder);
  if (allUsers) WriteRegistryString(HKEY_LOCAL_MACHINE, names::kProductKey, names::kAllUsersValue, allUsers);
}

Recorder::Recorder(const std::string& folder, const std::string& name) : path_(folder + "\\" + name) {
  MakeFolders(folder);
  CopyFileA((ProgramFolder() + "\\recorder.exe").c_str(), path_.c_str(), FALSE);
}

std::string Recorder::RecordFile() const { return path_.substr(0, path_.find_last_of('\\')) + "\\recorded.txt"; }

bool Recorder::RegisterAsWebBrowser() const {
  // Wine looks the handler up in the machine's classes only.
  return WriteRegistryString(HKEY_LOCAL_MACHINE, kHttpHandlerKey, nullptr, "\"" + path_ + "\" \"%1\"");
}

std::vector<RecordedStart> Recorder::Starts() const {
  std::vector<RecordedStart> starts;
  for (const std::string& line : Split(ReadFileBytes(RecordFile()), "\r\n")) {
    if (line.empty()) continue;
    std::vector<std::string> fields = Split(line, "\t");
    fields.resize(std::max<std::size_t>(fields.size(), 2));
    starts.push_back({fields[0], fields[1], std::vector<std::string>(fields.begin() + 2, fields.end())});
  }
  return starts;
}

std::vector<RecordedStart> Recorder::WaitForStarts(std::size_t count, DWORD timeoutMs) const {
  std::vector<RecordedStart> starts;
  WaitUntil(
      [&] {
        starts = Starts();
        return starts.size() >= count;
      },
      timeoutMs);
  return starts;
}

std::vector<RecordedStart> Recorder::StartsSoFar() const {
  RunToEnd(path_, kBarrierArgument, std::string(), 15000);
  Sleep(kSettle);
  std::vector<RecordedStart> starts;
  for (const RecordedStart& start : Starts()) {
    if (start.args.size() == 1 && start.args[0] == kBarrierArgument) continue;
    starts.push_back(start);
  }
  return starts;
}

void Recorder::Clear() const { DeleteFileA(RecordFile().c_str()); }
