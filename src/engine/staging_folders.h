// The staging folders of one installation: where a replacement is copied
// whole before it is moved over the file it replaces.
#pragma once
#include <map>
#include <optional>
#include <string>

#include "common/held_folder.h"

// Who may change a staging folder while the run uses it.
enum class StagingRights {
  Inherited,       // what the target's folder passes on (a user's own installation)
  Administrators,  // administrators and the system only (an installation for all users)
};

// "~OrvSetup.staging" in each target folder that receives a replacement,
// made on the first replacement there and removed with the object. One that
// an interrupted run left goes on the first placement into its folder. A new
// name makes Wine read the whole folder it goes in (and a stale side name
// must be deleted first, which reads it again): in a folder that holds one
// file at most, that costs next to nothing.
//
// The target's folder may be one that other accounts can write. A staging
// folder is therefore made with its rights at once, held open without
// shared deletion while the run uses it (so that nobody renames it and puts
// a link in its place), and checked to be no link after it is made and
// before each use: files copied into it must never land elsewhere.
class StagingFolders {
 public:
  explicit StagingFolders(StagingRights rights = StagingRights::Inherited) : rights_(rights) {}
  ~StagingFolders();
  StagingFolders(const StagingFolders&) = delete;
  StagingFolders& operator=(const StagingFolders&) = delete;

  // Before the first placement into the target's folder: removes a staging
  // folder an interrupted run left there (when it is a plain folder of files
  // only), so that none outlives this run.
  void ClearStale(const std::string& target);

  // The name under which the replacement of `target` is copied: in the
  // staging folder of the target's folder, made on its first use. Empty when
  // this run could not make that folder (a folder of that name that stayed
  // is not ours to put files in), could not give it its rights or hold it,
  // finds a link in its place, or the name would not fit: the caller then
  // copies beside the target.
  std::string StagedName(const std::string& target);

 private:
  struct Folder {
    bool cleared = false;  // no stale staging folder is there any more
    bool tried = false;    // this run tried to make its own
    std::string made;      // the folder this run made; empty when none
    std::optional<HeldFolder> held;  // kept from being renamed while in use
  };
  // By the target folder's path key.
  Folder& FolderOf(const std::string& target, std::string& folder);
  // Makes and holds the staging folder of `folder`; `entry.held` stays empty
  // when it is not to be used.
  void MakeStaging(const std::string& folder, Folder& entry);
  StagingRights rights_;
  std::map<std::string, Folder> folders_;
};
