#include "support/package_run.h"

bool CopySetupTo(const std::string& path) {
  return CopyFileA((ProgramFolder() + "\\setup.exe").c_str(), path.c_str(), FALSE) != FALSE;
}

PackageRun::PackageRun(const char* rootName, const char* packageName)
    : root_(rootName), package_(root_ / packageName) {}

StartedProcess PackageRun::Start(const std::string& program, const std::string& arguments,
                                 const std::string& folder) const {
  return StartProgram(program, arguments, folder.empty() ? root_.Path() : folder);
}

long PackageRun::RunProgram(const std::string& program, const std::string& arguments, const std::string& folder,
                            DWORD timeoutMs) const {
  return RunToEnd(program, arguments, folder.empty() ? root_.Path() : folder, timeoutMs);
}
