#include "platform/NativeWindows.h"

namespace tg {
namespace {

NativeWindows::Test installedTest = nullptr;
NativeWindows::Test windowSystemTest = nullptr;

} // namespace

bool NativeWindows::exists(qint64 handle)
{
    if (installedTest)
        return installedTest(handle);
    return windowSystemTest ? windowSystemTest(handle) : false;
}

void NativeWindows::install(Test test)
{
    installedTest = test;
}

void NativeWindows::registerWindowSystem(Test lookUp)
{
    windowSystemTest = lookUp;
}

} // namespace tg
