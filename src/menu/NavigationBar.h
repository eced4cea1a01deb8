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
    QList<QToolButton *> links(int group) const;

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

private:
    struct Group {
        QWidget *box;
        QToolButton *header;
        QVBoxLayout *links;
        int tag;
        int imageIndex = -1;
    };
    void applyEntryFont(QToolButton *link) const;

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
