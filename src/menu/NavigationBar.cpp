#include "menu/NavigationBar.h"

#include <QApplication>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace tg {

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

void NavigationBar::clear()
{
    for (const Group &group : std::as_const(m_groups))
        delete group.box;
    m_groups.clear();
    m_activeGroup = -1;
}

int NavigationBar::addGroup(const QString &caption, int tag)
{
    auto *box = new QWidget(m_content);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->setSpacing(0);
    auto *header = new QToolButton(box);
    header->setText(caption);
    header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    header->setAutoRaise(true);
    header->setIconSize(QSize(LargeImageSize, LargeImageSize));
    header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    header->setProperty("tag", tag);
    layout->addWidget(header);
    auto *links = new QVBoxLayout();
    links->setContentsMargins(12, 0, 0, 0);
    layout->addLayout(links);
    m_layout->insertWidget(m_layout->count() - 1, box);
    // A layout of a visible bar shows a new child only once the event loop
    // runs; shown now, the group counts at once (activeGroup()).
    box->show();
    const int index = static_cast<int>(m_groups.size());
    m_groups.append({box, header, links, tag});
    connect(header, &QToolButton::clicked, this, [this, box] {
        for (int i = 0; i < m_groups.size(); ++i) {
            if (m_groups[i].box == box) {
                m_activeGroup = i;
                emit groupClicked(m_groups[i].tag);
            }
        }
    });
    return index;
}

QString NavigationBar::groupCaption(int group) const
{
    return m_groups.at(group).header->text();
}

void NavigationBar::setGroupImageIndex(int group, int index)
{
    Group &target = m_groups[group];
    target.imageIndex = index;
    target.header->setIcon(index >= 0 && index < m_largeImages.size() ? QIcon(m_largeImages[index]) : QIcon());
}

int NavigationBar::activeGroup() const
{
    if (m_activeGroup >= 0 && m_activeGroup < m_groups.size())
        return m_activeGroup;
    for (int i = 0; i < m_groups.size(); ++i) {
        if (!m_groups[i].box->isHidden())
            return i;
    }
    return -1;
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
    const int groupTag = target.tag;
    connect(link, &QToolButton::clicked, this, [this, groupTag, tag] { emit linkClicked(groupTag, tag); });
    target.links->addWidget(link);
    return link;
}

QList<QToolButton *> NavigationBar::links(int group) const
{
    QList<QToolButton *> result;
    const QVBoxLayout *layout = m_groups.at(group).links;
    for (int i = 0; i < layout->count(); ++i) {
        if (auto *link = qobject_cast<QToolButton *>(layout->itemAt(i)->widget()))
            result << link;
    }
    return result;
}

void NavigationBar::clearImages()
{
    m_largeImages.clear();
    m_smallImages.clear();
}

int NavigationBar::addImage(const QIcon &icon)
{
    const int small = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
    m_largeImages << icon.pixmap(LargeImageSize, LargeImageSize);
    m_smallImages << icon.pixmap(small, small);
    return static_cast<int>(m_largeImages.size()) - 1;
}

void NavigationBar::setEntryPointSize(int points)
{
    m_entryPointSize = points;
    for (int group = 0; group < m_groups.size(); ++group) {
        for (QToolButton *link : links(group))
            applyEntryFont(link);
    }
}

void NavigationBar::applyEntryFont(QToolButton *link) const
{
    QFont font = link->font();
    font.setPointSize(m_entryPointSize);
    link->setFont(font);
}

} // namespace tg
