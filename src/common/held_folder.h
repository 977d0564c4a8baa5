// Folders the removal works in, and the links it never works through.
//
// A folder link (a junction, a symbolic link to a folder) makes one folder's
// name lead to another folder. The removal runs with an administrator's
// rights on folder names that other accounts can write (their shell folders,
// their Start menu, an installed folder outside Program Files): through a
// link it would delete files anywhere. So it deletes nothing inside a link,
// enters none and removes none; the link stays as it is.
#pragma once
#include <string>

#include "common/handle.h"

// The path without its trailing separators; a drive root keeps its own
// ("C:" alone would name the drive's current folder).
std::string WithoutTrailingSeparator(const std::string& path);

// True when `path` names a folder link: a reparse point that gives another
// name, or whose kind cannot be told. A reparse point that stores a folder's
// contents elsewhere (a cloud-files placeholder) is no link: it is the folder.
bool IsFolderLink(const std::string& path);

// A folder that is held open while the removal works in it. On Windows the
// handle, opened without following a link and without sharing deletion,
// keeps the folder from being renamed, deleted or replaced by a link until
// the object goes. (Wine follows a link even so, and lets a held folder be
// renamed: there the check of the path before the work is what protects.)
class HeldFolder {
 public:
  explicit HeldFolder(const std::string& path);
  HeldFolder(HeldFolder&&) = default;
  HeldFolder& operator=(HeldFolder&&) = default;

  // The folder exists, is no link, and is held.
  bool Held() const { return static_cast<bool>(handle_); }

 private:
  UniqueHandle handle_;
};

// Removes the folder when it is empty and no link; false otherwise.
bool RemoveEmptyFolder(const std::string& path);
