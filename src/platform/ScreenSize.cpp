#include "platform/ScreenSize.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tg {
namespace {
QSize overriddenSize;

QRect availableArea()
{
    if (overriddenSize.isValid())
        return QRect(QPoint(0, 0), overriddenSize);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        return screen->availableGeometry();
    return QRect(0, 0, 800, 600);
}

// Keeps the outer geometry of its window: the frame's thickness is known
// only once the window manager has framed the window on screen.
class OuterGeometry : public QObject {
public:
    OuterGeometry(QWidget &window, const QRect &outer) : QObject(&window), m_window(window), m_outer(outer)
    {
        window.installEventFilter(this);
    }
    void setOuter(const QRect &outer)
    {
        m_outer = outer;
        apply();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The toolkit learns the frame from the window manager without an
        // event of its own: any event of the window looks again (a cheap
        // reading of cached margins).
        Q_UNUSED(event);
        if (watched == &m_window && m_window.isVisible() && frame() != m_appliedFrame
            && !(m_window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            apply();
        return false;
    }

private:
    QSize frame() const { return m_window.frameGeometry().size() - m_window.size(); }
    void apply()
    {
        // The client area is placed inside the frame as the toolkit knows it
        // now: a move of the frame's position made before the window manager
        // framed the window may be taken as the client's, leaving the title
        // bar above the screen.
        m_appliedFrame = frame();
        const QPoint clientOffset = m_window.geometry().topLeft() - m_window.frameGeometry().topLeft();
        m_window.setGeometry(QRect(m_outer.topLeft() + clientOffset, m_outer.size() - m_appliedFrame));
    }

    QWidget &m_window;
    QRect m_outer;
    QSize m_appliedFrame{-1, -1};
};

} // namespace

QSize ScreenSize::current()
{
    return availableArea().size();
}

QPoint ScreenSize::origin()
{
    return availableArea().topLeft();
}

void ScreenSize::override(QSize size)
{
    overriddenSize = size;
}

void centreOnScreen(QWidget &window)
{
    const QRect area = availableArea();
    window.move(area.x() + (area.width() - window.width()) / 2, area.y() + (area.height() - window.height()) / 2);
}

void setOuterGeometry(QWidget &window, const QRect &outer)
{
    for (QObject *child : window.children()) {
        if (auto *keeper = dynamic_cast<OuterGeometry *>(child)) {
            keeper->setOuter(outer);
            return;
        }
    }
    (new OuterGeometry(window, outer))->setOuter(outer);
}

} // namespace tg
