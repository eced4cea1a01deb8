#include "platform/ScreenSize.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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

void centreOnScreen(QWidget &window)
{
    const QSize screen = ScreenSize::current();
    window.move((screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2);
}

} // namespace tg
