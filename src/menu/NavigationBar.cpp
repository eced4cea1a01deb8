#include "menu/NavigationBar.h"

#include <QApplication>
#include <algorithm>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace tg {
namespace {

// A header or a link of the bar. Enter runs it as Space does; with the focus
// it is drawn in the selection colour, so that a keyboard user sees at once
// which entry Enter runs.
class NavigationEntry : public QToolButton {
public:
    explicit NavigationEntry(QWidget *parent) : QToolButton(parent) { setAutoRaise(true); }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !event->isAutoRepeat()) {
            click();
            return;
        }
        QToolButton::keyPressEvent(event);
    }

    void paintEvent(QPaintEvent *event) override
    {
        if (!hasFocus()) {
            QToolButton::paintEvent(event);
            return;
        }
        QStylePainter painter(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        const QColor highlight = palette().color(QPalette::Active, QPalette::Highlight);
        const QColor text = palette().color(QPalette::Active, QPalette::HighlightedText);
        painter.fillRect(rect(), highlight);
        for (QPalette::ColorRole role : {QPalette::ButtonText, QPalette::WindowText, QPalette::Text})
            option.palette.setColor(role, text);
        option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver | QStyle::State_Sunken);
        painter.drawControl(QStyle::CE_ToolButtonLabel, option);
    }
};

} // namespace

NavigationBar::NavigationBar(QWidget *parent) : QScrollArea(parent)
{
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    m_content = new QWidget(this);
    m_layout = new QVBoxLayout(m_content);
    m_layout->setContentsMargins(4, 4, 4, 4);
    m_layout->addStretch();
    setWidget(m_content);
    // Where a dragged entry would go: a line in the selection colour.
    m_dropLine = new QWidget(m_content);
    m_dropLine->setObjectName(QStringLiteral("DropLine"));
    m_dropLine->setAutoFillBackground(true);
    QPalette linePalette = m_dropLine->palette();
    linePalette.setColor(QPalette::Window, linePalette.color(QPalette::Active, QPalette::Highlight));
    m_dropLine->setPalette(linePalette);
    m_dropLine->hide();
}

void NavigationBar::clear()
{
    endDrag();
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
    auto *header = new NavigationEntry(box);
    header->setText(caption);
    header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    header->setIconSize(QSize(LargeImageSize, LargeImageSize));
    header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    header->setProperty("tag", tag);
    header->installEventFilter(this);
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
        const int group = groupOfBox(box);
        if (group >= 0) {
            m_activeGroup = group;
            emit groupClicked(m_groups[group].tag);
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

int NavigationBar::groupOfBox(const QWidget *box) const
{
    for (int i = 0; i < m_groups.size(); ++i) {
        if (m_groups[i].box == box)
            return i;
    }
    return -1;
}

QToolButton *NavigationBar::addLink(int group, const QString &caption, int tag)
{
    Group &target = m_groups[group];
    auto *link = new NavigationEntry(target.box);
    link->setText(caption);
    link->setCursor(Qt::PointingHandCursor);
    link->setProperty("tag", tag);
    link->installEventFilter(this);
    applyEntryFont(link);
    // The function is the entry's own: it keeps its program when it is
    // dragged into another group.
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

QList<int> NavigationBar::shownGroupOrder() const
{
    QList<int> order;
    for (int i = 0; i < m_layout->count(); ++i) {
        const int group = groupOfBox(m_layout->itemAt(i)->widget());
        if (group >= 0)
            order << group;
    }
    return order;
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

bool NavigationBar::eventFilter(QObject *watched, QEvent *event)
{
    // A press on a header or a link may become a drag once the pointer has
    // moved the toolkit's drag distance; the release then drops the entry
    // and is kept from the button, so that the drag runs nothing.
    auto *entry = qobject_cast<QToolButton *>(watched);
    if (!entry)
        return QScrollArea::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            endDrag();
            m_pressed = entry;
            m_pressPoint = mouse->globalPosition().toPoint();
        }
        break;
    }
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (entry != m_pressed || !(mouse->buttons() & Qt::LeftButton))
            break;
        const QPoint global = mouse->globalPosition().toPoint();
        if (!m_dragging) {
            if ((global - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
                break;
            m_dragging = true;
            entry->setDown(false);
            QApplication::setOverrideCursor(Qt::ClosedHandCursor);
        }
        DropPlace place;
        if (dropPlaceAt(m_content->mapFromGlobal(global), place))
            showDropLine(place);
        else
            m_dropLine->hide();
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (entry != m_pressed || mouse->button() != Qt::LeftButton)
            break;
        if (!m_dragging) {
            m_pressed = nullptr; // a click: the button runs it
            break;
        }
        DropPlace place;
        const bool inside = dropPlaceAt(m_content->mapFromGlobal(mouse->globalPosition().toPoint()), place);
        if (inside)
            dropAt(place);
        endDrag();
        return true;
    }
    default:
        break;
    }
    return QScrollArea::eventFilter(watched, event);
}

bool NavigationBar::dropPlaceAt(QPoint contentPoint, DropPlace &place) const
{
    // Only inside the bar's visible area: a drag has no effect beyond it.
    if (!m_pressed || !viewport()->rect().contains(m_content->mapTo(viewport(), contentPoint)))
        return false;
    const int y = contentPoint.y();
    const QList<int> order = shownGroupOrder();
    QList<int> shown;
    for (int group : order) {
        if (!m_groups[group].box->isHidden())
            shown << group;
    }
    if (shown.isEmpty())
        return false;
    const int dragged = groupOfBox(m_pressed->parentWidget());
    if (dragged >= 0 && m_groups[dragged].header == m_pressed) {
        // A header: before the first shown group whose middle lies below
        // the point, or after the last one.
        place.group = dragged;
        place.position = m_layout->count() - 1; // before the closing stretch
        for (int group : shown) {
            const QWidget *box = m_groups[group].box;
            if (y < box->geometry().center().y()) {
                place.position = m_layout->indexOf(box);
                break;
            }
        }
        return true;
    }
    // A link: into the group whose area holds the point (the nearest one
    // above or below the groups), before the first link whose middle lies
    // below it.
    int target = shown.first();
    for (int group : shown) {
        if (y >= m_groups[group].box->geometry().top())
            target = group;
    }
    const Group &group = m_groups[target];
    place.group = target;
    place.position = group.links->count();
    for (int i = 0; i < group.links->count(); ++i) {
        const QWidget *link = group.links->itemAt(i)->widget();
        if (link && y < group.box->mapTo(m_content, link->geometry().center()).y()) {
            place.position = i;
            break;
        }
    }
    return true;
}

void NavigationBar::showDropLine(const DropPlace &place)
{
    const Group &group = m_groups[place.group];
    const int thickness = std::max(2, fontMetrics().height() / 6);
    int y = 0;
    int left = 0;
    if (group.header == m_pressed) {
        // Above the group it goes before, or under the last one.
        const int stretch = m_layout->count() - 1;
        if (place.position < stretch)
            y = m_layout->itemAt(place.position)->widget()->geometry().top();
        else if (stretch > 0)
            y = m_layout->itemAt(stretch - 1)->widget()->geometry().bottom();
    } else {
        left = group.links->contentsMargins().left();
        if (place.position < group.links->count())
            y = group.box->mapTo(m_content, group.links->itemAt(place.position)->widget()->geometry().topLeft()).y();
        else if (group.links->count() > 0)
            y = group.box->mapTo(m_content,
                                 group.links->itemAt(group.links->count() - 1)->widget()->geometry().bottomLeft())
                    .y();
        else
            y = group.box->mapTo(m_content, group.header->geometry().bottomLeft()).y();
    }
    m_dropLine->setGeometry(left, y - thickness / 2, m_content->width() - left, thickness);
    m_dropLine->show();
    m_dropLine->raise();
}

void NavigationBar::dropAt(const DropPlace &place)
{
    Group &target = m_groups[place.group];
    int position = place.position;
    if (target.header == m_pressed) {
        const int from = m_layout->indexOf(target.box);
        if (from < position)
            --position;
        m_layout->removeWidget(target.box);
        m_layout->insertWidget(position, target.box);
    } else {
        QToolButton *link = m_pressed;
        const int from = target.links->indexOf(link);
        if (from >= 0 && from < position)
            --position;
        for (Group &group : m_groups)
            group.links->removeWidget(link);
        link->setParent(target.box);
        target.links->insertWidget(position, link);
        link->show();
    }
    chainFocusInShownOrder();
}

void NavigationBar::endDrag()
{
    if (m_dragging)
        QApplication::restoreOverrideCursor();
    m_dragging = false;
    m_pressed = nullptr;
    if (m_dropLine)
        m_dropLine->hide();
}

void NavigationBar::chainFocusInShownOrder()
{
    // Tab goes through the entries as they are shown, top to bottom.
    QWidget *previous = nullptr;
    for (int group : shownGroupOrder()) {
        QList<QWidget *> entries{m_groups[group].header};
        for (QToolButton *link : links(group))
            entries << link;
        for (QWidget *entry : entries) {
            if (previous)
                QWidget::setTabOrder(previous, entry);
            previous = entry;
        }
    }
}

} // namespace tg
