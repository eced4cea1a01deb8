#pragma once

#include "taskgate_core_export.h"

#include <QtGlobal>

namespace tg {

// Native window handles: does a handle still name a window of this process.
// Plug-in windows live in the same process, so a handle is a widget's winId().
class TASKGATE_CORE_EXPORT NativeWindows {
public:
    using Test = bool (*)(qint64 handle);
    static bool exists(qint64 handle);
    static void install(Test test); // nullptr restores the window system's look-up
    // The window system's look-up, registered by the widget half of the
    // program (registerWindowSystemLookUp); until then no handle names a window.
    static void registerWindowSystem(Test lookUp);
};

// Registers the look-up through the widget toolkit and, under X11, the X
// server (NativeWindowLookUp.cpp, in the widget half of the platform).
TASKGATE_CORE_EXPORT void registerWindowSystemLookUp();

} // namespace tg
