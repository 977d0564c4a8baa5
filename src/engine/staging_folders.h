// The staging folders of one installation: where a replacement is copied
// whole before it is moved over the file it replaces.
#pragma once
#include <map>
#include <string>

// "~OrvSetup.staging" in each target folder that receives a replacement,
// made on the first replacement there and removed with the object. One that
// an interrupted run left goes on the first placement into its folder. A new
// name makes Wine read the whole folder it goes in (and a stale side name
// must be deleted first, which reads it again): in a folder that holds one
// file at most, that costs next to nothing.
class StagingFolders {
 public:
  StagingFolders() = default;
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
  // is not ours to put files in) or the name would not fit.
  std::string StagedName(const std::string& target);

 private:
  struct Folder {
    bool cleared = false;  // no stale staging folder is there any more
    bool tried = false;    // this run tried to make its own
    std::string made;      // the folder this run made; empty when none
  };
  // By the target folder's path key.
  Folder& FolderOf(const std::string& target, std::string& folder);
  std::map<std::string, Folder> folders_;
};
