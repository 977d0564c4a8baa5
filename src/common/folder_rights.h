// The rights of the folders an installation for all users makes, and of its
// staging folders. An elevated run writes program files that administrators
// later run: where other accounts can change a folder, they can change those
// files, or put a link in a folder's place to make the run write elsewhere.
#pragma once
#include <windows.h>

#include <string>

// What a folder is made for.
enum class FolderAccess {
  // An installed folder: full control for Administrators and the system,
  // read and execute for Users, each inherited by what is made inside.
  Installed,
  // A staging folder: full control for Administrators and the system on the
  // folder itself; the files made in it get the entries the destination
  // passes on to its files. A rename within the volume keeps a file's
  // rights: a file staged there and moved into the destination carries the
  // rights it would have had if made there.
  Staging,
};

// Makes the one folder `path` for `access`, its rights set in the making: a
// protected access list, so that nothing is inherited from the parent, and
// no owner, so that the system sets it as usual. `destination`: for a
// staging folder, the folder whose files it stages. False when the rights
// cannot be built (nothing is made then) or the folder cannot be made, with
// the system's error as the thread's last error.
bool CreateFolderFor(FolderAccess access, const std::string& path, const std::string& destination = std::string());

// True when Users, Authenticated Users, Everyone or INTERACTIVE may write,
// append or delete in `folder`, or when it has no access list at all (which
// lets everyone do anything). False when its rights cannot be read.
bool OthersCanWrite(const std::string& folder);
