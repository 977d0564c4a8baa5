#include "framework/application.h"

#include <cstdlib>

#include "common/module_path.h"
#include "common/run_log.h"

int RunApplication(CApplication& app) {
  const std::vector<std::string> args(__argv, __argv + __argc);
  app.InitInstance(args, OwnProgramPath());
  RunLogExitStatus(app.ExitStatus());
  return app.ExitStatus();
}
