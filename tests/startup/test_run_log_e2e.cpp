// The administrator's log ("-log PATH") of the real setup.exe and uninstaller:
// what it names, how it ends, and that it never changes the run.
#include <windows.h>

#include <algorithm>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "common/names.h"
#include "framework/exit_status.h"
#include "gtest/gtest.h"
#include "support/installed_state.h"
#include "support/package_run.h"
#include "ui_driver.h"

namespace {

class RunLog : public testing::Test, protected PackageRun {
 protected:
  void SetUp() override { ASSERT_TRUE(CopyPackage()); }

  long Setup(const std::string& arguments) { return RunSetup("-install -s " + arguments); }

  // The log's lines, each checked for its form: time to the millisecond, the
  // process in brackets, CR LF.
  std::vector<std::string> Lines() const {
    static const std::regex form(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[\d+\] .+)");
    std::vector<std::string> lines;
    std::istringstream text(ReadFileBytes(log_));
    for (std::string line; std::getline(text, line);) {
      EXPECT_TRUE(!line.empty() && line.back() == '\r') << "no CR LF: " << line;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      EXPECT_TRUE(std::regex_match(line, form)) << line;
      lines.push_back(line.substr(line.find("] ") + 2));
    }
    return lines;
  }
  static bool Holds(const std::vector<std::string>& lines, const std::string& text) {
    for (const std::string& line : lines)
      if (line.find(text) != std::string::npos) return true;
    return false;
  }

  const std::string installed_ = DefaultInstalledFolder();
  const std::string log_ = root_ / "setup log.txt";
};

// An installation and its removal with "-wait" write one file: the
// destination, every installed file, the removed items, the uninstaller's and
// the copy's lines, each process ending with its status. A run without the
// switch writes nothing anywhere near.
TEST_F(RunLog, TellsTheInstallationAndTheWholeRemovalInOneFile) {
  ASSERT_EQ(Setup("-log \"" + log_ + "\""), exitstatus::kDone);
  std::vector<std::string> lines = Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_TRUE(Holds(lines, "destination: " + installed_));
  for (const std::string& file : TreeOf(installed_)) {
    if (file.back() != '\\') EXPECT_TRUE(Holds(lines, "copied " + installed_ + "\\" + file)) << file;
  }
  EXPECT_TRUE(Holds(lines, installed_ + "\\" + names::kUninstallLog));
  const std::string entry = std::string("wrote registry value HKLM\\") + names::kUninstallEntryKey + "\\";
  EXPECT_TRUE(Holds(lines, entry + "QuietUninstallString = \"" + installed_ + "\\OrvUnInst.exe\" -s -wait"));
  EXPECT_TRUE(Holds(lines, entry + "NoRepair = 1"));
  EXPECT_TRUE(Holds(lines, entry + "EstimatedSize = "));
  EXPECT_EQ(lines.back(), "exit status 0");
  const std::size_t installation = lines.size();

  ASSERT_EQ(RunProgram(UninstallerIn(installed_), "-s -wait -log \"" + log_ + "\""), exitstatus::kDone);
  WaitForTemporaryCopies(20000);  // the copy's last lines come after the uninstaller has ended
  lines = Lines();
  ASSERT_GT(lines.size(), installation);
  EXPECT_EQ(lines[installation], "mode: uninstall");
  EXPECT_TRUE(Holds(lines, "mode: self-removal copy"));
  EXPECT_TRUE(Holds(lines, "removed file " + installed_ + "\\" + names::kApplicationExe));
  EXPECT_TRUE(Holds(lines, "removed registry key HKLM\\" + std::string(names::kProductKey)));
  EXPECT_EQ(std::count(lines.begin() + static_cast<std::ptrdiff_t>(installation), lines.end(), "exit status 0"), 2)
      << "the uninstaller and its copy";
  EXPECT_EQ(lines.back(), "exit status 0");

  const std::vector<std::string> before = TreeOf(root_.Path());
  ASSERT_EQ(Setup(""), exitstatus::kDone);
  EXPECT_EQ(TreeOf(root_.Path()), before) << "a run without the switch wrote a file";
}

// A file that cannot be installed (a folder holds its place) is named with
// the system's error number, and the run ends with 1603.
TEST_F(RunLog, NamesTheFileThatCouldNotBeInstalled) {
  const std::string blocked = installed_ + "\\" + names::kReadmeFile;
  ASSERT_TRUE(MakeFolders(blocked));
  ASSERT_EQ(Setup("-log \"" + log_ + "\""), exitstatus::kFailed);
  const std::vector<std::string> lines = Lines();
  const std::string failed = "FAILED install " + blocked + " (error ";
  const auto line = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(failed, 0) == 0; });
  ASSERT_NE(line, lines.end()) << ReadFileBytes(log_);
  EXPECT_TRUE(std::regex_match(line->substr(failed.size()), std::regex(R"([1-9]\d*\))"))) << *line;
  EXPECT_EQ(lines.back(), "exit status 1603");
}

// The pair goes before any other rule: a log path "-s" does not make the run
// silent (the wizard comes, the log goes to a file named "-s"); a path that
// names a folder is passed over and the run goes on as without it.
TEST_F(RunLog, NeverChangesTheRun) {
  {
    StartedProcess wizard = StartSetup("-install -log -s");
    HWND frame = ui::WaitForDialog(wizard.id, 15000);
    ASSERT_NE(frame, nullptr) << "the path -s made the run silent";
    ui::Press(frame, IDCANCEL);
    HWND box = ui::WaitForMessageBox(wizard.id, 15000);
    ASSERT_NE(box, nullptr);
    ui::Press(box, IDYES);
    EXPECT_EQ(WaitForExit(wizard, kProgramRunWait), exitstatus::kUserCancelled);
    EXPECT_NE(ReadFileBytes(root_ / "-s").find("exit status 1602"), std::string::npos);
  }
  const std::string folder = root_ / "logs";
  ASSERT_TRUE(MakeFolders(folder));
  EXPECT_EQ(Setup("-log \"" + folder + "\""), exitstatus::kDone);
  EXPECT_TRUE(TreeOf(folder).empty());
  EXPECT_TRUE(PathExists(installed_ + "\\" + names::kApplicationExe));
}

}  // namespace
