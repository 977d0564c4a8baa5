// Shell folders and shortcut files, read back through the shell link itself,
// and their "Shell Link: " lines in the uninstall log.
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "common/names.h"
#include "common/registry.h"
#include "common/shell_folders.h"
#include "engine/shortcuts.h"
#include "engine_fixture.h"
#include "support/message_box_script.h"
#include "support/platform_override.h"

namespace {

class Shortcuts : public EngineTest {
 protected:
  Shortcuts() {
    CreateDirectoryA(InstallOptions.destinationFolder.c_str(), nullptr);
    CreateDirectoryA(links_.c_str(), nullptr);
  }
  std::string Link(const std::string& name) const { return links_ + "\\" + name; }
  std::vector<std::string> LogLines() const { return ReadLines(Installed("OrvUnInst.log")); }

  const std::string links_ = root_ / "Links";
};

TEST_F(Shortcuts, ShellFoldersComeFromTheRootTheChoicePicks) {
  struct Case { ShellPlace place; bool allUsers; HKEY root; const char* value; };
  const Case cases[] = {
      {ShellPlace::Programs, false, HKEY_CURRENT_USER, "Programs"},
      {ShellPlace::Desktop, false, HKEY_CURRENT_USER, "Desktop"},
      {ShellPlace::Startup, false, HKEY_CURRENT_USER, "Startup"},
      {ShellPlace::Programs, true, HKEY_LOCAL_MACHINE, "Common Programs"},
      {ShellPlace::Desktop, true, HKEY_LOCAL_MACHINE, "Common Desktop"},
      {ShellPlace::Startup, true, HKEY_LOCAL_MACHINE, "Common Startup"},
  };
  const char* const key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  for (const Case& c : cases) SetValue(c.root, key, c.value, std::string("X:\\") + c.value);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(ReadShellFolder(c.place, c.allUsers), std::string("X:\\") + c.value);
  }

  // One root per call: no fallback to the other one. Environment references
  // stay as stored; a text too long for a path is no folder.
  ASSERT_EQ(DeleteValue(HKEY_LOCAL_MACHINE, key, "Common Desktop"), ERROR_SUCCESS);
  EXPECT_EQ(ReadShellFolder(ShellPlace::Desktop, true), "");
  SetValue(HKEY_CURRENT_USER, key, "Desktop", "%USERPROFILE%\\Desktop");
  EXPECT_EQ(ReadShellFolder(ShellPlace::Desktop, false), "%USERPROFILE%\\Desktop");
  SetValue(HKEY_CURRENT_USER, key, "Startup", "C:\\" + std::string(260, 's'));
  EXPECT_EQ(ReadShellFolder(ShellPlace::Startup, false), "");
}

TEST_F(Shortcuts, SavedShortcutReadsBackAndIsLogged) {
  const std::string app = root_ / "Orvelle 6\\OrvPix6.exe";
  struct Case { const char* name; std::string target; const char* workingFolder; std::string expectedTarget; };
  const Case cases[] = {
      {"plain.lnk", app, "%APPDATA%", app},
      {"quoted.lnk", "\"" + app + "\"", "%APPDATA%", app},
      {"leading quote.lnk", "\"" + app, nullptr, app},
      {"trailing quote.lnk", app + "\"", nullptr, app},
  };
  std::vector<std::string> expectedLog;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CreateShortcut(c.target, Link(c.name), c.workingFolder), S_OK);
    const ShortcutContents read = ReadShortcut(Link(c.name));
    ASSERT_TRUE(read.loaded);
    EXPECT_EQ(read.target, c.expectedTarget);
    // Stored literally, expanded only when the shortcut is started.
    EXPECT_EQ(read.workingFolder, c.workingFolder ? c.workingFolder : "");
    EXPECT_EQ(read.description, "");
    expectedLog.push_back("Shell Link: " + Link(c.name));
  }
  EXPECT_EQ(LogLines(), expectedLog);
}

TEST_F(Shortcuts, ShortcutThatCannotBeSavedIsNotLogged) {
  // No message either: any box would fail the test.
  const std::string missing = root_ / "Missing\\Orvelle 6.lnk";
  EXPECT_TRUE(FAILED(CreateShortcut(Installed("OrvPix6.exe"), missing, "%APPDATA%")));
  EXPECT_FALSE(PathExists(missing));
  EXPECT_EQ(CreateShortcut(Installed("readme.txt"), Link("readme.lnk")), S_OK);
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"Shell Link: " + Link("readme.lnk")}));
}

TEST_F(Shortcuts, PathsPastTheBuffersAreRefused) {
  const std::string longTarget = "C:\\" + std::string(509, 't');  // 512 characters
  EXPECT_TRUE(FAILED(CreateShortcut(longTarget, Link("long target.lnk"))));
  EXPECT_FALSE(PathExists(Link("long target.lnk")));
  // 511 characters once the quotes are dropped: accepted.
  EXPECT_EQ(CreateShortcut("\"C:\\" + std::string(508, 't') + "\"", Link("fits.lnk")), S_OK);

  const std::string longLink = links_ + "\\" + std::string(259 - links_.size() - 4, 'n') + "x.lnk";
  EXPECT_TRUE(FAILED(CreateShortcut(Installed("OrvPix6.exe"), longLink)));
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"Shell Link: " + Link("fits.lnk")}));
}

TEST_F(Shortcuts, ComStaysInitialised) {
  EXPECT_EQ(CreateShortcut(Installed("OrvPix6.exe"), Link("a.lnk")), S_OK);
  EXPECT_EQ(CreateShortcut(Installed("OrvPix6.exe"), Link("b.lnk")), S_OK);
  // Already initialised on this thread, by the first shortcut.
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  CoUninitialize();
}

// A shell link that refuses what a test asks it to and passes everything else
// on to a real one.
enum class Refusal { SetPath, SetDescription, Both, PersistFile };
Refusal refusal = Refusal::SetPath;

class RefusingShellLink : public IShellLinkA {
 public:
  explicit RefusingShellLink(IShellLinkA* real) : real_(real) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IShellLinkA) {
      *out = this;
      AddRef();
      return S_OK;
    }
    if (riid == IID_IPersistFile && refusal == Refusal::PersistFile) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    return real_->QueryInterface(riid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      real_->Release();
      delete this;
    }
    return left;
  }
  HRESULT STDMETHODCALLTYPE SetPath(LPCSTR file) override {
    if (refusal == Refusal::SetPath || refusal == Refusal::Both) return E_FAIL;
    return real_->SetPath(file);
  }
  HRESULT STDMETHODCALLTYPE SetDescription(LPCSTR text) override {
    if (refusal == Refusal::SetDescription || refusal == Refusal::Both) return E_FAIL;
    return real_->SetDescription(text);
  }
  // Everything else goes to the real link unchanged.
#define ORV_PASS_ON(name, parameters, arguments) \
  HRESULT STDMETHODCALLTYPE name parameters override { return real_->name arguments; }
  ORV_PASS_ON(GetPath, (LPSTR file, int size, WIN32_FIND_DATAA* data, DWORD flags), (file, size, data, flags))
  ORV_PASS_ON(GetIDList, (PIDLIST_ABSOLUTE* list), (list))
  ORV_PASS_ON(SetIDList, (PCIDLIST_ABSOLUTE list), (list))
  ORV_PASS_ON(GetDescription, (LPSTR text, int size), (text, size))
  ORV_PASS_ON(GetWorkingDirectory, (LPSTR folder, int size), (folder, size))
  ORV_PASS_ON(SetWorkingDirectory, (LPCSTR folder), (folder))
  ORV_PASS_ON(GetArguments, (LPSTR text, int size), (text, size))
  ORV_PASS_ON(SetArguments, (LPCSTR text), (text))
  ORV_PASS_ON(GetHotkey, (WORD* key), (key))
  ORV_PASS_ON(SetHotkey, (WORD key), (key))
  ORV_PASS_ON(GetShowCmd, (int* show), (show))
  ORV_PASS_ON(SetShowCmd, (int show), (show))
  ORV_PASS_ON(GetIconLocation, (LPSTR path, int size, int* icon), (path, size, icon))
  ORV_PASS_ON(SetIconLocation, (LPCSTR path, int icon), (path, icon))
  ORV_PASS_ON(SetRelativePath, (LPCSTR path, DWORD reserved), (path, reserved))
  ORV_PASS_ON(Resolve, (HWND window, DWORD flags), (window, flags))
#undef ORV_PASS_ON

 private:
  IShellLinkA* real_;
  ULONG references_ = 1;
};

HRESULT MakeRefusingShellLink(IShellLinkA** link) {
  IShellLinkA* real = nullptr;
  const HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                          reinterpret_cast<void**>(&real));
  if (FAILED(result)) return result;
  *link = new RefusingShellLink(real);
  return S_OK;
}

HRESULT NoShellLinkClass(IShellLinkA** link) {
  *link = nullptr;
  return REGDB_E_CLASSNOTREG;
}

class ShortcutsWithRefusals : public Shortcuts {
 protected:
  PlatformOverride<ShortcutCalls> factory_{ShortcutPlatform(), {&MakeRefusingShellLink}};
};

TEST_F(ShortcutsWithRefusals, FailedSettersAreShownUnlessSilentAndTheShortcutIsStillSaved) {
  struct Case {
    Refusal refusal;
    std::vector<std::string> messages;
    bool silent = false;  // nobody to press OK: nothing shown
  };
  const Case cases[] = {
      {Refusal::SetPath, {"SetPath failed!"}},
      {Refusal::SetDescription, {"SetDescription failed!"}},
      {Refusal::Both, {"SetPath failed!", "SetDescription failed!"}},
      {Refusal::Both, {}, true},
  };
  int number = 0;
  std::vector<std::string> expectedLog;
  for (const Case& c : cases) {
    const std::string link = Link("refused " + std::to_string(++number) + ".lnk");
    SCOPED_TRACE(link);
    refusal = c.refusal;
    InstallOptions.silent = c.silent;
    MessageBoxScript boxes({IDOK, IDOK});
    EXPECT_EQ(CreateShortcut(Installed("OrvPix6.exe"), link, "%APPDATA%"), S_OK);
    ASSERT_EQ(boxes.Shown().size(), c.messages.size());
    for (std::size_t i = 0; i < c.messages.size(); ++i) {
      EXPECT_TRUE(IsBox(boxes.Shown()[i], c.messages[i], MB_OK | MB_ICONEXCLAMATION));
    }
    EXPECT_TRUE(ReadShortcut(link).loaded);
    expectedLog.push_back("Shell Link: " + link);
  }
  InstallOptions.silent = false;
  EXPECT_EQ(LogLines(), expectedLog);
}

TEST_F(ShortcutsWithRefusals, MissingObjectOrInterfaceSkipsTheShortcutSilently) {
  refusal = Refusal::PersistFile;
  EXPECT_EQ(CreateShortcut(Installed("OrvPix6.exe"), Link("a.lnk")), E_NOINTERFACE);
  const PlatformOverride<ShortcutCalls> noClass(ShortcutPlatform(), {&NoShellLinkClass});
  EXPECT_EQ(CreateShortcut(Installed("OrvPix6.exe"), Link("b.lnk")), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(TreeOf(links_), std::vector<std::string>{});
  EXPECT_FALSE(PathExists(Installed("OrvUnInst.log")));
}

// The shortcuts of an installation: names from the string table (French),
// targets in the installed folder.
TEST_F(Shortcuts, GroupShortcutsInTheirOrder) {
  CreateGroupShortcuts(links_);
  struct Expected { const char* name; const char* target; const char* workingFolder; };
  const Expected expected[] = {
      {"Orvelle 6.lnk", "OrvPix6.exe", "%APPDATA%"},
      {"Orvelle 6 - Aide.lnk", "OrvPix6Man.chm", ""},
      {"Informations sur Orvelle 6.lnk", "readme.txt", ""},
      {"X  D\xE9sinstaller Orvelle 6.lnk", "OrvUnInst.exe", ""},
  };
  std::vector<std::string> expectedLog;
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.name);
    const ShortcutContents read = ReadShortcut(Link(e.name));
    ASSERT_TRUE(read.loaded);
    EXPECT_EQ(read.target, Installed(e.target));
    EXPECT_EQ(read.workingFolder, e.workingFolder);
    expectedLog.push_back("Shell Link: " + Link(e.name));
  }
  EXPECT_EQ(LogLines(), expectedLog);
  EXPECT_EQ(TreeOf(links_).size(), 4u);
}

TEST_F(Shortcuts, ApplicationShortcutNeedsAFolder) {
  CreateApplicationShortcut(links_);
  EXPECT_EQ(ReadShortcut(Link("Orvelle 6.lnk")).target, Installed("OrvPix6.exe"));
  EXPECT_EQ(ReadShortcut(Link("Orvelle 6.lnk")).workingFolder, "%APPDATA%");

  // A missing shell folder value names no place: nothing lands in the root
  // of the current drive.
  SetCurrentDirectoryA(links_.c_str());
  CreateApplicationShortcut("");
  EXPECT_FALSE(PathExists("C:\\Orvelle 6.lnk"));
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"Shell Link: " + Link("Orvelle 6.lnk")}));
}

}  // namespace
