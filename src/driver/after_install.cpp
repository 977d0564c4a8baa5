#include "driver/after_install.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "common/handle.h"
#include "common/names.h"
#include "common/text.h"
#include "uninstall/bounded_path.h"

#include "vendor_config.h"

namespace {

constexpr char kUrlLinePrefix[] = "URL=http://";
constexpr char kNewInstallPage[] = "/ovkq/InstScript.asp";
constexpr char kInstalledPage[] = "/ovkq/installed.asp";
// Pieces of at most 259 bytes and the terminator.
constexpr int kUrlPieceBuffer = 260;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::string ReadHomePageQuery(const std::string& urlFilePath) {
  std::string query;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(urlFilePath.c_str(), "rt"));
  if (!file) return query;
  char piece[kUrlPieceBuffer];
  while (std::fgets(piece, sizeof piece, file.get())) {
    if (std::strncmp(piece, kUrlLinePrefix, sizeof kUrlLinePrefix - 1) != 0) continue;
    const std::string line = piece;
    const std::size_t mark = FindFirstChar(line, '?');
    if (mark != std::string::npos) query = line.substr(mark);
    // The line end is not part of the address.
    while (!query.empty() && (query.back() == '\n' || query.back() == '\r')) query.pop_back();
    break;
  }
  return query;
}

void OpenWebPage(const std::string& address) {
  ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOW);
}

void OpenVendorPage(const std::string& installedFolder, bool isUpgrade) {
  const std::string query = ReadHomePageQuery(JoinBoundedPath(installedFolder, names::kHomePageFile));
  if (isUpgrade || query.empty())
    OpenWebPage(std::string(ORVELLE_WEB_SERVER) + kInstalledPage);
  else
    OpenWebPage(std::string(ORVELLE_WEB_SERVER) + kNewInstallPage + query);
}

void StartApplication(const std::string& folder) {
  const std::string program = JoinBoundedPath(folder, names::kApplicationExe);
  if (program.empty()) return;
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                     &started)) {
    // Not waited for and not used: closed at once.
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
  }
}
