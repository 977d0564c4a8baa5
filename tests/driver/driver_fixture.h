// What the driver looks at, built for real in the test's own Wine prefix: a
// package folder, an earlier installation on disk and in the registry, and a
// recorder that stands in for the web browser or for a started program.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The application stand-in of a file version, as built (bin\OrvPix6-<v>.exe).
std::string StandInPath(const std::string& version);

// Copies the stand-in of `version` into `folder` as "OrvPix6.exe".
bool PlaceStandIn(const std::string& version, const std::string& folder);

// A package folder: the stand-in of `version` (none when empty) and, when
// `withScript`, an install script naming it.
bool MakePackage(const std::string& folder, const std::string& version, bool withScript = true);

// Registers an earlier installation as the installation does: "Path" and,
// when not null, "AllUsers" under the product key.
void RegisterEarlierInstallation(const std::string& folder, const char* allUsers);

// One start of the recorder: its own path, its current folder, its arguments.
struct RecordedStart {
  std::string program;
  std::string folder;
  std::vector<std::string> args;
};

// A copy of the recorder program. Each start of it appends a line to
// "recorded.txt" in its folder.
class Recorder {
 public:
  // Copies the recorder into `folder` under `name`.
  Recorder(const std::string& folder, const std::string& name);

  const std::string& Path() const { return path_; }

  // Registers this copy as the prefix's "http" handler, so that opening a web
  // page through the shell starts it with the address as its argument.
  bool RegisterAsWebBrowser() const;

  // The starts recorded so far, in order.
  std::vector<RecordedStart> Starts() const;

  // Waits until at least `count` starts are recorded; returns them.
  std::vector<RecordedStart> WaitForStarts(std::size_t count, DWORD timeoutMs = 15000) const;

  // The starts recorded once every start requested before this call has had
  // its chance: runs the recorder itself with a marker argument, waits for it
  // and a little more, and leaves the marker's start out. For showing that
  // nothing (more) was started; wait for expected starts with WaitForStarts.
  std::vector<RecordedStart> StartsSoFar() const;

  // Forgets what was recorded.
  void Clear() const;

 private:
  std::string RecordFile() const;
  std::string path_;
};
