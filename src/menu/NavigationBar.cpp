#include "menu/NavigationBar.h"

#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace tg {
namespace {
constexpr int LargeImageSize = 32;
}

NavigationBar::NavigationBar(QWidget *parent) : QScrollArea(parent)
{
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    m_content = new QWidget(this);
    m_layout = new QVBoxLayout(m_content);
    m_layout->setContentsMargins(4, 4, 4, 4);
    m_layout->addStretch();
    setWidget(m_content);
}

int NavigationBar::addGroup(const QString &caption, const QIcon &largeImage, int tag)
{
    auto *box = new QWidget(m_content);
    box->setProperty("tag", tag);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 6);
    auto *header = new QLabel(caption, box);
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    header->setObjectName(QStringLiteral("header"));
    layout->addWidget(header);
    if (!largeImage.isNull()) {
        auto *image = new QLabel(box);
        image->setPixmap(largeImage.pixmap(LargeImageSize, LargeImageSize));
        layout->addWidget(image);
    }
    auto *links = new QVBoxLayout();
    layout->addLayout(links);
    m_layout->insertWidget(m_layout->count() - 1, box);
    m_groups.append({box, links});
    return static_cast<int>(m_groups.size()) - 1;
}

QToolButton *NavigationBar::addLink(int group, const QString &caption, int tag)
{
    Group &target = m_groups[group];
    auto *link = new QToolButton(target.box);
    link->setText(caption);
    link->setAutoRaise(true);
    link->setCursor(Qt::PointingHandCursor);
    link->setProperty("tag", tag);
    applyEntryFont(link);
    connect(link, &QToolButton::clicked, this, [this, tag] { emit linkClicked(tag); });
    target.links->addWidget(link);
    return link;
}

void NavigationBar::clear()
{
    for (const Group &group : std::as_const(m_groups))
        delete group.box;
    m_groups.clear();
}

void NavigationBar::setEntryPointSize(int points)
{
    m_entryPointSize = points;
    for (QToolButton *link : m_content->findChildren<QToolButton *>())
        applyEntryFont(link);
}

void NavigationBar::applyEntryFont(QToolButton *link) const
{
    QFont font = link->font();
    font.setPointSize(m_entryPointSize);
    link->setFont(font);
}

} // namespace tg
