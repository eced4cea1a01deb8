#pragma once

#include "taskgate_core_export.h"

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace tg {

// The part of the workstation's screen that windows may take (without the
// panels and task bars of the desktop), replaceable by tests.
class TASKGATE_CORE_EXPORT ScreenSize {
public:
    // Its size in pixels.
    static QSize current();
    // Its top-left corner.
    static QPoint origin();
    static void override(QSize size); // an invalid size restores the real screen
};

// Moves a window to the centre of the screen.
TASKGATE_CORE_EXPORT void centreOnScreen(QWidget &window);

// Gives a top-level window the outer geometry `outer`, frame included: the
// frame that a window manager adds is taken from the window's client area,
// not added to it, so that the whole window (title bar too) stays where it
// was placed. The frame is known only once the window is on screen, so the
// geometry is applied again whenever the frame changes.
TASKGATE_CORE_EXPORT void setOuterGeometry(QWidget &window, const QRect &outer);

} // namespace tg
