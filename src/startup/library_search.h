// Where the process looks for libraries. The setup runs from a Downloads
// folder and the uninstaller's copy from the temporary folder: both are
// places where anybody may have left a library under a system library's name.
#pragma once

// Restricts the library search of the whole process to the system's own
// folder (System32, SysWOW64 for a 32-bit process on 64-bit Windows), and
// takes the current folder out of it on systems that know no more. Run
// before anything else loads a library; libraries the program imports and
// that the system does not pin to its folder are delay-loaded, so their load
// happens after this. True when the search is restricted to the system folder.
bool RestrictLibrarySearch();
