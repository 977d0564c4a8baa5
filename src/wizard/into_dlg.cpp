#include "wizard/into_dlg.h"

#include <cstdio>

namespace {
constexpr char kBetaSuffix[] = "Beta %d";

// The version line: `format` (the template's text of the line, "%d.%02d.%02d
// %s" and the publisher's lines) filled with major, minor and third number
// and a suffix, "Beta <fourth>" when the fourth number is not 0, else empty.
std::string FormatVersionLine(const std::string& format, const FileVersion& version) {
  char suffix[32] = "";
  if (version.fourth != 0) std::snprintf(suffix, sizeof suffix, kBetaSuffix, static_cast<int>(version.fourth));
  const int major = static_cast<int>(version.major);
  const int minor = static_cast<int>(version.minor);
  const int third = static_cast<int>(version.third);
  const int length = std::snprintf(nullptr, 0, format.c_str(), major, minor, third, suffix);
  if (length <= 0) return std::string();
  std::string line(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(&line[0], line.size(), format.c_str(), major, minor, third, suffix);
  line.resize(static_cast<std::size_t>(length));
  return line;
}
}  // namespace


BOOL CIntoDlg::OnInitDialog() {
  const std::string line = FormatVersionLine(ItemText(IDC_VERSION_LINE), InstallOptions.newVersion);
  SetDlgItemTextA(Hwnd(), IDC_VERSION_LINE, line.c_str());
  return TRUE;
}
