#pragma once
// The program's main sequence: title, main dialog (with the splash), lasting
// about box, run loop, and the end.

#include "forms/MainV310.h"

namespace vesk {

class TApplication;

// Runs the program on an application object that is already set up. Returns
// the process exit code: 0 once the main dialog has been closed, 1 after a
// failure that escaped start-up (shown by the last-resort handler).
int RunProgram(TApplication& application, PagesDlgOptions options = {});

}  // namespace vesk
