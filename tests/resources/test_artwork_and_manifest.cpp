// The wizard picture (bitmap 101), the program icon (icon group 102), the
// application manifest (resource 1 of type 24) of the executable, and the
// version resource of setup.exe as the system reads it.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "common/system_entry.h"
#include "gtest/gtest.h"
#include "resources/resource_ids.h"
#include "support/test_folders.h"

namespace {

constexpr WORD kManifestType = 24;     // RT_MANIFEST
constexpr WORD kIconType = 3;          // RT_ICON
constexpr WORD kGroupIconType = 14;    // RT_GROUP_ICON
constexpr WORD kBitmapType = 2;        // RT_BITMAP

// The bytes of resource (type, id) of the program itself; empty when missing.
std::string ResourceBytes(WORD type, WORD id) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
  if (found == nullptr) return std::string();
  HGLOBAL loaded = LoadResource(module, found);
  const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  DWORD size = SizeofResource(module, found);
  return data ? std::string(data, size) : std::string();
}

TEST(WizardPicture, IsA120By260BitmapWith256Colours) {
  std::string bytes = ResourceBytes(kBitmapType, IDB_WIZARD);
  ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER));
  BITMAPINFOHEADER header;
  std::memcpy(&header, bytes.data(), sizeof header);
  EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
  EXPECT_EQ(header.biWidth, 120);
  EXPECT_EQ(header.biHeight, 260);
  EXPECT_EQ(header.biPlanes, 1);
  EXPECT_EQ(header.biBitCount, 8);
  EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
  const size_t colours = header.biClrUsed == 0 ? 256 : header.biClrUsed;
  EXPECT_EQ(colours, 256u);
  const size_t rowBytes = (120 + 3) & ~size_t{3};
  EXPECT_EQ(bytes.size(), sizeof header + colours * sizeof(RGBQUAD) + rowBytes * 260);
}

TEST(WizardPicture, LoadsThroughLoadImage) {
  HANDLE image = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_WIZARD), IMAGE_BITMAP,
                            0, 0, LR_CREATEDIBSECTION);
  ASSERT_NE(image, nullptr);
  DIBSECTION section;
  ASSERT_EQ(GetObjectA(image, sizeof section, &section), static_cast<int>(sizeof section));
  EXPECT_EQ(section.dsBm.bmWidth, 120);
  EXPECT_EQ(section.dsBm.bmHeight, 260);
  EXPECT_EQ(section.dsBm.bmBitsPixel, 8);
  DeleteObject(image);
}

#pragma pack(push, 2)
struct GroupIconHeader { WORD reserved, type, count; };
struct GroupIconEntry {
  BYTE width, height, colourCount, reserved;
  WORD planes, bitCount;
  DWORD bytesInResource;
  WORD id;
};
#pragma pack(pop)

TEST(ProgramIcon, GroupHoldsSmallAndLargeImagesThatExist) {
  std::string group = ResourceBytes(kGroupIconType, IDI_SETUP);
  ASSERT_GE(group.size(), sizeof(GroupIconHeader));
  GroupIconHeader header;
  std::memcpy(&header, group.data(), sizeof header);
  EXPECT_EQ(header.type, 1);
  ASSERT_EQ(group.size(), sizeof header + header.count * sizeof(GroupIconEntry));

  std::set<int> sizes;
  for (WORD i = 0; i < header.count; ++i) {
    GroupIconEntry entry;
    std::memcpy(&entry, group.data() + sizeof header + i * sizeof entry, sizeof entry);
    const int size = entry.width == 0 ? 256 : entry.width;
    SCOPED_TRACE("image " + std::to_string(size) + "x" + std::to_string(size) + ", " +
                 std::to_string(entry.bitCount) + " bits");
    EXPECT_EQ(entry.width, entry.height);
    sizes.insert(size);
    // The image the group names is there, with the size the group says.
    std::string image = ResourceBytes(kIconType, entry.id);
    ASSERT_EQ(image.size(), entry.bytesInResource);
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER bits;
    std::memcpy(&bits, image.data(), sizeof bits);
    EXPECT_EQ(bits.biWidth, size);
    EXPECT_EQ(bits.biHeight, 2 * size);  // colour image and mask
    EXPECT_EQ(bits.biBitCount, entry.bitCount);
  }
  EXPECT_EQ(sizes.count(16), 1u);
  EXPECT_EQ(sizes.count(32), 1u);
}

TEST(ProgramIcon, LoadsAtBothStandardSizes) {
  for (int size : {16, 32}) {
    SCOPED_TRACE(size);
    HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON,
                             size, size, 0);
    ASSERT_NE(icon, nullptr);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(static_cast<HICON>(icon), &info));
    BITMAP mask;
    ASSERT_NE(GetObjectA(info.hbmMask, sizeof mask, &mask), 0);
    EXPECT_EQ(mask.bmWidth, size);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(static_cast<HICON>(icon));
  }
}

// The first <tag ...> element at or after `from`, its white space made blanks.
std::string Element(const std::string& xml, const std::string& tag, size_t from = 0) {
  size_t start = xml.find("<" + tag, from);
  if (start == std::string::npos) return std::string();
  size_t end = xml.find('>', start);
  std::string element = xml.substr(start, end == std::string::npos ? end : end - start + 1);
  for (char& c : element) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  return element;
}

std::string Attribute(const std::string& element, const std::string& name) {
  const std::string key = " " + name + "=\"";
  size_t at = element.find(key);
  if (at == std::string::npos) return "(missing)";
  size_t value = at + key.size();
  return element.substr(value, element.find('"', value) - value);
}

TEST(Manifest, NamesTheSetupAndItsCommonControlsDependency) {
  std::string xml = ResourceBytes(kManifestType, 1);
  ASSERT_FALSE(xml.empty()) << "no manifest resource 1";

  size_t dependency = xml.find("<dependentAssembly");
  ASSERT_NE(dependency, std::string::npos);
  std::string own = Element(xml, "assemblyIdentity");
  ASSERT_LT(xml.find("<assemblyIdentity"), dependency) << "the own identity comes first";
  EXPECT_EQ(Attribute(own, "name"), "Tamberlin.Software.OrvUnInst");
  EXPECT_EQ(Attribute(own, "version"), "5.0.0.0");
  EXPECT_EQ(Attribute(own, "processorArchitecture"), "x86");
  EXPECT_EQ(Attribute(own, "type"), "win32");

  std::string controls = Element(xml, "assemblyIdentity", dependency);
  EXPECT_EQ(Attribute(controls, "name"), "Microsoft.Windows.Common-Controls");
  EXPECT_EQ(Attribute(controls, "version"), "6.0.0.0");
  EXPECT_EQ(Attribute(controls, "processorArchitecture"), "x86");
  EXPECT_EQ(Attribute(controls, "publicKeyToken"), "6595b64144ccf1df");
  EXPECT_EQ(Attribute(controls, "language"), "*");
  EXPECT_EQ(Attribute(controls, "type"), "win32");

  // Exactly one dependency. The execution level is declared: the highest the
  // user has (an administrator is asked once), never the system's guess from
  // the file name, and with it no file or registry virtualisation.
  EXPECT_EQ(xml.find("<dependentAssembly", dependency + 1), std::string::npos);
  std::string level = Element(xml, "requestedExecutionLevel");
  EXPECT_EQ(Attribute(level, "level"), "highestAvailable");
  EXPECT_EQ(Attribute(level, "uiAccess"), "false");
  EXPECT_EQ(Attribute(Element(xml, "trustInfo"), "xmlns"), "urn:schemas-microsoft-com:asm.v3");
  EXPECT_EQ(xml.find("<requestedExecutionLevel", xml.find("<requestedExecutionLevel") + 1), std::string::npos)
      << "one execution level";
}

// The text of the first <tag ...>text</tag> at or after `from`.
std::string ElementText(const std::string& xml, const std::string& tag, size_t from = 0) {
  size_t start = xml.find("<" + tag, from);
  if (start == std::string::npos) return "(missing)";
  size_t text = xml.find('>', start) + 1;
  return xml.substr(text, xml.find("</" + tag, text) - text);
}

TEST(Manifest, NamesTheSupportedSystemsAndPerMonitorDpiAwareness) {
  std::string xml = ResourceBytes(kManifestType, 1);
  ASSERT_FALSE(xml.empty());
  size_t compatibility = xml.find("<compatibility");
  ASSERT_NE(compatibility, std::string::npos);
  EXPECT_EQ(Attribute(Element(xml, "compatibility"), "xmlns"), "urn:schemas-microsoft-com:compatibility.v1");
  const struct {
    const char* system;
    const char* id;
  } systems[] = {
      {"Windows Vista", "{e2011457-1546-43c5-a5fe-008deee3d3f0}"},
      {"Windows 7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
      {"Windows 8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
      {"Windows 8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
      {"Windows 10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},
  };
  size_t at = compatibility;
  for (const auto& system : systems) {
    SCOPED_TRACE(system.system);
    at = xml.find("<supportedOS", at + 1);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(Attribute(Element(xml, "supportedOS", at), "Id"), system.id);
  }
  EXPECT_EQ(xml.find("<supportedOS", at + 1), std::string::npos) << "no other system";

  // Both declarations, each in its own namespace: Windows 10 1607 and later
  // read dpiAwareness, the older ones dpiAware.
  size_t settings = xml.find("<windowsSettings");
  ASSERT_NE(settings, std::string::npos);
  EXPECT_EQ(ElementText(xml, "dpiAware", settings), "true/pm");
  EXPECT_EQ(Attribute(Element(xml, "dpiAware", settings), "xmlns"),
            "http://schemas.microsoft.com/SMI/2005/WindowsSettings");
  EXPECT_EQ(ElementText(xml, "dpiAwareness", settings), "PerMonitorV2");
  EXPECT_EQ(Attribute(Element(xml, "dpiAwareness", settings), "xmlns"),
            "http://schemas.microsoft.com/SMI/2016/WindowsSettings");
  EXPECT_EQ(Attribute(Element(xml, "application", xml.rfind("<application", settings)), "xmlns"),
            "urn:schemas-microsoft-com:asm.v3");

  // The loader took both settings where the system looks for them (a
  // misplaced element or namespace is dropped in silence). Wine reports
  // per-monitor awareness to every program, manifest or not, so the settings
  // themselves are asked for.
  const auto query = Kernel32Entry<decltype(&::QueryActCtxSettingsW)>("QueryActCtxSettingsW");
  ASSERT_NE(query, nullptr);
  const struct {
    const char* label;
    const wchar_t* space;
    const wchar_t* name;
    std::wstring value;
  } loaded[] = {
      {"dpiAware", L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true/pm"},
      {"dpiAwareness", L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", L"PerMonitorV2"},
  };
  for (const auto& setting : loaded) {
    SCOPED_TRACE(setting.label);
    wchar_t value[64] = L"";
    SIZE_T written = 0;
    EXPECT_TRUE(query(0, nullptr, setting.space, setting.name, value, 64, &written)) << "error " << GetLastError();
    EXPECT_TRUE(std::wstring(value) == setting.value);
  }
}

TEST(Manifest, RedirectsTheCommonControlsToVersion6) {
  // The loader reads the manifest at start; a malformed one, or one without
  // the dependency, leaves comctl32.dll unredirected (the old controls).
  ACTCTX_SECTION_KEYED_DATA data;
  ZeroMemory(&data, sizeof data);
  data.cbSize = sizeof data;
  EXPECT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                       "comctl32.dll", &data))
      << "error " << GetLastError();

  HMODULE comctl = LoadLibraryA("comctl32.dll");
  ASSERT_NE(comctl, nullptr);
  char path[MAX_PATH] = "";
  GetModuleFileNameA(comctl, path, MAX_PATH);
  std::string lower = path;
  for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  EXPECT_NE(lower.find("x86_microsoft.windows.common-controls_6595b64144ccf1df_6.0."),
            std::string::npos)
      << path;
}

// setup.exe's version block, read as the file's properties read it.
class VersionBlock {
 public:
  explicit VersionBlock(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return;
    block_.resize(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block_.data())) block_.clear();
  }
  bool Read() const { return !block_.empty(); }

  // The value at `subBlock`; null when there is none.
  const void* Query(const std::string& subBlock, UINT* length) const {
    void* value = nullptr;
    return VerQueryValueA(block_.data(), subBlock.c_str(), &value, length) ? value : nullptr;
  }
  // A text of the French block; "(missing)" when there is none.
  std::string Text(const std::string& name) const {
    UINT length = 0;
    const void* value = Query("\\StringFileInfo\\040C04E4\\" + name, &length);
    return value && length > 0 ? std::string(static_cast<const char*>(value)) : "(missing)";
  }

 private:
  std::vector<char> block_;
};

// The version the build set (ORVELLE_SETUP_VERSION) as the four numbers of
// the fixed information: most and least significant words.
std::pair<DWORD, DWORD> BuildVersion() {
  unsigned parts[4] = {};
  EXPECT_EQ(std::sscanf(ORV_SETUP_VERSION, "%u.%u.%u.%u", &parts[0], &parts[1], &parts[2], &parts[3]), 4);
  return {MAKELONG(parts[1], parts[0]), MAKELONG(parts[3], parts[2])};
}

TEST(VersionResource, SetupNamesVendorProductAndBuildVersionInFrench) {
  const VersionBlock block(ProgramFolder() + "\\setup.exe");
  ASSERT_TRUE(block.Read()) << "setup.exe has no version resource";
  const struct {
    const char* name;
    std::string value;
  } rows[] = {
      {"CompanyName", "Tamberlin Technology LLC"},
      {"ProductName", "Orvelle 6"},
      {"FileDescription", "Installation et d\xe9sinstallation d'Orvelle 6"},
      {"LegalCopyright", "Copyright \xa9 Tamberlin Technology LLC"},
      {"FileVersion", ORV_SETUP_VERSION},
      {"ProductVersion", ORV_SETUP_VERSION},
      {"OriginalFilename", "setup.exe"},
      {"InternalName", "setup"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(block.Text(row.name), row.value) << row.name;
    // The demo shows what the system read (code page 1252).
    std::printf("   %s: %s\n", row.name, block.Text(row.name).c_str());
  }

  // One translation: French, code page 1252, the block above.
  UINT length = 0;
  const auto* translation = static_cast<const WORD*>(block.Query("\\VarFileInfo\\Translation", &length));
  ASSERT_NE(translation, nullptr);
  ASSERT_EQ(length, 2 * sizeof(WORD));
  EXPECT_EQ(translation[0], 0x040C);
  EXPECT_EQ(translation[1], 1252);

  // The numbers come from the same setting as the texts.
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(block.Query("\\", &length));
  ASSERT_NE(fixed, nullptr);
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  const std::pair<DWORD, DWORD> version = BuildVersion();
  EXPECT_EQ(fixed->dwFileVersionMS, version.first);
  EXPECT_EQ(fixed->dwFileVersionLS, version.second);
  EXPECT_EQ(fixed->dwProductVersionMS, version.first);
  EXPECT_EQ(fixed->dwProductVersionLS, version.second);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
  EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "no debug, pre-release or patched flag";
}

}  // namespace
