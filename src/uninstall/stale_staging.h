// The staging folder ("~OrvSetup.staging") that an installation ended
// abruptly left in a folder it placed files in: only copies of package files
// it had not yet moved into place, one of them cut as a rule.
#pragma once
#include <string>

// Removes the staging folder in `folder` when it is a plain folder (no link,
// nor `folder` itself one) that holds files only: its files (read-only and
// hidden ones too), then the folder itself. A folder of that name that holds
// sub-folders, or a file of that name, is not one of ours and stays. True
// when no staging folder is there now (none was, or it went).
bool RemoveStaleStagingFolder(const std::string& folder);
