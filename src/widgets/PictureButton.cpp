#include "widgets/PictureButton.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <algorithm>

namespace tg {

PictureButton::PictureButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    setFocusPolicy(Qt::StrongFocus);
    fitContents();
}

void PictureButton::setGlyph(const QPixmap &glyph)
{
    setIcon(QIcon(glyph));
    m_glyphSize = glyph.size();
    fitContents();
}

void PictureButton::fitContents()
{
    if (m_fitting)
        return;
    m_fitting = true;
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const int margin = style()->pixelMetric(QStyle::PM_ButtonMargin, &option, this);
    const int width = contents.width() - margin;
    const int height = contents.height();

    // The bitmap at its own size, or as large as the button lets it be.
    QSize glyph = m_glyphSize;
    if (glyph.isValid() && !glyph.isEmpty()) {
        const int side = std::max(0, std::min(height, width / 2));
        if (glyph.width() > side || glyph.height() > side)
            glyph.scale(side, side, Qt::KeepAspectRatio);
        setIconSize(glyph);
    }
    const int spacing = glyph.isValid() && !glyph.isEmpty() && !text().isEmpty() ? 4 : 0;
    const int textWidth = width - (glyph.isValid() ? glyph.width() : 0) - spacing;

    // The inherited font, made smaller step by step until the caption fits.
    QFont font = parentWidget() ? parentWidget()->font() : QFont();
    if (font.pointSizeF() > 0) {
        double points = font.pointSizeF();
        for (;;) {
            font.setPointSizeF(points);
            const QFontMetrics metrics(font);
            const QString caption = QString(text()).remove(QLatin1Char('&'));
            if ((metrics.horizontalAdvance(caption) <= textWidth && metrics.height() <= height)
                || points <= SmallestPointSize)
                break;
            points = std::max(SmallestPointSize, points * 0.9);
        }
        setFont(font);
    }
    m_fitting = false;
}

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    // Space runs the button as on any button; Enter does too.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !event->isAutoRepeat()) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void PictureButton::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    const int thickness = std::max(3, std::min(width(), height()) / 30);
    QPen pen(palette().color(QPalette::Active, QPalette::Highlight), thickness);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const int inset = thickness / 2 + 1;
    painter.drawRect(rect().adjusted(inset, inset, -inset - 1 + (thickness % 2), -inset - 1 + (thickness % 2)));
}

void PictureButton::resizeEvent(QResizeEvent *event)
{
    QPushButton::resizeEvent(event);
    fitContents();
}

void PictureButton::changeEvent(QEvent *event)
{
    QPushButton::changeEvent(event);
    // The window's font changed (or the style): the caption fits anew.
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::StyleChange)
        fitContents();
}

} // namespace tg
