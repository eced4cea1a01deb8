#include "shell/SpinButton.h"

#include <QToolButton>

namespace tg {

SpinButton::SpinButton(QWidget *parent) : QWidget(parent)
{
    m_up = new QToolButton(this);
    m_up->setArrowType(Qt::UpArrow);
    m_up->setObjectName(QStringLiteral("UpButton"));
    m_down = new QToolButton(this);
    m_down->setArrowType(Qt::DownArrow);
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
