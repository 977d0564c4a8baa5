// The staging folders of one installation: where a replacement is copied
// whole before it is moved over the file it replaces.
#pragma once
#include <map>
#include <string>

// "~OrvSetup.staging" in each target folder that receives a replacement,
// made on the first replacement there and removed with the object. A new
// name makes Wine read the whole folder it goes in (and a stale side name
// must be deleted first, which reads it again): in a folder that holds one
// file at most, that costs next to nothing.
class StagingFolders {
 public:
  StagingFolders() = default;
  ~StagingFolders();
  StagingFolders(const StagingFolders&) = delete;
  StagingFolders& operator=(const StagingFolders&) = delete;

  // The name under which the replacement of `target` is copied: in the
  // staging folder of the target's folder, made on its first use. Empty when
  // this run could not make that folder (a folder of that name that was
  // there already is not ours to put files in) or the name would not fit.
  std::string StagedName(const std::string& target);

 private:
  // The folder made for each target folder, by the target folder's path key;
  // empty where none could be made.
  std::map<std::string, std::string> made_;
};
