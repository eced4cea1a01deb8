#include "platform/Clock.h"

namespace tg {
namespace {

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

SystemClock systemClock;
Clock *installedClock = nullptr;

} // namespace

Clock &Clock::current()
{
    return installedClock ? *installedClock : systemClock;
}

void Clock::install(Clock *clock)
{
    installedClock = clock;
}

} // namespace tg
