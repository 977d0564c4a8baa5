#include "framework/application.h"

#include <cstdlib>

#include "common/module_path.h"

int RunApplication(CApplication& app) {
  const std::vector<std::string> args(__argv, __argv + __argc);
  app.InitInstance(args, OwnProgramPath());
  return app.ExitStatus();
}
