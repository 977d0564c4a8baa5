// Registry cleanup on the real registry of the test's prefix. Deletions that
// must fail go through the cleanup's platform table (the registry here has
// no access control).
#include <windows.h>

#include <shlobj.h>

#include <string>
#include <vector>

#include "common/names.h"
#include "common/registry.h"
#include "gtest/gtest.h"
#include "support/installed_state.h"
#include "support/platform_override.h"
#include "uninstall/registry_cleanup.h"

namespace {

const std::string kProduct = names::kProductKey;
const std::string kMaker = names::kMakerKey;

// Refuses the deletion of keys with one given name, and records the shell
// notifications; the system's own calls come back when the object goes.
class PlatformCalls {
 public:
  PlatformCalls() { active_ = this; }
  ~PlatformCalls() { active_ = nullptr; }
  PlatformCalls(const PlatformCalls&) = delete;
  PlatformCalls& operator=(const PlatformCalls&) = delete;

  std::string refused;  // name of the keys that cannot be deleted
  std::vector<std::pair<LONG, UINT>> notifications;

 private:
  static LONG WINAPI DeleteKey(HKEY root, LPCSTR subkey) {
    const std::string name = subkey;
    const std::string last = name.substr(name.rfind('\\') == std::string::npos ? 0 : name.rfind('\\') + 1);
    if (!active_->refused.empty() && last == active_->refused) return ERROR_ACCESS_DENIED;
    return RegDeleteKeyA(root, subkey);
  }
  static void WINAPI ChangeNotify(LONG event, UINT flags, LPCVOID item1, LPCVOID item2) {
    EXPECT_EQ(item1, nullptr);
    EXPECT_EQ(item2, nullptr);
    active_->notifications.push_back({event, flags});
  }
  static PlatformCalls* active_;
  PlatformOverride<RegistryCleanupCalls> calls_{RegistryCleanupPlatform(), {&DeleteKey, &ChangeNotify}};
};
PlatformCalls* PlatformCalls::active_ = nullptr;

// A product key with values and children several levels deep.
void MakeProductTree(HKEY root) {
  SetValue(root, kProduct, names::kPathValue, "C:\\Orvelle 6");
  SetValue(root, kProduct + "\\Settings\\Window\\Main", "Left", "10");
  SetValue(root, kProduct + "\\Settings\\Recent", "1", "a.bmp");
  CreateKey(root, kProduct + "\\Plugins\\Jpeg\\Options\\Quality");
  CreateKey(root, kProduct + "\\Plugins\\Tiff");
}

TEST(DeleteKeyTreeTest, DeletesEveryLevelAndTellsWhetherTheKeyWent) {
  MakeProductTree(HKEY_CURRENT_USER);
  SetValue(HKEY_CURRENT_USER, kMaker + "\\Other", "Path", "C:\\Other");
  EXPECT_TRUE(DeleteKeyTree(HKEY_CURRENT_USER, names::kProductKey));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProduct));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kMaker + "\\Other"));

  EXPECT_FALSE(DeleteKeyTree(HKEY_CURRENT_USER, names::kProductKey)) << "a missing key is not deleted";
  // An empty name would open the root itself: nothing below it goes.
  RegKey maker;
  ASSERT_TRUE(maker.Open(HKEY_CURRENT_USER, names::kMakerKey, KEY_ALL_ACCESS));
  EXPECT_FALSE(DeleteKeyTree(maker.get(), ""));
  EXPECT_FALSE(DeleteKeyTree(maker.get(), nullptr));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kMaker + "\\Other"));
}

TEST(DeleteKeyTreeTest, UndeletableChildKeepsItselfAndItsAncestorsOnly) {
  PlatformCalls calls;
  calls.refused = "Locked";
  MakeProductTree(HKEY_CURRENT_USER);
  // Before, between and after the undeletable ones in enumeration order.
  CreateKey(HKEY_CURRENT_USER, kProduct + "\\A");
  CreateKey(HKEY_CURRENT_USER, kProduct + "\\Locked\\Inner");
  CreateKey(HKEY_CURRENT_USER, kProduct + "\\Plugins\\Locked");
  CreateKey(HKEY_CURRENT_USER, kProduct + "\\Z");

  EXPECT_FALSE(DeleteKeyTree(HKEY_CURRENT_USER, names::kProductKey));

  for (const char* kept : {"", "\\Locked", "\\Plugins", "\\Plugins\\Locked"})
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kProduct + kept)) << kept;
  for (const char* gone : {"\\A", "\\Z", "\\Settings", "\\Locked\\Inner", "\\Plugins\\Jpeg", "\\Plugins\\Tiff"})
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProduct + gone)) << gone;
  EXPECT_EQ(ValueOf(HKEY_CURRENT_USER, kProduct, names::kPathValue), "C:\\Orvelle 6");
}

TEST(RemoveProductRegistryTest, RemovesTheProductFromEveryRootAndProfile) {
  MakeProductTree(HKEY_LOCAL_MACHINE);
  MakeProductTree(HKEY_CURRENT_USER);
  ASSERT_TRUE(LoadEmptyProfile(kOtherUser));
  RegKey defaultProfile, otherProfile;
  ASSERT_TRUE(defaultProfile.Open(HKEY_USERS, ".Default", KEY_ALL_ACCESS));
  ASSERT_TRUE(otherProfile.Open(HKEY_USERS, kOtherUser, KEY_ALL_ACCESS));
  MakeProductTree(defaultProfile.get());
  MakeProductTree(otherProfile.get());
  SetValue(HKEY_LOCAL_MACHINE, kMaker, "Vendor", "Tamberlin");  // values only: goes
  CreateKey(HKEY_CURRENT_USER, kMaker + "\\Orvelle 5");         // another product: stays
  SetValue(HKEY_CLASSES_ROOT, std::string(names::kDocumentTypeKey) + "\\shell\\open\\command", nullptr, "x");
  SetValue(HKEY_LOCAL_MACHINE, names::kUninstallEntryKey, "DisplayName", "Orvelle 6");
  SetDwordValue(HKEY_LOCAL_MACHINE, names::kUninstallEntryKey, "EstimatedSize", 512);  // not a text: goes too
  SetValue(HKEY_LOCAL_MACHINE, std::string(names::kUninstallListKey) + "\\Orvelle 5", "DisplayName", "Orvelle 5");
  SetValue(HKEY_LOCAL_MACHINE, names::kAppPathKey, nullptr, "C:\\Orvelle 6\\OrvPix6.exe");
  SetValue(HKEY_LOCAL_MACHINE, std::string(names::kAppPathsKey) + "\\OrvPix5.exe", nullptr, "C:\\Orvelle 5");

  RemoveProductRegistry();

  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMaker));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProduct));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kMaker + "\\Orvelle 5"));
  EXPECT_FALSE(KeyExists(defaultProfile.get(), kMaker));
  EXPECT_FALSE(KeyExists(otherProfile.get(), kMaker));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, names::kDocumentTypeKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, names::kUninstallEntryKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, names::kAppPathKey));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(names::kUninstallListKey) + "\\Orvelle 5"));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, std::string(names::kAppPathsKey) + "\\OrvPix5.exe"));
}

// Image types: one row per case, written to the per-user type choices or to
// HKEY_CLASSES_ROOT, with what must be there afterwards.
struct TypeCase {
  const char* extension;
  const char* handler;  // null: no type value
  const char* saved;    // null: no "OrvPixOld"
  const char* handlerAfter;
  const char* savedAfter;
};

const TypeCase kTypeCases[] = {
    {".bmp", "OrvPix6.exe", "mspaint.exe", "mspaint.exe", kMissing},
    {".dib", "\"C:\\Program Files\\Orvelle 6\\OrvPix6.exe\" \"%1\"", "Paint.Picture", "Paint.Picture", kMissing},
    {".gif", "OrvPix6.exe", nullptr, kMissing, kMissing},
    {".jpg", "OrvPix6.exe", "", kMissing, kMissing},
    {".jpeg", "orvpix6.exe", "old.exe", "orvpix6.exe", "old.exe"},     // other letter case: not ours
    {".tif", "photoview.exe", "old.exe", "photoview.exe", "old.exe"},  // another program
    {".tiff", "", "old.exe", "", "old.exe"},
    {".png", nullptr, "old.exe", kMissing, "old.exe"},
    {".wpg", "OrvPix6.exe", "wpgview.exe", "wpgview.exe", kMissing},  // the last row
    {".pcx", "OrvPix6.exe", "old.exe", "OrvPix6.exe", "old.exe"},     // not an image type of the table
};

class RestoreImageAssociationsTest : public testing::TestWithParam<bool> {
 protected:
  // The per-user choices (parameter true) or HKEY_CLASSES_ROOT.
  bool PerUser() const { return GetParam(); }
  std::string KeyOf(const char* extension) const {
    return PerUser() ? std::string(names::kFileExtsKey) + "\\" + extension : extension;
  }
  HKEY Root() const { return PerUser() ? HKEY_CURRENT_USER : HKEY_CLASSES_ROOT; }
  const char* TypeValue() const { return PerUser() ? names::kFileExtsTypeValue : nullptr; }

  void Write(const TypeCase& c) {
    CreateKey(Root(), KeyOf(c.extension));
    if (c.handler) SetValue(Root(), KeyOf(c.extension), TypeValue(), c.handler);
    if (c.saved) SetValue(Root(), KeyOf(c.extension), names::kSavedHandlerValue, c.saved);
  }
  void Check(const TypeCase& c) {
    EXPECT_EQ(ValueOf(Root(), KeyOf(c.extension), TypeValue()), c.handlerAfter) << c.extension;
    EXPECT_EQ(ValueOf(Root(), KeyOf(c.extension), names::kSavedHandlerValue), c.savedAfter) << c.extension;
  }

  PlatformCalls calls_;
};

TEST_P(RestoreImageAssociationsTest, GivesBackClaimedTypesOnly) {
  for (const TypeCase& c : kTypeCases) Write(c);
  RestoreImageAssociations();
  for (const TypeCase& c : kTypeCases) Check(c);
  EXPECT_EQ(calls_.notifications, (std::vector<std::pair<LONG, UINT>>{{SHCNE_ASSOCCHANGED, SHCNF_IDLIST}}));
}

TEST_P(RestoreImageAssociationsTest, NoClaimNoNotification) {
  for (const TypeCase& c : kTypeCases)
    if (!c.handler || std::string(c.handler).find("OrvPix6.exe") == std::string::npos) Write(c);
  RestoreImageAssociations();
  EXPECT_TRUE(calls_.notifications.empty());
}

TEST_P(RestoreImageAssociationsTest, OverlongValues) {
  // A saved handler too long to read counts as absent; a type value too long
  // to read leaves its type alone. Neither is read past its buffer.
  const std::string longSaved(600, 's');
  const std::string longHandler = "OrvPix6.exe" + std::string(600, 'h');
  const std::string fits511 = std::string(500, 'f') + "OrvPix6.exe";
  Write({".bmp", "OrvPix6.exe", longSaved.c_str(), kMissing, kMissing});
  Write({".gif", longHandler.c_str(), "old.exe", nullptr, nullptr});
  Write({".png", fits511.c_str(), "old.exe", nullptr, nullptr});
  RestoreImageAssociations();
  Check({".bmp", nullptr, nullptr, kMissing, kMissing});
  EXPECT_EQ(ValueOf(Root(), KeyOf(".gif"), names::kSavedHandlerValue), "old.exe");
  Check({".png", nullptr, nullptr, "old.exe", kMissing});
}

INSTANTIATE_TEST_SUITE_P(PerUserChoicesOrClasses, RestoreImageAssociationsTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "FileExts" : "ClassesRoot");
                         });

TEST(RestoreImageAssociationsChoiceTest, PerUserChoicesHideTheClassesRoot) {
  PlatformCalls calls;
  CreateKey(HKEY_CURRENT_USER, names::kFileExtsKey);
  SetValue(HKEY_CLASSES_ROOT, ".bmp", nullptr, "OrvPix6.exe");
  SetValue(HKEY_CLASSES_ROOT, ".bmp", names::kSavedHandlerValue, "Paint.Picture");
  RestoreImageAssociations();
  EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, ".bmp", nullptr), "OrvPix6.exe");
  EXPECT_EQ(ValueOf(HKEY_CLASSES_ROOT, ".bmp", names::kSavedHandlerValue), "Paint.Picture");
  EXPECT_TRUE(calls.notifications.empty());
}

}  // namespace
