#pragma once

#include "taskgate_core_export.h"

#include <QDateTime>

namespace tg {

// The workstation's local date and time, replaceable by tests.
class TASKGATE_CORE_EXPORT Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;

    static Clock &current();
    static void install(Clock *clock); // nullptr restores the system clock
};

} // namespace tg
