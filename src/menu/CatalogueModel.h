#pragma once

#include "taskgate_core_export.h"

#include "db/Query.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QVector>

namespace tg {

// A DETTMENU row as the catalogue shows it: its key, its stored caption
// (translations are the caller's), and for menu entries its level and
// whether it runs in the second-level form.
struct TASKGATE_CORE_EXPORT CatalogueEntry {
    int program = 0;
    int menu = 0;
    int level = 0;
    QString caption;
    bool secondLevel = false; // LIVELLO2VERSIONE is exactly "1"
};

// A program of the project with its quick entries in MENU order. The quick
// entries are chosen by VOCERAPIDA alone, visible or not.
struct TASKGATE_CORE_EXPORT CatalogueProgram {
    int code = 0;
    QString caption;
    QString icon;
    QVector<CatalogueEntry> quickEntries;
};

// The catalogue of a project and the menu tree of one of its programs, read
// in bulk and resolved in memory: the programs and all their quick entries
// in two statements, a program's visible entries in one. The tree follows
// the stored links: a top-level entry has LIVELLOMENU 0 and no MENUPREC, the
// children of an entry at level n have LIVELLOMENU n+1 and its MENU in
// MENUPREC; only visible rows take part, siblings in MENU order.
//
// The reads run on the database and in the transaction of the query given,
// so they see what the window's own statements see.
class TASKGATE_CORE_EXPORT CatalogueModel {
public:
    explicit CatalogueModel(db::Query &query) : m_query(query) {}

    // The programs of the project in CODICE order, with their quick entries.
    void loadPrograms(int project);
    const QVector<CatalogueProgram> &programs() const { return m_programs; }
    QList<int> programCodes() const;

    // The visible entries of one program.
    void loadMenu(int program);
    // The program whose entries were read last; false before any read.
    bool holdsMenuOf(int program) const { return m_menuLoaded && m_menuProgram == program; }
    const QVector<CatalogueEntry> &topLevelEntries() const { return m_topLevel; }
    // The visible entries one level below (menu, level), in MENU order.
    QVector<CatalogueEntry> children(int menu, int level) const;
    bool hasChildren(int menu, int level) const;

    // Lets the statement kept prepared go, before its connection closes.
    void release();

private:
    static quint64 childKey(qint64 parentMenu, qint64 childLevel);

    db::Query &m_query;
    db::Query m_treeQuery;
    QVector<CatalogueProgram> m_programs;
    bool m_menuLoaded = false;
    int m_menuProgram = 0;
    QVector<CatalogueEntry> m_topLevel;
    QHash<quint64, QVector<CatalogueEntry>> m_children;
};

} // namespace tg
