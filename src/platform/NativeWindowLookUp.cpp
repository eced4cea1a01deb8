#include "platform/NativeWindows.h"

#include <QApplication>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <QWidget>

#ifdef TASKGATE_HAVE_XCB
#include <cstdlib>
#include <xcb/xcb.h>
#endif

namespace tg {
namespace {

// A live, shown top-level window of this process with that handle.
bool topLevelWindowOfThisProcess(qint64 handle)
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->internalWinId() != 0 && static_cast<qint64>(window->internalWinId()) == handle)
            return window->isVisible();
    }
    return false;
}

#ifdef TASKGATE_HAVE_XCB
// A window of any process that the X server still shows. Windows of this
// process that were closed are only unmapped, so a mapped state is required.
bool viewableX11Window(qint64 handle)
{
    if (!qApp || QGuiApplication::platformName() != QLatin1String("xcb") || handle <= 0 || handle > 0xFFFFFFFFLL)
        return false;
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    const auto cookie = xcb_get_window_attributes(connection, static_cast<xcb_window_t>(handle));
    xcb_get_window_attributes_reply_t *reply = xcb_get_window_attributes_reply(connection, cookie, nullptr);
    if (!reply)
        return false; // no such window
    const bool viewable = reply->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(reply);
    return viewable;
}
#endif

bool windowExists(qint64 handle)
{
    if (handle == 0)
        return false;
    if (topLevelWindowOfThisProcess(handle))
        return true;
#ifdef TASKGATE_HAVE_XCB
    return viewableX11Window(handle);
#else
    return false;
#endif
}

} // namespace

void registerWindowSystemLookUp()
{
    NativeWindows::registerWindowSystem(windowExists);
}

} // namespace tg
