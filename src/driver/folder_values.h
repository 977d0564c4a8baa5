// The folders the setup takes from registry values and from the Windows
// folder: texts from outside, read double-byte aware. Portable: pure
// functions over texts.
#pragma once
#include <string>

// The text before the first "\OrvPix6.exe" of an App Paths value (matched
// in that case only, starting on a character boundary); empty when the value
// does not hold it.
std::string FolderOfAppPath(const std::string& appPath);

// The folder without one trailing backslash: a real one, not the trail byte
// of a double-byte character.
std::string WithoutTrailingBackslash(std::string folder);

// "X:\" or "X:/": without its separator it would name the current folder of
// that drive.
bool IsDriveRoot(const std::string& folder);

// A registered installed folder as the setup uses it: one trailing backslash
// removed, except from a drive root, which keeps it; a bare "X:" (as an
// earlier version registered a root after a repair) is read as "X:\".
std::string InstalledFolderOfValue(std::string folder);

// The default Program Files folder of a system whose registry does not name
// it: the Windows folder cut after its first backslash (C:\WINDOWS gives
// C:\), followed by "Program Files"; the whole Windows folder followed by
// "Program Files" when it holds no backslash.
std::string ProgramFilesOfWindowsFolder(const std::string& windowsFolder);
