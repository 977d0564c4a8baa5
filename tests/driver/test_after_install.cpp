// The end of a setup: the start of the installed application, with programs
// planted where an unquoted command line would find them.
#include <windows.h>

#include <string>
#include <vector>

#include "driver/after_install.h"
#include "driver/install_driver.h"
#include "driver/install_options.h"
#include "driver_fixture.h"
#include "gtest/gtest.h"
#include "support/message_box_script.h"
#include "support/test_folders.h"

namespace {

// A destination under a folder with blanks, with programs planted where
// Windows looks first for an unquoted "...\Program Files\Orvelle 6\OrvPix6.exe".
class RunAfterTest : public testing::Test {
 protected:
  RunAfterTest()
      : destination_(root_ / "Program Files\\Orvelle 6"),
        application_(destination_, "OrvPix6.exe"),
        plantedProgram_(root_.Path(), "Program.exe"),
        plantedOrvelle_(root_ / "Program Files", "Orvelle.exe") {}
  void SetUp() override { InstallOptions = InstallOptionsRecord{}; }

  TestFolder root_;
  std::string destination_;
  Recorder application_;
  Recorder plantedProgram_;
  Recorder plantedOrvelle_;
};

TEST_F(RunAfterTest, StartsTheApplicationItselfFromAFolderWithBlanks) {
  StartApplication(destination_);
  const std::vector<RecordedStart> starts = application_.WaitForStarts(1);
  ASSERT_EQ(starts.size(), 1u) << "the application was not started";
  EXPECT_EQ(starts[0].program, destination_ + "\\OrvPix6.exe");
  EXPECT_EQ(starts[0].folder, destination_) << "started in the installed folder";
  EXPECT_TRUE(starts[0].args.empty());
  EXPECT_TRUE(plantedProgram_.StartsSoFar().empty()) << "a planted Program.exe ran";
  EXPECT_TRUE(plantedOrvelle_.StartsSoFar().empty()) << "a planted Orvelle.exe ran";
}

int g_installs = 0;
void CountInstall() { ++g_installs; }
INT_PTR FinishWizard() { return IDOK; }
void NoExit(int) { ADD_FAILURE() << "the package is complete"; }

TEST_F(RunAfterTest, DriverStartsTheApplicationWhenAsked) {
  const std::string package = root_ / "package";
  ASSERT_TRUE(MakePackage(package, "6.1.2.3"));
  Recorder browser(root_ / "browser", "browser.exe");
  ASSERT_TRUE(browser.RegisterAsWebBrowser());
  const InstallDriverHandovers handovers{&CountInstall, &FinishWizard, &NoExit};
  const std::vector<std::string> args{package + "\\setup.exe", "-instdir", destination_, "-runafter"};

  InstallOptions.silent = true;
  EXPECT_FALSE(RunInstallDriver(args, package + "\\setup.exe", handovers));
  std::vector<RecordedStart> starts = application_.WaitForStarts(1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].program, destination_ + "\\OrvPix6.exe");
  EXPECT_EQ(starts[0].folder, destination_);
  EXPECT_TRUE(plantedProgram_.StartsSoFar().empty());

  // With the wizard, "-runafter" counts only as the check box's state when
  // the user finishes; this stand-in wizard leaves it as it was.
  for (bool runAfter : {false, true}) {
    SCOPED_TRACE(runAfter ? "checked" : "unchecked");
    application_.Clear();
    InstallOptions = InstallOptionsRecord{};
    std::vector<std::string> wizardArgs{package + "\\setup.exe", "-instdir", destination_};
    if (runAfter) wizardArgs.push_back("-runafter");
    EXPECT_FALSE(RunInstallDriver(wizardArgs, package + "\\setup.exe", handovers));
    if (runAfter) application_.WaitForStarts(1);
    EXPECT_EQ(application_.StartsSoFar().size(), runAfter ? 1u : 0u);
  }
  SetCurrentDirectoryA(ProgramFolder().c_str());
}

}  // namespace
