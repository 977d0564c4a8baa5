// The wizard picture (bitmap 101), the program icon (icon group 102) and the
// application manifest (resource 1 of type 24) of the executable.
#include <windows.h>

#include <cctype>
#include <cstring>
#include <set>
#include <string>

#include "gtest/gtest.h"
#include "resources/resource_ids.h"

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

  // Exactly one dependency, and no execution level: the system decides.
  EXPECT_EQ(xml.find("<dependentAssembly", dependency + 1), std::string::npos);
  EXPECT_EQ(xml.find("requestedExecutionLevel"), std::string::npos);
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

}  // namespace
