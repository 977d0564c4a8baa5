// The framework's part of the process: the process-wide objects, constructed
// in this order before the start-up operation runs, and the entry point.
#include <windows.h>

#include "common/names.h"
#include "framework/application.h"
#include "startup/instance_manager.h"
#include "startup/library_search.h"
#include "startup/program_mark.h"
#include "startup/setup_app.h"

// Before any other object of the process: no library is looked for beside
// the program or in the current folder from here on.
[[maybe_unused]] static const bool g_librarySearchRestricted = RestrictLibrarySearch();

// The mark that tells other runs this process is one of this program's,
// before the process enters the instance list where they look.
static const UniqueHandle g_programMark = MarkThisProcess();

// The instance registry next: it registers the process before anything else
// runs and takes it out of the list when static objects are destroyed at exit.
COXInstanceManager g_instances(names::kInstanceName);
CSetupApp theApp(g_instances);

// The status tells unattended deployment how the run ended.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunApplication(theApp); }
