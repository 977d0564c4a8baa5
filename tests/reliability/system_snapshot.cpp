#include "system_snapshot.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "common/file_search.h"
#include "common/registry.h"
#include "common/text.h"
#include "support/processes.h"

namespace {

constexpr REGSAM kReadAll = KEY_READ | KEY_WOW64_64KEY;
constexpr int kMaxKeyDepth = 40;  // the link keys of Wine (CurrentControlSet) are followed once
constexpr char kSessionManager[] = "\\Control\\Session Manager\\";
constexpr char kPendingValue[] = "PendingFileRenameOperations";

std::string Hex(const unsigned char* bytes, DWORD size) {
  std::string text;
  char pair[3];
  for (DWORD i = 0; i < size; ++i) {
    std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
    text += pair;
  }
  return text;
}

void WalkKey(HKEY key, const std::string& name, int depth, SystemSnapshot& snapshot) {
  snapshot["reg:" + name + "\\"] = "";
  DWORD subkeys = 0, values = 0, longestSubkey = 0, longestName = 0, longestData = 0;
  if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values, &longestName,
                       &longestData, nullptr, nullptr) != ERROR_SUCCESS)
    return;
  std::string valueName(longestName + 2, '\0');
  std::vector<unsigned char> data(longestData + 2);
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = static_cast<DWORD>(valueName.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
    const LONG status = RegEnumValueA(key, i, &valueName[0], &nameSize, nullptr, &type, data.data(), &dataSize);
    if (status == ERROR_MORE_DATA) {  // grew meanwhile
      valueName.resize(valueName.size() * 2 + 256);
      data.resize(data.size() * 2 + 4096);
      --i;
      continue;
    }
    if (status != ERROR_SUCCESS) break;
    snapshot["reg:" + name + "\\\\" + valueName.substr(0, nameSize)] =
        std::to_string(type) + ":" + Hex(data.data(), dataSize);
  }
  if (depth >= kMaxKeyDepth) return;
  std::string child(longestSubkey + 2 > 512 ? longestSubkey + 2 : 512, '\0');
  for (DWORD i = 0;; ++i) {
    DWORD size = static_cast<DWORD>(child.size());
    if (RegEnumKeyExA(key, i, &child[0], &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    const std::string childName = child.substr(0, size);
    RegKey opened;
    if (opened.Open(key, childName.c_str(), kReadAll))
      WalkKey(opened.get(), name + "\\" + childName, depth + 1, snapshot);
    else
      snapshot["reg:" + name + "\\" + childName + "\\"] = "<no access>";
  }
}

bool Skipped(const std::string& folder, const std::vector<std::string>& skipFolders) {
  std::string lower = folder;
  ToLower(lower);
  for (std::string skip : skipFolders) {
    ToLower(skip);
    if (lower.compare(0, skip.size(), skip) == 0 && (lower.size() == skip.size() || lower[skip.size()] == '\\'))
      return true;
  }
  return false;
}

void WalkFolder(const std::string& folder, const std::vector<std::string>& skipFolders, SystemSnapshot& snapshot) {
  WIN32_FIND_DATAA found{};
  FileSearch search(folder + "\\*", &found);
  if (!search.Found()) return;
  do {
    if (IsDotEntry(found.cFileName)) continue;
    const std::string path = folder + "\\" + found.cFileName;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (Skipped(path, skipFolders)) continue;
      snapshot["file:" + path + "\\"] = "";
      // Links out of the drive (Wine's own) are recorded, not followed.
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) WalkFolder(path, skipFolders, snapshot);
    } else {
      const unsigned long long size = (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
      snapshot["file:" + path] = std::to_string(size);
    }
  } while (search.Next(&found));
}

bool StartsWith(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Wine's own bookkeeping, written by its display driver and device manager
// when a program of the prefix first uses the display (and refreshed by later
// ones), never a place the setup or the uninstaller touches:
// - HKLM\Hardware: the device map;
// - under HKLM\System\<control set>: the video, device-class and class keys,
//   the current service data and the current hardware profile;
// - HKU\<user>\Software\Wine: Wine's per-user settings and window metrics.
bool IsWineBookkeeping(std::string entry) {
  ToLower(entry);
  if (StartsWith(entry, "reg:hklm\\hardware\\")) return true;
  if (StartsWith(entry, "reg:hklm\\system\\")) {
    static const char* const kParts[] = {"\\control\\video\\", "\\control\\deviceclasses\\",
                                         "\\control\\class\\", "\\control\\servicecurrent\\",
                                         "\\hardware profiles\\"};
    for (const char* part : kParts)
      if (entry.find(part) != std::string::npos) return true;
  }
  return StartsWith(entry, "reg:hku\\") && entry.find("\\software\\wine\\") != std::string::npos;
}

// The pending value's entry name, under either name of the current control set.
bool IsPendingValue(const std::string& entry) {
  return StartsWith(entry, "reg:HKLM\\System\\") && EndsWith(entry, std::string(kSessionManager) + "\\" + kPendingValue);
}

}  // namespace

SystemSnapshot TakeSnapshot(const std::vector<std::string>& skipFolders) {
  SystemSnapshot snapshot;
  const struct {
    HKEY root;
    const char* name;
  } roots[] = {{HKEY_LOCAL_MACHINE, "HKLM"}, {HKEY_USERS, "HKU"}};
  for (const auto& root : roots) {
    RegKey key;
    if (key.Open(root.root, nullptr, kReadAll)) WalkKey(key.get(), root.name, 0, snapshot);
  }
  WalkFolder("C:", skipFolders, snapshot);
  return snapshot;
}

std::vector<std::string> CompareSnapshots(const SystemSnapshot& before, const SystemSnapshot& after) {
  std::vector<std::string> differences;
  for (const auto& entry : before) {
    const auto found = after.find(entry.first);
    if (found == after.end())
      differences.push_back("- " + entry.first);
    else if (found->second != entry.second)
      differences.push_back("~ " + entry.first);
  }
  for (const auto& entry : after)
    if (!before.count(entry.first)) differences.push_back("+ " + entry.first);
  return differences;
}

std::vector<std::string> PendingDeletions() {
  std::vector<std::string> paths;
  RegKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", KEY_READ)) return paths;
  DWORD size = 0;
  if (RegQueryValueExA(key.get(), kPendingValue, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return paths;
  std::vector<char> data(size + 2, '\0');
  if (RegQueryValueExA(key.get(), kPendingValue, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS)
    return paths;
  // Pairs of source and target, each zero-terminated; an empty target is a
  // deletion. A rename is reported as "<rename> source" (never allowed).
  std::vector<std::string> strings;
  std::string current;
  for (DWORD pos = 0; pos < size; ++pos) {
    if (data[pos] != '\0') {
      current += data[pos];
      continue;
    }
    strings.push_back(current);
    current.clear();
  }
  for (std::size_t i = 0; i + 1 < strings.size() && !strings[i].empty(); i += 2) {
    std::string source = strings[i];
    if (StartsWith(source, "\\??\\")) source.erase(0, 4);
    paths.push_back(strings[i + 1].empty() ? source : "<rename> " + source);
  }
  return paths;
}

std::vector<std::string> Residue(const SystemSnapshot& before, const SystemSnapshot& after) {
  std::vector<std::string> allowedCopies;
  bool pendingAllowed = true;
  for (const std::string& path : PendingDeletions()) {
    if (IsTemporaryCopyName(NamePart(path)) && !StartsWith(path, "<rename>")) {
      std::string lower = path;
      ToLower(lower);
      allowedCopies.push_back("file:" + lower);
    } else {
      pendingAllowed = false;
    }
  }
  std::vector<std::string> residue;
  for (const std::string& difference : CompareSnapshots(before, after)) {
    const std::string entry = difference.substr(2);
    if (IsWineBookkeeping(entry)) continue;
    if (IsPendingValue(entry) && pendingAllowed) continue;
    if (difference[0] == '+' && StartsWith(entry, "file:")) {
      std::string lower = entry;
      ToLower(lower);
      if (std::find(allowedCopies.begin(), allowedCopies.end(), lower) != allowedCopies.end()) continue;
    }
    residue.push_back(difference);
  }
  return residue;
}
