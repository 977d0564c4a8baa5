#include "common/folder_rights.h"

#include <aclapi.h>

#include <vector>

namespace {

constexpr DWORD kInheritedByAll = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
constexpr DWORD kReadAndExecute = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
// What lets an account change a folder's contents or the folder itself.
constexpr DWORD kWriteRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                               FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
// An access list's size is a WORD, kept a multiple of four.
constexpr DWORD kMostAclBytes = 0xFFFC;

// A well-known account's identifier, in a buffer of its own.
struct WellKnown {
  explicit WellKnown(WELL_KNOWN_SID_TYPE type) {
    DWORD size = sizeof sid;
    valid = CreateWellKnownSid(type, nullptr, sid, &size) != FALSE;
  }
  BYTE sid[SECURITY_MAX_SID_SIZE] = {};
  bool valid = false;
};

// A security descriptor the system allocated, freed when the object goes.
class LocalDescriptor {
 public:
  LocalDescriptor() = default;
  LocalDescriptor(const LocalDescriptor&) = delete;
  LocalDescriptor& operator=(const LocalDescriptor&) = delete;
  ~LocalDescriptor() {
    if (descriptor_) LocalFree(descriptor_);
  }
  PSECURITY_DESCRIPTOR* Out() { return &descriptor_; }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
};

// The folder's access list as the system keeps it; false when unreadable.
// `dacl` points into `holder`; null when there is no list.
bool ReadDacl(const std::string& folder, LocalDescriptor& holder, PACL& dacl) {
  dacl = nullptr;
  return GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                               nullptr, holder.Out()) == ERROR_SUCCESS;
}

PACL AsAcl(std::vector<DWORD>& acl) { return reinterpret_cast<PACL>(acl.data()); }

bool AddAllowed(std::vector<DWORD>& acl, DWORD flags, DWORD rights, WELL_KNOWN_SID_TYPE type) {
  WellKnown account(type);
  return account.valid && AddAccessAllowedAceEx(AsAcl(acl), ACL_REVISION, flags, rights, account.sid) != FALSE;
}

// Full control for Administrators and the system, with `flags`.
bool AddAdministrators(std::vector<DWORD>& acl, DWORD flags) {
  return AddAllowed(acl, flags, FILE_ALL_ACCESS, WinBuiltinAdministratorsSid) &&
         AddAllowed(acl, flags, FILE_ALL_ACCESS, WinLocalSystemSid);
}

// Copies the entries of `from` that pass on to files into `acl`, as entries
// that only pass on to files: the staging folder itself gets none of them.
// A folder without a list passes nothing on.
bool AddFileEntriesOf(std::vector<DWORD>& acl, PACL from) {
  if (!from) return true;
  ACL_SIZE_INFORMATION size{};
  if (!GetAclInformation(from, &size, sizeof size, AclSizeInformation)) return false;
  for (DWORD i = 0; i < size.AceCount; ++i) {
    ACE_HEADER* ace = nullptr;
    if (!GetAce(from, i, reinterpret_cast<void**>(&ace))) return false;
    if (!(ace->AceFlags & OBJECT_INHERIT_ACE)) continue;
    std::vector<BYTE> copy(reinterpret_cast<BYTE*>(ace), reinterpret_cast<BYTE*>(ace) + ace->AceSize);
    reinterpret_cast<ACE_HEADER*>(copy.data())->AceFlags = OBJECT_INHERIT_ACE | INHERIT_ONLY_ACE;
    if (!AddAce(AsAcl(acl), ACL_REVISION, MAXDWORD, copy.data(), ace->AceSize)) return false;
  }
  return true;
}

bool IsOtherAccount(PSID sid) {
  static const WELL_KNOWN_SID_TYPE kOthers[] = {WinBuiltinUsersSid, WinAuthenticatedUserSid, WinWorldSid,
                                                WinInteractiveSid};
  for (WELL_KNOWN_SID_TYPE type : kOthers) {
    WellKnown other(type);
    if (other.valid && EqualSid(sid, other.sid)) return true;
  }
  return false;
}

// The security a folder is made with (CreateDirectoryA).
class FolderSecurity {
 public:
  FolderSecurity(FolderAccess access, const std::string& destination);
  FolderSecurity(const FolderSecurity&) = delete;
  FolderSecurity& operator=(const FolderSecurity&) = delete;

  // Null when the security could not be built.
  SECURITY_ATTRIBUTES* Attributes() { return ready_ ? &attributes_ : nullptr; }

 private:
  bool Build(FolderAccess access, const std::string& destination);
  std::vector<DWORD> acl_;  // DWORD-aligned, as an access list must be
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{};
  bool ready_ = false;
};

FolderSecurity::FolderSecurity(FolderAccess access, const std::string& destination) {
  ready_ = Build(access, destination);
  attributes_.nLength = sizeof attributes_;
  attributes_.lpSecurityDescriptor = &descriptor_;
  attributes_.bInheritHandle = FALSE;
}

bool FolderSecurity::Build(FolderAccess access, const std::string& destination) {
  acl_.assign(kMostAclBytes / sizeof(DWORD), 0);
  if (!InitializeAcl(AsAcl(acl_), kMostAclBytes, ACL_REVISION)) return false;
  if (access == FolderAccess::Installed) {
    if (!AddAdministrators(acl_, kInheritedByAll) ||
        !AddAllowed(acl_, kInheritedByAll, kReadAndExecute, WinBuiltinUsersSid))
      return false;
  } else {
    LocalDescriptor holder;
    PACL dacl = nullptr;
    if (!ReadDacl(destination, holder, dacl) || !AddAdministrators(acl_, 0) || !AddFileEntriesOf(acl_, dacl))
      return false;
  }
  return InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
         SetSecurityDescriptorDacl(&descriptor_, TRUE, AsAcl(acl_), FALSE) &&
         SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
}

}  // namespace

bool CreateFolderFor(FolderAccess access, const std::string& path, const std::string& destination) {
  FolderSecurity security(access, destination);
  return security.Attributes() && CreateDirectoryA(path.c_str(), security.Attributes()) != FALSE;
}

bool OthersCanWrite(const std::string& folder) {
  LocalDescriptor holder;
  PACL dacl = nullptr;
  if (!ReadDacl(folder, holder, dacl)) return false;
  if (!dacl) return true;
  ACL_SIZE_INFORMATION size{};
  if (!GetAclInformation(dacl, &size, sizeof size, AclSizeInformation)) return false;
  for (DWORD i = 0; i < size.AceCount; ++i) {
    ACCESS_ALLOWED_ACE* ace = nullptr;
    if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace))) continue;
    // An entry that only passes on to what is made inside gives no right here.
    if (ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE || (ace->Header.AceFlags & INHERIT_ONLY_ACE)) continue;
    if ((ace->Mask & kWriteRights) && IsOtherAccount(reinterpret_cast<PSID>(&ace->SidStart))) return true;
  }
  return false;
}
