#include "engine/registry_entries.h"

#include <windows.h>

#include <cstdio>

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

// A value that cannot be written leaves the installation unregistered or
// unremovable: the run's outcome says so, by key and value name.
void WriteMachineValue(const char* key, const char* name, const std::string& text) {
  const std::string value =
      std::string(names::kMachineRootName) + "\\" + key + (name ? std::string("\\") + name : std::string());
  if (WriteRegistryString(HKEY_LOCAL_MACHINE, key, name, text)) {
    RunLogEvent("wrote registry value", value + " = " + text);
    return;
  }
  RunLogFailure("write registry value", value, GetLastError());
  NoteInstallFailure(value);
}

// A file directly in the folder; a drive root (C:\) ends in its separator.
std::string InFolder(const std::string& folder, const char* name) {
  const bool separated = !folder.empty() && FindLastChar(folder, '\\') == folder.size() - 1;
  return folder + (separated ? "" : "\\") + name;
}

}  // namespace

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
  WriteMachineValue(names::kUninstallEntryKey, kUninstallStringValue,
                    "\"" + InFolder(folder, names::kUninstallerExe) + "\"");
  WriteMachineValue(names::kUninstallEntryKey, kUrlInfoAboutValue, ORVELLE_HOME_PAGE);
}
