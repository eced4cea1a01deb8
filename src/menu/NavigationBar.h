#pragma once

#include <QIcon>
#include <QScrollArea>

class QVBoxLayout;
class QToolButton;

namespace tg {

// The navigation bar: groups, each a bold header with a large image, and
// below it the group's entries as links. Every group and link carries the key
// of its database row as its tag.
class NavigationBar : public QScrollArea {
    Q_OBJECT

public:
    explicit NavigationBar(QWidget *parent = nullptr);

    int addGroup(const QString &caption, const QIcon &largeImage, int tag);
    QToolButton *addLink(int group, const QString &caption, int tag);
    void clear();
    int groupCount() const { return static_cast<int>(m_groups.size()); }

    // Font size of the entries in every state (normal, hot, pressed, disabled).
    void setEntryPointSize(int points);
    int entryPointSize() const { return m_entryPointSize; }
    // How many groups the navigation pane shows at most; 0 shows none.
    void setMaxVisibleGroups(int count) { m_maxVisibleGroups = count; }
    int maxVisibleGroups() const { return m_maxVisibleGroups; }

signals:
    void linkClicked(int tag);

private:
    struct Group {
        QWidget *box;
        QVBoxLayout *links;
    };
    void applyEntryFont(QToolButton *link) const;

    QWidget *m_content;
    QVBoxLayout *m_layout;
    QVector<Group> m_groups;
    int m_entryPointSize = 8;
    int m_maxVisibleGroups = 0;
};

} // namespace tg
