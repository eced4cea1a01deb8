#include "platform/ScreenSize.h"

#include <QGuiApplication>
#include <QScreen>

namespace tg {
namespace {
QSize overriddenSize;
}

QSize ScreenSize::current()
{
    if (overriddenSize.isValid())
        return overriddenSize;
    if (QScreen *screen = QGuiApplication::primaryScreen())
        return screen->size();
    return QSize(800, 600);
}

void ScreenSize::override(QSize size)
{
    overriddenSize = size;
}

} // namespace tg
