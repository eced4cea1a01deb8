#pragma once

#include <QIcon>
#include <QPixmap>
#include <QScrollArea>

class QVBoxLayout;
class QToolButton;

namespace tg {

// The navigation bar: groups, each a bold header with its large image, and
// below it the group's entries as links. Groups and links carry the key of
// their database row as their tag. The bar keeps two image lists (large
// 32×32 and small) in which an image has the same index.
//
// Headers and links take the focus with Tab; Enter or Space runs the
// focused one, which shows in the selection colour. A header can be dragged
// to another place among the groups, a link within its group or into
// another one: only the bar's look changes. Group indexes stay those of the
// build, and a moved link still runs its own function.
class NavigationBar : public QScrollArea {
    Q_OBJECT

public:
    static constexpr int LargeImageSize = 32;

    explicit NavigationBar(QWidget *parent = nullptr);

    // Empties the groups (and their links).
    void clear();
    int addGroup(const QString &caption, int tag);
    int groupCount() const { return static_cast<int>(m_groups.size()); }
    int groupTag(int group) const { return m_groups.at(group).tag; }
    QString groupCaption(int group) const;
    QToolButton *groupHeader(int group) const { return m_groups.at(group).header; }
    void setGroupImageIndex(int group, int index);
    int groupImageIndex(int group) const { return m_groups.at(group).imageIndex; }
    // The active group: the one last clicked, or else the first visible one;
    // -1 when there is none.
    int activeGroup() const;

    QToolButton *addLink(int group, const QString &caption, int tag);
    // The links shown in a group, top to bottom (moved ones included).
    QList<QToolButton *> links(int group) const;
    // The groups in the order they are shown, as build indexes.
    QList<int> shownGroupOrder() const;

    // The image lists: an icon is added to both and gets one index.
    void clearImages();
    int addImage(const QIcon &icon);
    int imageCount() const { return static_cast<int>(m_largeImages.size()); }

    // Font size of the entries in every state (normal, hot, pressed, disabled).
    void setEntryPointSize(int points);
    int entryPointSize() const { return m_entryPointSize; }
    // How many groups the navigation pane shows at most; 0 shows none.
    void setMaxVisibleGroups(int count) { m_maxVisibleGroups = count; }
    int maxVisibleGroups() const { return m_maxVisibleGroups; }

signals:
    void groupClicked(int groupTag);
    void linkClicked(int groupTag, int linkTag);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Group {
        QWidget *box;
        QToolButton *header;
        QVBoxLayout *links;
        int tag;
        int imageIndex = -1;
    };
    void applyEntryFont(QToolButton *link) const;
    int groupOfBox(const QWidget *box) const;
    // Dragging: where the dragged entry would go for a point of the bar's
    // content (false when nowhere), the line that shows it, and the move.
    struct DropPlace {
        int group = -1;   // build index of the group
        int position = 0; // layout position among the groups or the group's links
    };
    bool dropPlaceAt(QPoint contentPoint, DropPlace &place) const;
    void showDropLine(const DropPlace &place);
    void dropAt(const DropPlace &place);
    void endDrag();
    void chainFocusInShownOrder();

    QToolButton *m_pressed = nullptr;
    QPoint m_pressPoint;
    bool m_dragging = false;
    QWidget *m_dropLine = nullptr;

    QWidget *m_content;
    QVBoxLayout *m_layout;
    QVector<Group> m_groups;
    QList<QPixmap> m_largeImages;
    QList<QPixmap> m_smallImages;
    int m_activeGroup = -1;
    int m_entryPointSize = 8;
    int m_maxVisibleGroups = 0;
};

} // namespace tg
