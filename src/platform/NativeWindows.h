#pragma once

#include <QtGlobal>

namespace tg {

// Native window handles: does a handle still name a window of this process.
// Plug-in windows live in the same process, so a handle is a widget's winId().
class NativeWindows {
public:
    using Test = bool (*)(qint64 handle);
    static bool exists(qint64 handle);
    static void install(Test test); // nullptr restores the widget look-up
};

} // namespace tg
