// What the setup does once the installation ran: open a page of the vendor's
// web server and start the installed application. Neither reports a failure.
#pragma once
#include <string>

// Opens the vendor's page for the end of a setup: "/ovkq/InstScript.asp"
// followed by the query of the installed folder's "HomePage.url" for a new
// installation with a query, "/ovkq/installed.asp" after an upgrade or
// without a query.
void OpenVendorPage(const std::string& installedFolder, bool isUpgrade);

// Opens the address with the shell ("open", no owner, SW_SHOW).
void OpenWebPage(const std::string& address);

// Starts "OrvPix6.exe" of the folder, in that folder, without waiting
// (LaunchProgram: a folder with blanks cannot make Windows start
// "C:\Program.exe" instead).
void StartApplication(const std::string& folder);
