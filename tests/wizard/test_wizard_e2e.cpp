// The wizard of the real setup.exe, from a copy of the sample package, driven
// through the UI driver page by page up to Finish; a screenshot of each state
// goes to the build's screenshots folder.
#include <windows.h>

#include <cstdio>

#include <string>
#include <vector>

#include "common/names.h"
#include "common/registry.h"
#include "common/string_table.h"
#include "driver_fixture.h"
#include "gtest/gtest.h"
#include "resources/resource_ids.h"
#include "support/package_run.h"
#include "ui_driver.h"
#include "wizard_session.h"

namespace {

constexpr char kFrameTitle[] = "Orvelle - Installation";
constexpr char kNextCaption[] = "&Suivant >";
constexpr char kCancelCaption[] = "Annuler";
constexpr char kAppWindowTitle[] = "Orvelle 6";
constexpr DWORD kInstallWait = 60000;

// One row of the frame's state table.
struct FrameRow {
  Page page;
  bool backShown;
  bool backEnabled;
  std::string next;
  bool nextEnabled;
  bool nextFocused;  // checked only when true
  std::string cancel;
  bool cancelEnabled;
  std::string title;
  bool pictureShown;
};

class WizardEndToEnd : public testing::Test, protected PackageRun {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyPackage());
    ASSERT_TRUE(browser_.RegisterAsWebBrowser());
  }

  // Starts the package's setup.exe in `currentFolder` (the package folder
  // unless given) and waits for the welcome page.
  void Start(const std::string& arguments = "", const std::string& currentFolder = "") {
    ASSERT_TRUE(wizard_.Start(SetupIn(package_), arguments, currentFolder.empty() ? package_ : currentFolder))
        << "the wizard did not appear";
  }

  void ExpectRow(const FrameRow& row) {
    SCOPED_TRACE("page " + std::to_string(static_cast<int>(row.page)));
    EXPECT_EQ(wizard_.Shown(), row.page);
    EXPECT_EQ(wizard_.FrameItemShown(IDC_BACK), row.backShown);
    if (row.backShown) EXPECT_EQ(wizard_.FrameItemEnabled(IDC_BACK), row.backEnabled);
    EXPECT_TRUE(wizard_.FrameItemShown(IDOK));
    EXPECT_EQ(wizard_.Caption(IDOK), row.next);
    EXPECT_EQ(wizard_.FrameItemEnabled(IDOK), row.nextEnabled);
    if (row.nextFocused) EXPECT_TRUE(wizard_.HasFocus(IDOK)) << "Next has the focus";
    EXPECT_EQ(wizard_.Caption(IDCANCEL), row.cancel);
    EXPECT_EQ(wizard_.FrameItemEnabled(IDCANCEL), row.cancelEnabled);
    EXPECT_EQ(wizard_.Title(), row.title);
    EXPECT_EQ(wizard_.FrameItemShown(IDC_PICTURE), row.pictureShown);
  }

  // The page sits 4 pixels (at 96 DPI, in proportion at others) right of
  // the picture, at its top. At any DPI (the demo walks at 144 and 192) the
  // picture, 120 by 260 pixels at 96, grows in proportion as far as the
  // layout has room, and neither the picture nor the page runs into the
  // buttons or past the frame.
  void ExpectPageBesidePicture() {
    const RECT picture = wizard_.PicturePlace();
    const RECT page = wizard_.PagePlace();
    const int dpi = static_cast<int>(DisplayDpi());
    EXPECT_EQ(page.left, picture.right + MulDiv(4, dpi, 96));
    EXPECT_EQ(page.top, picture.top);
    RECT client{};
    ASSERT_TRUE(GetClientRect(GetDlgItem(wizard_.Frame(), IDC_PICTURE), &client));
    if (dpi == 96) EXPECT_EQ(client.right, 120);
    if (dpi > 96) EXPECT_GT(client.right, 120) << "the picture grows with the display";
    EXPECT_LE(client.right, MulDiv(120, dpi, 96));
    EXPECT_NEAR(client.bottom, MulDiv(client.right, 260, 120), 1) << "in proportion";
    RECT frame{};
    ASSERT_TRUE(GetClientRect(wizard_.Frame(), &frame));
    RECT back{};
    GetWindowRect(GetDlgItem(wizard_.Frame(), IDC_BACK), &back);
    MapWindowPoints(nullptr, wizard_.Frame(), reinterpret_cast<POINT*>(&back), 2);
    EXPECT_LE(picture.bottom, back.top);
    EXPECT_LE(page.bottom, back.top);
    EXPECT_LE(page.right, frame.right);
  }

  // Answers the message box on show, which must show `text` with `buttons`.
  void Answer(const std::string& text, const std::vector<int>& buttons, int answer) {
    HWND box = wizard_.Box();
    ASSERT_NE(box, nullptr) << "no message box for: " << text;
    EXPECT_EQ(ui::Text(box), kFrameTitle);
    EXPECT_EQ(GetWindow(box, GW_OWNER), wizard_.Frame()) << "the wizard owns its boxes";
    EXPECT_EQ(ui::MessageBoxText(box), text);
    EXPECT_EQ(ui::ButtonIds(box), buttons);
    ui::Press(box, answer);
    EXPECT_TRUE(ui::WaitForClose(box, 5000));
  }

  // Cancel asks string 11 with No as the default button.
  void AnswerCancelQuestion(int answer) {
    HWND box = wizard_.Box();
    ASSERT_NE(box, nullptr) << "Cancel asked nothing";
    const LONG noStyle = GetWindowLongA(GetDlgItem(box, IDNO), GWL_STYLE);
    EXPECT_EQ(noStyle & BS_TYPEMASK, BS_DEFPUSHBUTTON) << "No is the default button";
    EXPECT_EQ(GetDlgCtrlID(ui::FocusOf(box)), IDNO);
    Answer(LoadStringResource(IDS_CONFIRM_CANCEL), {IDYES, IDNO}, answer);
  }

  // Next page by page, from the page after `from` up to `last`.
  bool NextUpTo(Page last, Page from = Page::Welcome) {
    for (int page = static_cast<int>(from) + 1; page <= static_cast<int>(last); ++page)
      if (!wizard_.Next(static_cast<Page>(page))) return false;
    return true;
  }

  // The destination shown by the folder page.
  std::string Destination() {
    EXPECT_TRUE(wizard_.WaitFor(Page::Folder));
    return wizard_.PageText(IDC_FOLDER_SHOWN);
  }

  // Runs the installation from the ready page and waits for its end.
  void Install() {
    ASSERT_EQ(wizard_.Shown(), Page::Ready);
    wizard_.ClickFrame(IDOK);
    ASSERT_TRUE(ui::WaitUntil([&] { return wizard_.Caption(IDOK) == "&Terminer >"; }, kInstallWait))
        << "the installation did not end";
  }
  // From the group page: Next, the installation, and Finish, which ends the run with 0.
  void InstallAndFinish() {
    ASSERT_TRUE(wizard_.Next(Page::Ready));
    Install();
    wizard_.ClickFrame(IDOK);
    EXPECT_EQ(wizard_.Finish(), 0);
  }
  // Cancels the browser on show, which must close.
  void CancelBrowser(HWND browser) {
    ui::Press(browser, IDCANCEL);
    ASSERT_TRUE(ui::WaitForClose(browser, 5000));
  }

  // No message box appears within a second.
  void ExpectNoBox() { EXPECT_EQ(wizard_.Box(1000), nullptr) << "a message box appeared"; }

  Recorder browser_{root_ / "browser", "browser.exe"};
  WizardSession wizard_;
};

TEST_F(WizardEndToEnd, StateTableRowByRowThroughInstallationToFinish) {
  // "-runafter" asks for a start; the unticked check box wins.
  Start("-runafter");
  const std::string saved = kFrameTitle;
  ExpectRow({Page::Welcome, false, true, kNextCaption, true, true, kCancelCaption, true, saved, true});
  ExpectPageBesidePicture();
  wizard_.Screenshot("wizard-0-welcome");

  ASSERT_TRUE(wizard_.Next(Page::Agreement));
  ExpectRow({Page::Agreement, true, true, "Oui", true, false, "Non", true, LoadStringResource(IDS_AGREEMENT_TITLE),
             false});
  const RECT agreement = wizard_.PagePlace();
  EXPECT_EQ(agreement.left, MulDiv(4, static_cast<int>(DisplayDpi()), 96));
  EXPECT_EQ(agreement.top, MulDiv(4, static_cast<int>(DisplayDpi()), 96));
  EXPECT_LE(agreement.left, wizard_.PicturePlace().left) << "covers the picture's place";
  wizard_.Screenshot("wizard-1-agreement");

  ASSERT_TRUE(wizard_.Next(Page::Folder));
  ExpectRow({Page::Folder, true, true, kNextCaption, true, true, kCancelCaption, true, saved, true});
  ExpectPageBesidePicture();
  const std::string destination = wizard_.PageText(IDC_FOLDER_SHOWN);
  EXPECT_EQ(destination.substr(destination.size() - 10), "\\Orvelle 6");
  EXPECT_TRUE(wizard_.PageItemChecked(IDC_FOR_CURRENT_USER));
  wizard_.Screenshot("wizard-2-folder");

  ASSERT_TRUE(wizard_.Next(Page::Group));
  ExpectRow({Page::Group, true, true, kNextCaption, true, true, kCancelCaption, true, saved, true});
  ExpectPageBesidePicture();
  EXPECT_EQ(wizard_.PageText(IDC_GROUP_NAME), "Orvelle 6");
  EXPECT_FALSE(wizard_.PageItemChecked(IDC_AUTOSTART));
  EXPECT_TRUE(wizard_.PageItemChecked(IDC_DESKTOP_ICON));
  wizard_.Screenshot("wizard-3-group");

  ASSERT_TRUE(wizard_.Next(Page::Ready));
  ExpectRow({Page::Ready, true, true, kNextCaption, true, true, kCancelCaption, true, saved, true});
  ExpectPageBesidePicture();
  EXPECT_TRUE(wizard_.PageItemShown(IDC_READY_TEXT));
  EXPECT_TRUE(wizard_.PageItemShown(IDC_READY_HINT));
  EXPECT_FALSE(wizard_.PageItemShown(IDC_INSTALLING));
  EXPECT_FALSE(wizard_.PageItemShown(IDC_RUN_AFTER));
  wizard_.Screenshot("wizard-4-ready");

  Install();
  ExpectRow({Page::Ready, true, false, "&Terminer >", true, true, kCancelCaption, false, saved, true});
  EXPECT_EQ(wizard_.PageText(IDC_READY_TEXT), LoadStringResource(IDS_INSTALL_SUCCEEDED));
  EXPECT_EQ(wizard_.PageText(IDC_READY_HINT), LoadStringResource(IDS_PRESS_FINISH));
  EXPECT_FALSE(wizard_.PageItemShown(IDC_INSTALLING));
  EXPECT_TRUE(wizard_.PageItemShown(IDC_RUN_AFTER));
  EXPECT_FALSE(wizard_.PageItemChecked(IDC_RUN_AFTER));
  EXPECT_TRUE(PathExists(destination + "\\" + names::kApplicationExe)) << "Finish follows a real installation";
  wizard_.Screenshot("wizard-5-installed");

  // Back, Cancel, Esc and the close box can no longer leave or go back.
  wizard_.ClickFrame(IDC_BACK);
  ui::Press(wizard_.Frame(), IDC_BACK);
  ui::Press(wizard_.Frame(), IDCANCEL);
  wizard_.Key(VK_ESCAPE);
  PostMessageA(wizard_.Frame(), WM_SYSCOMMAND, SC_CLOSE, 0);
  ExpectNoBox();
  EXPECT_EQ(wizard_.Shown(), Page::Ready);
  EXPECT_EQ(wizard_.Caption(IDOK), "&Terminer >");

  wizard_.ClickFrame(IDOK);
  EXPECT_EQ(wizard_.Finish(), 0);
  // The driver went on as after a completed wizard: the vendor's page of a
  // new installation, and no start of the application.
  EXPECT_EQ(browser_.WaitForStarts(1).size(), 1u);
  Sleep(1500);
  EXPECT_EQ(FindWindowA(nullptr, kAppWindowTitle), nullptr) << "started although the box was not ticked";
}

TEST_F(WizardEndToEnd, TickedRunAfterStartsTheApplicationAtFinish) {
  Start();
  ASSERT_TRUE(NextUpTo(Page::Folder));
  const std::string destination = Destination();
  ASSERT_TRUE(NextUpTo(Page::Ready, Page::Folder));
  Install();
  wizard_.ClickPage(IDC_RUN_AFTER);
  ASSERT_TRUE(ui::WaitUntil([&] { return wizard_.PageItemChecked(IDC_RUN_AFTER); }, 5000));
  wizard_.ClickFrame(IDOK);
  EXPECT_EQ(wizard_.Finish(), 0);
  HWND app = nullptr;
  EXPECT_TRUE(ui::WaitUntil([&] { return (app = FindWindowA(nullptr, kAppWindowTitle)) != nullptr; }, 15000))
      << "the application was not started";
  if (app) PostMessageA(app, WM_CLOSE, 1001, 0);
}

TEST_F(WizardEndToEnd, EnterActsAsNextOnEveryPageAndAcceptsTheAgreement) {
  Start();
  const Page order[] = {Page::Agreement, Page::Folder, Page::Group, Page::Ready};
  for (Page page : order) {
    wizard_.Key(VK_RETURN);
    ASSERT_TRUE(wizard_.WaitFor(page)) << "Enter did not lead to page " << static_cast<int>(page);
  }
  EXPECT_TRUE(wizard_.HasFocus(IDOK));
  // Esc is Cancel: confirmed, nothing is installed and no page is opened.
  wizard_.Key(VK_ESCAPE);
  AnswerCancelQuestion(IDYES);
  EXPECT_EQ(wizard_.Finish(), 1602) << "a cancelled wizard is the user's cancellation";
  EXPECT_TRUE(ReadRegistryString(HKEY_LOCAL_MACHINE, names::kProductKey, names::kPathValue).empty());
  EXPECT_TRUE(browser_.StartsSoFar().empty());
}

TEST_F(WizardEndToEnd, CancelAsksStringElevenFromEveryWayOut) {
  // Asked for a folder that does not exist yet: shown, and made only by the
  // installation, so the cancel leaves nothing.
  const std::string asked = root_ / "Nouveau\\Orvelle 6";
  Start("-instdir \"" + asked + "\"");
  wizard_.ClickFrame(IDCANCEL);
  AnswerCancelQuestion(IDNO);
  EXPECT_EQ(wizard_.Shown(), Page::Welcome) << "No keeps the wizard";
  EXPECT_EQ(wizard_.Caption(IDCANCEL), kCancelCaption);

  // Declining the agreement is the same question.
  ASSERT_TRUE(wizard_.Next(Page::Agreement));
  wizard_.ClickFrame(IDCANCEL);
  wizard_.Screenshot("wizard-cancel-question");
  AnswerCancelQuestion(IDNO);
  EXPECT_EQ(wizard_.Shown(), Page::Agreement);

  ASSERT_TRUE(wizard_.Next(Page::Folder));
  const std::string destination = Destination();
  EXPECT_EQ(destination, asked);
  PostMessageA(wizard_.Frame(), WM_SYSCOMMAND, SC_CLOSE, 0);
  AnswerCancelQuestion(IDYES);
  EXPECT_EQ(wizard_.Finish(), 1602) << "a cancelled wizard is the user's cancellation";
  EXPECT_FALSE(PathExists(root_ / "Nouveau"));
  EXPECT_TRUE(browser_.StartsSoFar().empty()) << "no page after a cancelled wizard";
}

TEST_F(WizardEndToEnd, AgreementPageTitleAndFreshReadingOnEveryVisit) {
  Start();
  const std::string file = ReadFileBytes(package_ + "\\" + names::kAgreementFile);
  ASSERT_FALSE(file.empty());
  ASSERT_TRUE(wizard_.Next(Page::Agreement));
  HWND box = GetDlgItem(wizard_.PageWindow(), IDC_AGREEMENT_TEXT);
  EXPECT_EQ(ui::Text(box), file);

  // Scrolled down with everything selected, then Back: the title comes back.
  PostMessageA(box, EM_SETSEL, 0, -1);
  PostMessageA(box, WM_VSCROLL, SB_BOTTOM, 0);
  wizard_.ClickFrame(IDC_BACK);
  ASSERT_TRUE(wizard_.WaitFor(Page::Welcome));
  EXPECT_TRUE(wizard_.HasFocus(IDOK)) << "not left on the hidden Back";
  EXPECT_EQ(wizard_.Title(), kFrameTitle);
  EXPECT_EQ(wizard_.Caption(IDOK), kNextCaption);
  EXPECT_FALSE(wizard_.FrameItemShown(IDC_BACK));

  ASSERT_TRUE(NextUpTo(Page::Folder));
  EXPECT_EQ(wizard_.Title(), kFrameTitle);

  // The file changes meanwhile; Back reads it again and shows it from the top.
  std::string longer;
  for (int line = 1; line <= 60; ++line) longer += "Nouvel article " + std::to_string(line) + "\r\n";
  ASSERT_TRUE(WriteFileBytes(package_ + "\\" + names::kAgreementFile, longer));
  wizard_.ClickFrame(IDC_BACK);
  ASSERT_TRUE(wizard_.WaitFor(Page::Agreement));
  EXPECT_EQ(wizard_.Title(), LoadStringResource(IDS_AGREEMENT_TITLE));
  box = GetDlgItem(wizard_.PageWindow(), IDC_AGREEMENT_TEXT);
  EXPECT_EQ(ui::Text(box), longer);
  DWORD_PTR selection = 1, firstLine = 1;
  ui::SendToProgram(box, EM_GETSEL, 0, 0, &selection);
  ui::SendToProgram(box, EM_GETFIRSTVISIBLELINE, 0, 0, &firstLine);
  EXPECT_EQ(selection, 0u) << "nothing selected, caret at the start";
  EXPECT_EQ(firstLine, 0u) << "shown from the top";
}

TEST_F(WizardEndToEnd, AgreementFileMissingOrWithAZeroByte) {
  struct Case { const char* name; std::string bytes /* no file when empty */; std::string shown; };
  const Case cases[] = {{"missing", "", ""}, {"zero byte", std::string("Accord\0cach\xe9", 12), "Accord"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The file is read from the current folder, not the package's.
    const std::string current = root_ / c.name;
    ASSERT_TRUE(MakeFolders(current));
    if (!c.bytes.empty()) ASSERT_TRUE(WriteFileBytes(current + "\\" + names::kAgreementFile, c.bytes));
    Start("", current);
    ASSERT_TRUE(wizard_.Next(Page::Agreement));
    EXPECT_EQ(wizard_.PageText(IDC_AGREEMENT_TEXT), c.shown);
    ASSERT_TRUE(wizard_.Next(Page::Folder)) << "Oui accepts whatever was shown";
    wizard_.ClickFrame(IDCANCEL);
    AnswerCancelQuestion(IDYES);
    EXPECT_EQ(wizard_.Finish(), 1602);
  }
}

TEST_F(WizardEndToEnd, WelcomePageShowsTheBetaOfThePackage) {
  ASSERT_TRUE(PlaceStandIn("6.70.1.3", package_));
  Start();
  const std::string line = wizard_.PageText(IDC_VERSION_LINE);
  EXPECT_EQ(line.substr(0, line.find('\n')), "Orvelle ver. 6.70.01 Beta 3");
}

TEST_F(WizardEndToEnd, GroupNameIsCheckedForNextAndBackAndKeptTrimmed) {
  Start();
  ASSERT_TRUE(NextUpTo(Page::Group));
  ASSERT_TRUE(wizard_.Type(IDC_GROUP_NAME, "  ab  "));
  wizard_.ClickFrame(IDOK);
  wizard_.Screenshot("wizard-3-group-refused");
  Answer(LoadStringResource(IDS_GROUP_TOO_SHORT), {IDOK}, IDOK);
  EXPECT_EQ(wizard_.Shown(), Page::Group);
  EXPECT_EQ(wizard_.PageText(IDC_GROUP_NAME), "  ab  ") << "the typed text stays";

  wizard_.ClickFrame(IDC_BACK);
  Answer(LoadStringResource(IDS_GROUP_TOO_SHORT), {IDOK}, IDOK);
  EXPECT_EQ(wizard_.Shown(), Page::Group) << "Back is refused too";

  ASSERT_TRUE(wizard_.Type(IDC_GROUP_NAME, "STARTUP"));
  wizard_.ClickFrame(IDOK);
  Answer(LoadStringResource(IDS_GROUP_IS_STARTUP), {IDOK}, IDOK);
  EXPECT_EQ(wizard_.Shown(), Page::Group);

  // Valid now: Back leaves, and the page shows the trimmed name on return.
  ASSERT_TRUE(wizard_.Type(IDC_GROUP_NAME, "  Mes outils \t"));
  wizard_.ClickFrame(IDC_BACK);
  ASSERT_TRUE(wizard_.WaitFor(Page::Folder));
  EXPECT_TRUE(wizard_.HasFocus(IDOK)) << "a page shown gives Next the focus";
  ASSERT_TRUE(wizard_.Next(Page::Group));
  EXPECT_EQ(wizard_.PageText(IDC_GROUP_NAME), "Mes outils");
  InstallAndFinish();
  const std::string programs =
      ReadRegistryString(HKEY_CURRENT_USER, names::kShellFoldersKey, names::kProgramsValue);
  EXPECT_TRUE(PathExists(programs + "\\Mes outils")) << "the group of the trimmed name";
}

TEST_F(WizardEndToEnd, InstallTypeIsStoredByBackAndInstallsForAllUsers) {
  Start();
  ASSERT_TRUE(NextUpTo(Page::Folder));
  wizard_.ClickPage(IDC_FOR_ALL_USERS);
  ASSERT_TRUE(ui::WaitUntil([&] { return wizard_.PageItemChecked(IDC_FOR_ALL_USERS); }, 5000));
  wizard_.ClickFrame(IDC_BACK);
  ASSERT_TRUE(wizard_.WaitFor(Page::Agreement));
  ASSERT_TRUE(wizard_.Next(Page::Folder));
  EXPECT_TRUE(wizard_.PageItemChecked(IDC_FOR_ALL_USERS));
  EXPECT_FALSE(wizard_.PageItemChecked(IDC_FOR_CURRENT_USER));
  ASSERT_TRUE(wizard_.Next(Page::Group));
  InstallAndFinish();
  EXPECT_EQ(ReadRegistryString(HKEY_LOCAL_MACHINE, names::kProductKey, names::kAllUsersValue), names::kAllUsersYes);
}

TEST_F(WizardEndToEnd, BrowseMakesTheDestinationForTheBrowserAndRemovesIt) {
  Start();
  ASSERT_TRUE(NextUpTo(Page::Folder));
  const std::string destination = Destination();
  ASSERT_FALSE(PathExists(destination));

  wizard_.ClickPage(IDC_BROWSE);
  HWND browser = wizard_.Browser();
  ASSERT_NE(browser, nullptr) << "no folder browser";
  EXPECT_TRUE(PathExists(destination)) << "made for the browser";
  // The program asks the browser to select the destination when it opens;
  // Wine's browser sometimes keeps its first item ("Corbeille") while it is
  // still filling its tree, so a miss is reported, not failed.
  if (!ui::WaitUntil([&] { return ui::ItemText(browser, kBrowserFolderName) == "Orvelle 6"; }, 15000))
    std::printf("note: the browser shows %s, not the destination\n", ui::ItemText(browser, kBrowserFolderName).c_str());
  EXPECT_NE(ui::ItemText(browser, 14146).find(LoadStringResource(IDS_BROWSE_TITLE)), std::string::npos);
  wizard_.Screenshot("wizard-2-folder-browser", browser);
  ASSERT_NO_FATAL_FAILURE(CancelBrowser(browser));
  EXPECT_TRUE(ui::WaitUntil([&] { return !PathExists(destination); }, 5000)) << "removed again";
  EXPECT_EQ(wizard_.PageText(IDC_FOLDER_SHOWN), destination);
}

TEST_F(WizardEndToEnd, BrowseRemovesAnEmptyDestinationThatExistedEvenOnCancel) {
  const std::string empty = root_ / "Vide";
  ASSERT_TRUE(MakeFolders(empty));
  Start("-instdir \"" + empty + "\"");
  ASSERT_TRUE(NextUpTo(Page::Folder));
  ASSERT_EQ(Destination(), empty);
  wizard_.ClickPage(IDC_BROWSE);
  HWND browser = wizard_.Browser();
  ASSERT_NE(browser, nullptr);
  ASSERT_NO_FATAL_FAILURE(CancelBrowser(browser));
  EXPECT_TRUE(ui::WaitUntil([&] { return !PathExists(empty); }, 5000));
}

TEST_F(WizardEndToEnd, BrowsingToProgramFilesGivesItsOrvelleSubFolder) {
  Start();
  ASSERT_TRUE(NextUpTo(Page::Folder));
  const std::string destination = Destination();  // ...\Program Files (x86)\Orvelle 6
  HWND browser = wizard_.OpenBrowserOn("Orvelle 6");
  ASSERT_NE(browser, nullptr) << "no browser on the destination";
  // In the tree: up to the parent, then to the folder listed above it.
  HWND tree = GetDlgItem(browser, kBrowserTree);
  PostMessageA(tree, WM_KEYDOWN, VK_LEFT, 0);
  PostMessageA(tree, WM_KEYDOWN, VK_UP, 0);
  ASSERT_TRUE(ui::WaitUntil([&] { return ui::ItemText(browser, kBrowserFolderName) == "Program Files"; }, 5000))
      << ui::ItemText(browser, kBrowserFolderName);
  ui::Press(browser, IDOK);
  ASSERT_TRUE(ui::WaitForClose(browser, 5000));
  EXPECT_TRUE(ui::WaitUntil(
      [&] { return wizard_.PageText(IDC_FOLDER_SHOWN) == "C:\\Program Files\\Orvelle 6"; }, 5000))
      << wizard_.PageText(IDC_FOLDER_SHOWN);
  EXPECT_FALSE(PathExists(destination));
  EXPECT_TRUE(PathExists("C:\\Program Files")) << "a folder in use is never removed";
}

TEST_F(WizardEndToEnd, BrowsedFolderOfAnOlderGenerationIsRefused) {
  // Wine's browser selects no folder under the temporary folder: at the drive's root.
  const std::string older = "C:\\Orvelle 5";
  ASSERT_TRUE(MakeFolders(older));
  ASSERT_TRUE(WriteFileBytes(older + "\\" + names::kGeneration5Exe, "stand-in"));
  Start("-instdir \"" + older + "\"");
  ASSERT_TRUE(NextUpTo(Page::Folder));
  ASSERT_EQ(Destination(), older);
  // The browser opens on the destination; OK takes it.
  HWND browser = wizard_.OpenBrowserOn("Orvelle 5");
  ASSERT_NE(browser, nullptr) << "no browser on the destination";
  ui::Press(browser, IDOK);
  Answer(LoadStringResource(IDS_OLDER_GENERATION), {IDOK}, IDOK);
  EXPECT_EQ(wizard_.PageText(IDC_FOLDER_SHOWN), older);
  EXPECT_TRUE(PathExists(older + "\\" + names::kGeneration5Exe));
}

TEST_F(WizardEndToEnd, FolderPageOverAnEarlierInstallationSaysSo) {
  const std::string installed = root_ / "Apps\\Orvelle 6";
  ASSERT_TRUE(MakeFolders(installed));
  ASSERT_TRUE(PlaceStandIn("6.1.0.0", installed));
  RegisterEarlierInstallation(installed, names::kAllUsersYes);
  Start();  // an upgrade: no question
  ASSERT_TRUE(NextUpTo(Page::Folder));
  EXPECT_EQ(Destination(), installed);
  EXPECT_EQ(wizard_.PageText(IDC_FOLDER_NOTE), LoadStringResource(IDS_FOLDER_HOLDS_COPY));
  EXPECT_TRUE(wizard_.PageItemChecked(IDC_FOR_ALL_USERS)) << "the earlier installation's choice";
}

}  // namespace
