// The completion page's text after an installation that could not install
// everything: string 27, with the number of items that failed and the first
// of them, fitted into the text control.
#pragma once
#include <windows.h>

#include <string>

// String 27 for `count` failures, the first named `first`, shortened with
// "..." at the end of the name until it fits the control's size in the
// control's font. A name's "&" is doubled, so that the control shows it.
std::string IncompleteInstallationText(HWND control, unsigned count, const std::string& first);
