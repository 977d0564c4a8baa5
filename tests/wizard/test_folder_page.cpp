// The destination folder page in a window of the test, with a stand-in folder
// browser that records its call, runs the page's callback as the shell does and
// returns a chosen folder (the end-to-end tests drive the real one).
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "common/names.h"
#include "common/string_table.h"
#include "driver/install_options.h"
#include "gtest/gtest.h"
#include "page_host.h"
#include "resources/resource_ids.h"
#include "support/message_box_script.h"
#include "support/platform_override.h"
#include "support/test_folders.h"
#include "wizard/folder_dlg.h"

namespace {

constexpr char kTemplateNote[] =
    "Pour choisir un autre dossier, cliquez sur Parcourir et s\xe9lectionnez un autre dossier.";

// What the stand-in browser saw and what it answers.
struct BrowserStandIn {
  // Answer: a folder path; empty for Cancel; "::controls" for an item that is
  // no file-system folder.
  std::string choose;
  // Callback notification sent after BFFM_INITIALIZED, when not 0.
  UINT alsoNotify = 0;

  int calls = 0;
  BROWSEINFOA seen{};
  std::string title;
  bool destinationExisted = false;
  std::string selected;  // BFFM_SETSELECTIONA sent by the callback (as a path)
  int validateAnswer = -1;
  int otherAnswer = -1;
};
BrowserStandIn* g_stand_in = nullptr;

LRESULT CALLBACK BrowserWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == BFFM_SETSELECTIONA && g_stand_in) {
    g_stand_in->selected = wParam ? reinterpret_cast<const char*>(lParam) : "(not a path)";
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

PIDLIST_ABSOLUTE WINAPI StandInBrowser(BROWSEINFOA* info) {
  BrowserStandIn& b = *g_stand_in;
  ++b.calls;
  b.seen = *info;
  b.title = info->lpszTitle ? info->lpszTitle : "";
  b.destinationExisted = PathExists(InstallOptions.destinationFolder);

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &BrowserWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "OrvBrowserStandIn";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "OrvBrowserStandIn", "browser", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  info->lpfn(window, BFFM_INITIALIZED, 0, info->lParam);
  b.otherAnswer = info->lpfn(window, BFFM_SELCHANGED, 0, info->lParam);
  if (b.alsoNotify == BFFM_VALIDATEFAILEDA)
    b.validateAnswer = info->lpfn(window, BFFM_VALIDATEFAILEDA, reinterpret_cast<LPARAM>("?*nom"), info->lParam);
  DestroyWindow(window);

  if (b.choose.empty()) return nullptr;
  if (b.choose == "::controls") {
    PIDLIST_ABSOLUTE item = nullptr;
    SHGetSpecialFolderLocation(nullptr, CSIDL_CONTROLS, &item);
    return item;
  }
  PIDLIST_ABSOLUTE item = ILCreateFromPathA(b.choose.c_str());
  EXPECT_NE(item, nullptr) << "no item for " << b.choose;
  return item;
}

class FolderPage : public testing::Test {
 protected:
  void SetUp() override {
    g_stand_in = &browser_;
    InstallOptions.destinationFolder = root_ / "Destination";
    InstallOptions.isNewInstall = true;
    InstallOptions.allUsers = false;
  }
  void TearDown() override {
    page_.DestroyWindow();
    g_stand_in = nullptr;
  }
  void Open() { ASSERT_TRUE(page_.Create(host_.Window())); }
  void Browse() {
    SendMessageA(page_.Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_BROWSE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(page_.Item(IDC_BROWSE)));
  }
  std::string Shown() const { return WindowText(page_.Item(IDC_FOLDER_SHOWN)); }
  std::string Note() const { return WindowText(page_.Item(IDC_FOLDER_NOTE)); }
  // A folder of the test with the given files in it.
  std::string Folder(const std::string& name, std::initializer_list<const char*> files) {
    const std::string folder = root_ / name;
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* file : files) WriteFileBytes(folder + "\\" + file, "x");
    return folder;
  }

  PlatformOverride<FolderPageCalls> browser{FolderPagePlatform(), {&StandInBrowser}};
  BrowserStandIn browser_;
  TestFolder root_;
  PageHost host_;
  CFolderDlg page_;
};

TEST_F(FolderPage, ShowsTheDestinationInstallTypeAndNote) {
  const std::string withCopy = Folder("Earlier", {names::kApplicationExe});
  struct Case { const char* name; std::string destination; bool isNewInstall, allUsers; std::string note; };
  const Case cases[] = {
      {"earlier copy in the folder", withCopy, false, true, LoadStringResource(IDS_FOLDER_HOLDS_COPY)},
      {"earlier install elsewhere", root_ / "Elsewhere", false, false, kTemplateNote},
      {"new install over the file", withCopy, true, false, kTemplateNote},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InstallOptions.destinationFolder = c.destination;
    InstallOptions.isNewInstall = c.isNewInstall;
    InstallOptions.allUsers = c.allUsers;
    Open();
    EXPECT_EQ(Shown(), c.destination);
    EXPECT_EQ(Note(), c.note);
    EXPECT_EQ(IsDlgButtonChecked(page_.Hwnd(), IDC_FOR_ALL_USERS) == BST_CHECKED, c.allUsers);
    EXPECT_EQ(IsDlgButtonChecked(page_.Hwnd(), IDC_FOR_CURRENT_USER) == BST_CHECKED, !c.allUsers);
    page_.DestroyWindow();
  }
}

TEST_F(FolderPage, CloseStoresTheCheckedInstallType) {
  for (bool allUsers : {false, true}) {
    InstallOptions.allUsers = !allUsers;
    Open();
    SendMessageA(page_.Item(allUsers ? IDC_FOR_ALL_USERS : IDC_FOR_CURRENT_USER), BM_CLICK, 0, 0);
    EXPECT_TRUE(page_.Close());
    EXPECT_EQ(page_.Hwnd(), nullptr);
    EXPECT_EQ(InstallOptions.allUsers, allUsers);
  }
}

TEST_F(FolderPage, BrowserOpensOnTheDestinationItMakesForTheTime) {
  Open();
  Browse();
  ASSERT_EQ(browser_.calls, 1);
  EXPECT_EQ(browser_.seen.hwndOwner, page_.Hwnd());
  EXPECT_EQ(browser_.seen.pidlRoot, nullptr);
  EXPECT_NE(browser_.seen.pszDisplayName, nullptr);
  EXPECT_EQ(browser_.seen.ulFlags, 0x71u);
  EXPECT_EQ(browser_.title, LoadStringResource(IDS_BROWSE_TITLE));
  EXPECT_TRUE(browser_.destinationExisted);
  EXPECT_EQ(browser_.selected, root_ / "Destination");
  EXPECT_EQ(browser_.otherAnswer, 0);
  // Cancelled: the folder made for the browser is gone, nothing changed.
  EXPECT_FALSE(PathExists(root_ / "Destination"));
  EXPECT_EQ(InstallOptions.destinationFolder, root_ / "Destination");
  EXPECT_EQ(Shown(), root_ / "Destination");
}

TEST_F(FolderPage, OnlyTheLastLevelOfTheDestinationIsMade) {
  InstallOptions.destinationFolder = root_ / "Missing\\Destination";
  Open();
  Browse();
  EXPECT_FALSE(browser_.destinationExisted);
  EXPECT_FALSE(PathExists(root_ / "Missing"));
}

TEST_F(FolderPage, AnEmptyDestinationGoesEvenOnCancelAFullOneStays) {
  const std::string empty = Folder("Empty", {});
  const std::string full = Folder("Full", {"keep.txt"});
  for (const std::string& destination : {empty, full}) {
    InstallOptions.destinationFolder = destination;
    Open();
    Browse();
    page_.DestroyWindow();
  }
  EXPECT_FALSE(PathExists(empty));
  EXPECT_TRUE(PathExists(full + "\\keep.txt"));
}

TEST_F(FolderPage, ChosenFolderBecomesTheDestination) {
  InstallOptions.isNewInstall = false;
  struct Case { const char* name; std::string chosen, destination, note; bool chosenRemains; };
  const std::string program = Folder("Program Files", {"other.dll"});
  const std::string copy = Folder("Copy", {names::kApplicationExe, "other.dll"});
  const std::string empty = Folder("Empty", {});
  const Case cases[] = {
      {"folder in other use", program, program + "\\Orvelle 6", kTemplateNote, true},
      {"folder with the application", copy, copy, LoadStringResource(IDS_FOLDER_HOLDS_COPY), true},
      {"empty folder, removed", empty, empty, kTemplateNote, false},
      {"root of a drive", "C:\\", "C:\\Orvelle 6", kTemplateNote, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InstallOptions.destinationFolder = root_ / "Destination";
    browser_.choose = c.chosen;
    Open();
    Browse();
    EXPECT_EQ(InstallOptions.destinationFolder, c.destination);
    EXPECT_EQ(Shown(), c.destination);
    EXPECT_EQ(Note(), c.note);
    EXPECT_EQ(PathExists(c.chosen), c.chosenRemains);
    page_.DestroyWindow();
  }
}

TEST_F(FolderPage, OlderGenerationIsRefusedWithStringFourteen) {
  const std::string older[] = {Folder("Orvelle 4", {names::kGeneration4Exe}),
                               Folder("Orvelle 5", {names::kGeneration5Exe}),
                               Folder("Both", {names::kGeneration5Exe, names::kApplicationExe})};
  Open();
  for (const std::string& folder : older) {
    SCOPED_TRACE(folder);
    browser_.choose = folder;
    MessageBoxScript boxes({IDOK});
    Browse();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(IsBox(boxes.Shown()[0], LoadStringResource(IDS_OLDER_GENERATION), MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(InstallOptions.destinationFolder, root_ / "Destination");
    EXPECT_EQ(Shown(), root_ / "Destination");
  }
}

TEST_F(FolderPage, ChoicesThatNameNoUsableFolderChangeNothing) {
  // A deep folder in use: with the sub-folder's name the path would pass
  // the system limit, and a cut path would name another folder.
  std::string deep = root_.Path();
  while (deep.size() < 252) {
    deep += "\\" + std::string(deep.size() < 240 ? 10 : 252 - deep.size(), 'd');
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep.size();
  }
  ASSERT_TRUE(WriteFileBytes(deep + "\\data.bin", "x"));
  for (const std::string& choice : {std::string("::controls"), deep}) {
    SCOPED_TRACE(choice);
    browser_.choose = choice;
    Open();
    Browse();
    EXPECT_EQ(InstallOptions.destinationFolder, root_ / "Destination");
    EXPECT_EQ(Shown(), root_ / "Destination");
    page_.DestroyWindow();
  }
}

TEST_F(FolderPage, InvalidTypedNameKeepsTheBrowserOpenWithStringThirteen) {
  browser_.alsoNotify = BFFM_VALIDATEFAILEDA;
  Open();
  MessageBoxScript boxes({IDOK});
  Browse();
  EXPECT_EQ(browser_.validateAnswer, 1);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_TRUE(IsBox(boxes.Shown()[0], LoadStringResource(IDS_INVALID_FOLDER), MB_OK | MB_ICONEXCLAMATION));
  EXPECT_NE(boxes.Shown()[0].owner, nullptr) << "owned by the browser";
  EXPECT_NE(boxes.Shown()[0].owner, page_.Hwnd());
}

}  // namespace
