#include "engine/registry_entries.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "common/bounded_path.h"
#include "common/file_search.h"
#include "common/names.h"
#include "common/registry.h"
#include "common/run_log.h"
#include "common/string_table.h"
#include "common/text.h"
#include "framework/exit_status.h"
#include "resources/resource_ids.h"
#include "vendor_config.h"

namespace {

// Values of the Uninstall entry, read by the system's list of programs.
constexpr char kContactValue[] = "Contact";
constexpr char kContactText[] = "Support";
constexpr char kDisplayNameValue[] = "DisplayName";
constexpr char kDisplayVersionValue[] = "DisplayVersion";
constexpr char kPublisherValue[] = "Publisher";
constexpr char kUninstallStringValue[] = "UninstallString";
constexpr char kUrlInfoAboutValue[] = "URLInfoAbout";
// Read by package managers and the system's "Apps" page: the removal they
// run unattended, where and when the application was installed, its icon
// and size, and no Change or Repair button (the uninstaller does neither).
constexpr char kQuietUninstallStringValue[] = "QuietUninstallString";
constexpr char kInstallLocationValue[] = "InstallLocation";
constexpr char kDisplayIconValue[] = "DisplayIcon";
constexpr char kIconIndex[] = ",0";  // the program's first icon
constexpr char kInstallDateValue[] = "InstallDate";
constexpr char kNoModifyValue[] = "NoModify";
constexpr char kNoRepairValue[] = "NoRepair";
constexpr char kEstimatedSizeValue[] = "EstimatedSize";
constexpr std::uint64_t kBytesPerSizeUnit = 1024;  // the size is given in KB

// A value that cannot be written leaves the installation unregistered or
// unremovable: the run's outcome says so, by key and value name.
void NoteWrite(bool written, const char* key, const char* name, const std::string& text) {
  const std::string value =
      std::string(names::kMachineRootName) + "\\" + key + (name ? std::string("\\") + name : std::string());
  if (written) {
    RunLogEvent("wrote registry value", value + " = " + text);
    return;
  }
  RunLogFailure("write registry value", value, GetLastError());
  NoteInstallFailure(value);
}

void WriteMachineValue(const char* key, const char* name, const std::string& text) {
  NoteWrite(WriteRegistryString(HKEY_LOCAL_MACHINE, key, name, text), key, name, text);
}

void WriteMachineNumber(const char* key, const char* name, DWORD number) {
  NoteWrite(WriteRegistryDword(HKEY_LOCAL_MACHINE, key, name, number), key, name, std::to_string(number));
}

// The day of the run in local time, as the system's list of programs reads
// it: YYYYMMDD.
std::string InstallDateText() {
  SYSTEMTIME today;
  GetLocalTime(&today);
  char text[16];
  std::snprintf(text, sizeof text, "%04u%02u%02u", static_cast<unsigned>(today.wYear),
                static_cast<unsigned>(today.wMonth), static_cast<unsigned>(today.wDay));
  return text;
}

// The bytes of the files below `folder`, sub-folders included unless
// `filesOnly`. Links to folders are not followed: what they lead to is not
// the installation's, and a link to a folder above would never end. A path
// past the limit is passed over, as the installation puts nothing there.
std::uint64_t BytesBelow(const std::string& folder, bool filesOnly = false) {
  const std::string pattern = JoinBoundedPath(folder, "*");
  if (pattern.empty()) return 0;
  std::uint64_t bytes = 0;
  WIN32_FIND_DATAA found;
  FileSearch search(pattern, &found);
  if (!search.Found()) return 0;
  do {
    if (IsDotEntry(found.cFileName)) continue;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      bytes += (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    } else if (!filesOnly && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      const std::string inner = JoinBoundedPath(folder, found.cFileName);
      if (!inner.empty()) bytes += BytesBelow(inner);
    }
  } while (search.Next(&found));
  return bytes;
}

// A file directly in the folder; a drive root (C:\) ends in its separator.
std::string InFolder(const std::string& folder, const char* name) {
  const bool separated = !folder.empty() && FindLastChar(folder, '\\') == folder.size() - 1;
  return folder + (separated ? "" : "\\") + name;
}

}  // namespace

DWORD EstimatedSizeOfBytes(std::uint64_t bytes) {
  const std::uint64_t units = bytes / kBytesPerSizeUnit + (bytes % kBytesPerSizeUnit != 0 ? 1 : 0);
  return units > MAXDWORD ? MAXDWORD : static_cast<DWORD>(units);
}

std::string DisplayVersionText(const FileVersion& version) {
  char text[40];
  std::snprintf(text, sizeof text, "%u.%02u.%02u", version.major, version.minor, version.third);
  return text;
}

void WriteRegistryEntries() {
  const InstallOptionsRecord& options = InstallOptions;
  const std::string& folder = options.destinationFolder;
  WriteMachineValue(names::kProductKey, names::kAllUsersValue,
                    options.allUsers ? names::kAllUsersYes : names::kAllUsersNo);
  WriteMachineValue(names::kProductKey, names::kPathValue, folder);
  WriteMachineValue(names::kAppPathKey, nullptr, InFolder(folder, names::kApplicationExe));
  WriteMachineValue(names::kUninstallEntryKey, kContactValue, kContactText);
  WriteMachineValue(names::kUninstallEntryKey, kDisplayNameValue, LoadStringResource(IDS_SHORTCUT_APP));
  WriteMachineValue(names::kUninstallEntryKey, kDisplayVersionValue, DisplayVersionText(options.newVersion));
  WriteMachineValue(names::kUninstallEntryKey, kPublisherValue, names::kPublisher);
  // Quoted: the system runs it as a command line, and an unquoted path with
  // blanks (C:\Program Files\...) would start "C:\Program.exe" if there is one.
  const std::string uninstaller = "\"" + InFolder(folder, names::kUninstallerExe) + "\"";
  WriteMachineValue(names::kUninstallEntryKey, kUninstallStringValue, uninstaller);
  WriteMachineValue(names::kUninstallEntryKey, kUrlInfoAboutValue, ORVELLE_HOME_PAGE);
  // Package managers run it unattended and take its return for the end of
  // the removal: no question, and no return before the removal has ended.
  WriteMachineValue(names::kUninstallEntryKey, kQuietUninstallStringValue,
                    uninstaller + " " + names::kSilentSwitch + " " + names::kWaitSwitch);
  WriteMachineValue(names::kUninstallEntryKey, kInstallLocationValue, folder);
  WriteMachineValue(names::kUninstallEntryKey, kDisplayIconValue,
                    InFolder(folder, names::kApplicationExe) + kIconIndex);
  WriteMachineValue(names::kUninstallEntryKey, kInstallDateValue, InstallDateText());
  WriteMachineNumber(names::kUninstallEntryKey, kNoModifyValue, 1);
  WriteMachineNumber(names::kUninstallEntryKey, kNoRepairValue, 1);
}

void WriteEstimatedSize() {
  const std::string& folder = InstallOptions.destinationFolder;
  // At a drive root (-instdir D:\) the sub-folders are other programs' and
  // users' (a walk of the whole drive): the files in the root itself count.
  const bool driveRoot = folder.size() <= 3 && HasDriveAt(folder);
  WriteMachineNumber(names::kUninstallEntryKey, kEstimatedSizeValue,
                     EstimatedSizeOfBytes(BytesBelow(folder, driveRoot)));
}
