// Registry texts: the 260-byte buffer rule on any data as RegQueryValueExA
// leaves it, and the folders and version derived from such texts.
#include <cstring>
#include <string>

#include "common/names.h"
#include "common/registry_text.h"
#include "driver/folder_values.h"
#include "driver/shortcut_group.h"
#include "driver/version_value.h"
#include "fuzz_input.h"

namespace {

void CheckFolders(const std::string& text) {
  const std::string folder = FolderOfAppPath(text);
  FUZZ_CHECK(folder.empty() || (folder.size() < text.size() && text.compare(0, folder.size(), folder) == 0));
  const std::string trimmed = WithoutTrailingBackslash(text);
  FUZZ_CHECK(trimmed.size() + 1 >= text.size() && text.compare(0, trimmed.size(), trimmed) == 0);
  const std::string programFiles = ProgramFilesOfWindowsFolder(text);
  FUZZ_CHECK(programFiles.size() <= text.size() + std::strlen("Program Files"));

  const ShortcutFolders folders = PrepareShortcutFolders(text, text.substr(0, text.size() / 2));
  std::string group;
  if (ShortcutGroupOf(text + "\\x.lnk", folders, &group)) FUZZ_CHECK(group.size() <= text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes = TakeCodePage(data, size);
  // The buffer as the reader leaves it: cleared, then the data stored.
  char buffer[kMaxPath] = {};
  std::memcpy(buffer, bytes.data(), bytes.size() < sizeof buffer ? bytes.size() : sizeof buffer);
  const std::string text = RegistryTextOf(buffer, sizeof buffer);
  FUZZ_CHECK(text.size() < kMaxPath);
  FUZZ_CHECK(text.find('\0') == std::string::npos);
  FUZZ_CHECK(bytes.compare(0, text.size(), text) == 0);
  CheckFolders(text);
  CheckFolders(bytes);

  // Four parts of a version resource, 16 bits each: any value, no trap.
  FileVersion version;
  unsigned* parts[] = {&version.major, &version.minor, &version.third, &version.fourth};
  for (std::size_t i = 0; i < 4 && 2 * i + 1 < bytes.size(); ++i)
    *parts[i] = static_cast<unsigned char>(bytes[2 * i]) << 8 | static_cast<unsigned char>(bytes[2 * i + 1]);
  VersionValue(version);
  return 0;
}
