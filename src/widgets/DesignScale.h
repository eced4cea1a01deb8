#pragma once

#include <QList>
#include <QSize>

class QWidget;

namespace tg {

// The system screens are designed around an 11-pixel text. Shown in a
// larger font (the program's font grows with the screen), their lengths
// grow by as much as a line of that font is taller than the designed one;
// never less than the design.
class DesignScale {
public:
    explicit DesignScale(const QWidget &widget);

    double factor() const { return m_factor; }
    // A designed length grown by the factor, rounded to the nearest pixel.
    int operator()(int length) const;
    // A designed client size grown by the factor, within the screen's
    // room for a window and its frame.
    QSize windowSize(QSize designed, QSize screen) const;

private:
    double m_factor = 1.0;
};

// A button's width: the designed one grown, or more if its caption needs it.
int buttonWidth(const QWidget &button, const DesignScale &scale, int designed);

} // namespace tg

class QLabel;
class QPushButton;

namespace tg {

// The layout of the grid screens (open sessions, semaphores): a note above a
// grid that follows all four edges, a column of buttons along the right edge
// level with the grid's top, and the closing button in the bottom right
// corner. The distances are the designed ones, grown by the scale; the
// buttons are as wide as the widest caption needs.
struct GridScreenDesign {
    int gridToButtons = 6; // between the grid and the buttons
    int gridBottom = 4;    // below the grid
};
void placeGridScreen(QWidget &screen, QLabel *note, QWidget *grid, const QList<QPushButton *> &buttons,
                     QPushButton *closeButton, const GridScreenDesign &design);

} // namespace tg
