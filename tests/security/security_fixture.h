// What the security tests share.
#pragma once
#include <string>

#include "common/names.h"
#include "driver/existing_install.h"

// The folder a silent first installation goes to: Program Files\Orvelle 6.
inline std::string DefaultInstalledFolder() { return ProgramFilesFolder() + "\\" + names::kProductName; }
