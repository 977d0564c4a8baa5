#include "engine_fixture.h"

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <cstdio>

#include "common/names.h"
#include "support/processes.h"

EngineTest::EngineTest() : saved_(InstallOptions) {
  InstallOptions = InstallOptionsRecord();
  InstallOptions.sourceFolder = package_.Path();
  InstallOptions.destinationFolder = root_ / names::kProductName;
  InstallOptions.programGroup = names::kProductName;
  InstallOptions.isNewInstall = true;
  InstallOptions.desktopIcon = false;
  InstallOptions.newVersion = {6, 1, 2, 3};
}

EngineTest::~EngineTest() { InstallOptions = saved_; }

void EngineTest::WriteScript(const std::vector<std::string>& lines) const {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  ASSERT_TRUE(WriteFileBytes(Package(names::kUninstallLog), bytes));
}

void EngineTest::AddPackageFile(const std::string& relative) const {
  ASSERT_TRUE(WriteFileBytes(Package(relative), relative)) << relative;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  const std::string bytes = ReadFileBytes(path);
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

RunningCopy::RunningCopy(const std::string& path) : process_(StartSleepingCopy(path, 120000).process) {
  if (!process_) ADD_FAILURE() << "cannot copy the test program to " << path << " and start it";
}

void RunningCopy::End() {
  if (!process_) return;
  TerminateProcess(process_.get(), 0);
  WaitForSingleObject(process_.get(), 10000);
  process_.reset();
}

ShortcutContents ReadShortcut(const std::string& path) {
  ShortcutContents contents;
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    WCHAR widePath[MAX_PATH];
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH) > 0 &&
        SUCCEEDED(file->Load(widePath, STGM_READ))) {
      char text[1024] = {};
      contents.loaded = true;
      if (SUCCEEDED(link->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH))) contents.target = text;
      text[0] = '\0';
      if (SUCCEEDED(link->GetWorkingDirectory(text, sizeof text))) contents.workingFolder = text;
      text[0] = '\0';
      if (SUCCEEDED(link->GetDescription(text, sizeof text))) contents.description = text;
    }
    if (file) file->Release();
    link->Release();
  }
  CoUninitialize();
  return contents;
}

void ExpectRegistryEntries(const std::string& folder, const std::string& allUsers, const std::string& displayVersion) {
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kProductKey, "AllUsers"), allUsers);
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kProductKey, "Path"), folder);
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kAppPathKey, nullptr), folder + "\\OrvPix6.exe");
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "Contact"), "Support");
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "Orvelle 6");
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), displayVersion);
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher"), "Tamberlin Technology LLC");
  // Quoted, so that the system cannot start "C:\Program.exe" instead.
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"), "\"" + folder + "\\OrvUnInst.exe\"");
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "URLInfoAbout"), "http://www.tamberlin.example/orvelle/");
  // For the tools around the list of programs: the same path, unattended and
  // waited for; the folder; the application's first icon; today; no Change
  // or Repair buttons.
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString"),
            "\"" + folder + "\\OrvUnInst.exe\" -s -wait");
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation"), folder);
  EXPECT_EQ(ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon"), folder + "\\OrvPix6.exe,0");
  const std::string date = ValueOf(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallDate");
  EXPECT_TRUE(date == LocalDate(0) || date == LocalDate(10)) << date << " is not today";
  EXPECT_EQ(DwordOf(HKEY_LOCAL_MACHINE, kUninstallKey, "NoModify"), "1");
  EXPECT_EQ(DwordOf(HKEY_LOCAL_MACHINE, kUninstallKey, "NoRepair"), "1");
}

std::string LocalDate(unsigned minutesAgo) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER ticks{};
  ticks.LowPart = now.dwLowDateTime;
  ticks.HighPart = now.dwHighDateTime;
  ticks.QuadPart -= static_cast<ULONGLONG>(minutesAgo) * 60 * 10000000;
  const FILETIME then{ticks.LowPart, ticks.HighPart};
  FILETIME local;
  SYSTEMTIME day;
  FileTimeToLocalFileTime(&then, &local);
  FileTimeToSystemTime(&local, &day);
  char text[16];
  std::snprintf(text, sizeof text, "%04u%02u%02u", static_cast<unsigned>(day.wYear), static_cast<unsigned>(day.wMonth),
                static_cast<unsigned>(day.wDay));
  return text;
}

AccessList AccessListOf(const std::string& path) {
  AccessList list;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                            nullptr, &descriptor) != ERROR_SUCCESS)
    return list;
  list.read = true;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  if (GetSecurityDescriptorControl(descriptor, &control, &revision)) list.isProtected = (control & SE_DACL_PROTECTED) != 0;
  ACL_SIZE_INFORMATION size{};
  if (dacl && GetAclInformation(dacl, &size, sizeof size, AclSizeInformation)) {
    for (DWORD i = 0; i < size.AceCount; ++i) {
      ACCESS_ALLOWED_ACE* ace = nullptr;
      char* sid = nullptr;
      if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace)) ||
          !ConvertSidToStringSidA(reinterpret_cast<PSID>(&ace->SidStart), &sid))
        continue;
      char entry[160];
      std::snprintf(entry, sizeof entry, "%s 0x%lx 0x%x", sid, static_cast<unsigned long>(ace->Mask),
                    static_cast<unsigned>(ace->Header.AceFlags));
      list.entries.push_back(entry);
      LocalFree(sid);
    }
  }
  LocalFree(descriptor);
  return list;
}
