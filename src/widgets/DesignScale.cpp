#include "widgets/DesignScale.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>

namespace tg {
namespace {

constexpr int DesignedTextPixels = 11;
// What a window manager's frame and title bar take of the screen.
const QSize FrameRoom(16, 40);

} // namespace

DesignScale::DesignScale(const QWidget &widget)
{
    QFont designed = widget.font();
    designed.setPixelSize(DesignedTextPixels);
    const int designedLine = QFontMetrics(designed).height();
    const int line = widget.fontMetrics().height();
    if (designedLine > 0)
        m_factor = std::max(1.0, static_cast<double>(line) / designedLine);
}

int DesignScale::operator()(int length) const
{
    return static_cast<int>(std::lround(length * m_factor));
}

QSize DesignScale::windowSize(QSize designed, QSize screen) const
{
    const QSize grown((*this)(designed.width()), (*this)(designed.height()));
    if (!screen.isValid())
        return grown;
    return grown.boundedTo(screen - FrameRoom);
}

int buttonWidth(const QWidget &button, const DesignScale &scale, int designed)
{
    int caption = 0;
    if (const auto *push = qobject_cast<const QPushButton *>(&button)) {
        // The caption's width as the style frames it, its access-key mark
        // not counted.
        QString text = push->text();
        text.remove(QLatin1Char('&'));
        QStyleOptionButton option;
        option.initFrom(push);
        const QSize content(push->fontMetrics().horizontalAdvance(text) + push->iconSize().width()
                                + (push->icon().isNull() ? 0 : 4),
                            push->fontMetrics().height());
        caption = push->style()->sizeFromContents(QStyle::CT_PushButton, &option, content, push).width();
    }
    return std::max(scale(designed), caption);
}

void placeGridScreen(QWidget &screen, QLabel *note, QWidget *grid, const QList<QPushButton *> &buttons,
                     QPushButton *closeButton, const GridScreenDesign &design)
{
    const DesignScale scale(screen);
    QList<QPushButton *> all = buttons;
    all << closeButton;
    int width = 0;
    int height = scale(25);
    for (QPushButton *button : std::as_const(all)) {
        width = std::max(width, buttonWidth(*button, scale, 105));
        height = std::max(height, button->fontMetrics().height() + 8);
    }
    note->move(scale(8), scale(7));
    note->adjustSize();
    const int top = std::max(scale(24), note->geometry().bottom() + 1 + scale(2));
    const int buttonsLeft = screen.width() - scale(8) - width;
    grid->setGeometry(scale(8), top, std::max(0, buttonsLeft - scale(design.gridToButtons) - scale(8)),
                      std::max(0, screen.height() - scale(design.gridBottom) - top));
    int y = top;
    for (QPushButton *button : buttons) {
        button->setGeometry(buttonsLeft, y, width, height);
        y += height;
    }
    closeButton->setGeometry(buttonsLeft, screen.height() - scale(4) - height, width, height);
}

} // namespace tg
