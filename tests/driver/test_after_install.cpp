// The end of a setup: the query of the package's internet shortcut and the
// start of the installed application, with programs planted where an
// unquoted command line would find them.
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

TEST(HomePageQueryTest, QueryOfTheFirstHttpUrlLine) {
  struct Case {
    const char* name;
    std::string content;
    const char* expected;
  };
  const Case cases[] = {
      {"CR LF line end removed", "[InternetShortcut]\r\nURL=http://h/p?a=1&b=2\r\n", "?a=1&b=2"},
      {"LF line end removed", "URL=http://h/p?a=1&b=2\n", "?a=1&b=2"},
      {"no line end", "URL=http://h/p?a=1", "?a=1"},
      {"from the first ?", "URL=http://h/p?a=1?b=2\r\n", "?a=1?b=2"},
      {"no ?", "URL=http://h/p\r\n", ""},
      {"the first line decides", "URL=http://h/p\r\nURL=http://h/p?late=1\r\n", ""},
      {"prefix case", "url=http://h/p?a=1\r\n", ""},
      {"other scheme skipped", "URL=https://h/p?s=1\r\nURL=http://h/p?a=1\r\n", "?a=1"},
      {"blank before prefix", " URL=http://h/p?a=1\r\n", ""},
      {"empty file", "", ""},
  };
  TestFolder folder;
  const std::string path = folder / "HomePage.url";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(WriteFileBytes(path, c.content));
    EXPECT_EQ(ReadHomePageQuery(path), c.expected);
  }
  EXPECT_EQ(ReadHomePageQuery(folder / "missing.url"), "");
  EXPECT_EQ(ReadHomePageQuery(""), "");
}

TEST(HomePageQueryTest, LineReadInPiecesOf259Bytes) {
  TestFolder folder;
  const std::string path = folder / "HomePage.url";
  // The "?" lies beyond the first piece: the piece holding it does not begin
  // with the prefix.
  const std::string longPath(300, 'p');
  ASSERT_TRUE(WriteFileBytes(path, "URL=http://h/" + longPath + "?a=1\r\n"));
  EXPECT_EQ(ReadHomePageQuery(path), "");
  // A query cut by the end of the piece is taken as far as it was read.
  const std::string longQuery = "?" + std::string(300, 'q');
  ASSERT_TRUE(WriteFileBytes(path, "URL=http://h/" + longQuery + "\r\n"));
  EXPECT_EQ(ReadHomePageQuery(path), longQuery.substr(0, 259 - 13));
}

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
