#include "driver/after_install.h"

#include <windows.h>
#include <shellapi.h>

#include "common/bounded_path.h"
#include "common/names.h"
#include "common/process_start.h"
#include "common/run_log.h"
#include "driver/home_page_url.h"

#include "vendor_config.h"

namespace {

constexpr char kNewInstallPage[] = "/ovkq/InstScript.asp";
constexpr char kInstalledPage[] = "/ovkq/installed.asp";

}  // namespace

void OpenWebPage(const std::string& address) {
  // Above 32: opened; the result is the system's error number otherwise.
  const auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOW));
  if (result > 32)
    RunLogEvent("opened web page", address);
  else
    RunLogFailure("open web page", address, static_cast<unsigned long>(result));
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
  // Not waited for: the handles close at once.
  LaunchProgram(program, CommandLineArgument(program), folder.c_str());
}
