// Each process of this program (setup, uninstaller, temporary copy) carries a
// named mark with its process identifier, so that another run recognises it
// from outside and never takes it for a copy of the application: the
// closing pass would otherwise close a wizard or a message box titled
// "Orvelle..." and terminate a run in the middle of its work.
#pragma once
#include <cstdint>

#include "common/handle.h"

// Marks the current process for as long as the handle lives (the process's
// whole life: the system removes the mark however the process ends).
UniqueHandle MarkThisProcess();

// True when the process carries the mark: it runs this program.
bool RunsThisProgram(std::uint32_t processId);
