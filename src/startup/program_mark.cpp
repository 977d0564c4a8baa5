#include "startup/program_mark.h"

#include <string>

#include "common/names.h"

namespace {
std::string MarkName(std::uint32_t processId) { return names::kProgramMarkPrefix + std::to_string(processId); }
}  // namespace

UniqueHandle MarkThisProcess() {
  return UniqueHandle(CreateEventA(nullptr, TRUE, FALSE, MarkName(GetCurrentProcessId()).c_str()));
}

bool RunsThisProgram(std::uint32_t processId) {
  UniqueHandle mark(OpenEventA(SYNCHRONIZE, FALSE, MarkName(processId).c_str()));
  // A mark made by another account's run may refuse this one access: it
  // exists all the same.
  return mark || GetLastError() == ERROR_ACCESS_DENIED;
}
