#pragma once

#include <QSize>

class QWidget;

namespace tg {

// The size of the workstation's screen in pixels, replaceable by tests.
class ScreenSize {
public:
    static QSize current();
    static void override(QSize size); // an invalid size restores the real screen
};

// Moves a window to the centre of the screen.
void centreOnScreen(QWidget &window);

} // namespace tg
