#include "platform/NativeWindows.h"

#include <QApplication>
#include <QWidget>

namespace tg {
namespace {

NativeWindows::Test installedTest = nullptr;

bool widgetWithHandleExists(qint64 handle)
{
    if (handle == 0)
        return false;
    const auto widgets = QApplication::allWidgets();
    for (QWidget *widget : widgets) {
        if (widget->internalWinId() != 0 && static_cast<qint64>(widget->internalWinId()) == handle)
            return true;
    }
    return false;
}

} // namespace

bool NativeWindows::exists(qint64 handle)
{
    return installedTest ? installedTest(handle) : widgetWithHandleExists(handle);
}

void NativeWindows::install(Test test)
{
    installedTest = test;
}

} // namespace tg
