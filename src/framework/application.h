// The application object's base, and the framework's run of it: the process
// builds its objects, runs the application's start-up operation once and
// ends with the exit status it settled.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class CApplication {
 public:
  virtual ~CApplication() = default;

  // The start-up operation, run once with the process's arguments and own
  // path. The result only tells whether to run a message loop; the program
  // ends either way.
  virtual BOOL InitInstance(const std::vector<std::string>& args, const std::string& ownPath) = 0;

  // The process's exit status once InitInstance has returned (exit_status.h).
  int ExitStatus() const { return exitStatus_; }

 protected:
  int exitStatus_ = 0;  // exitstatus::kDone
};

// Runs `app` with the process's own arguments and path; returns its exit
// status. There is no message loop: nothing is left to serve.
int RunApplication(CApplication& app);
