#include "shell/SpinButton.h"

#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolButton>
#include <algorithm>

namespace tg {
namespace {

// An arrow button whose arrow grows with the button: the style's own arrow
// keeps a few pixels whatever the button's size.
class ArrowButton : public QToolButton {
public:
    ArrowButton(Qt::ArrowType arrow, QWidget *parent) : QToolButton(parent) { setArrowType(arrow); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        option.arrowType = Qt::NoArrow;
        option.features &= ~QStyleOptionToolButton::Arrow;
        option.text.clear();
        option.icon = QIcon();
        painter.drawComplexControl(QStyle::CC_ToolButton, option);

        // A triangle of half the button's smaller side, centred.
        const qreal side = std::max(4, std::min(width(), height()) / 2);
        const QPointF centre = QRectF(rect()).center();
        const qreal half = side / 2.0;
        QPolygonF triangle;
        if (arrowType() == Qt::UpArrow)
            triangle << QPointF(centre.x() - half, centre.y() + half / 2) << QPointF(centre.x() + half, centre.y() + half / 2)
                     << QPointF(centre.x(), centre.y() - half / 2 - half / 2);
        else
            triangle << QPointF(centre.x() - half, centre.y() - half / 2) << QPointF(centre.x() + half, centre.y() - half / 2)
                     << QPointF(centre.x(), centre.y() + half / 2 + half / 2);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.drawPolygon(triangle);
    }
};

} // namespace

SpinButton::SpinButton(QWidget *parent) : QWidget(parent)
{
    m_up = new ArrowButton(Qt::UpArrow, this);
    m_up->setObjectName(QStringLiteral("UpButton"));
    m_down = new ArrowButton(Qt::DownArrow, this);
    m_down->setObjectName(QStringLiteral("DownButton"));
    connect(m_up, &QToolButton::clicked, this, &SpinButton::upClick);
    connect(m_down, &QToolButton::clicked, this, &SpinButton::downClick);
}

void SpinButton::resizeEvent(QResizeEvent *)
{
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}

} // namespace tg
