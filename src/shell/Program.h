#pragma once

#include <functional>

namespace tg {

class TBaseMainForm;

// The program's run: the edition, the application with its top-level error
// report, the message boxes, the main window and the event loop, which ends
// with the main window. `started`, when given, is called once the main
// window is on screen (a test drives the program from there). Returns the
// process's exit status.
int runProgram(int &argc, char **argv, const std::function<void(TBaseMainForm &)> &started = {});

} // namespace tg
