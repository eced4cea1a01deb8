#include "menu/CatalogueModel.h"

#include "db/Query.h"

#include <limits>

namespace tg {
namespace {

int integerField(const db::Query &query, const char *column)
{
    return static_cast<int>(query.fieldByName(QLatin1String(column)).asInteger());
}

QString textField(const db::Query &query, const char *column)
{
    return query.fieldByName(QLatin1String(column)).asText();
}

// Runs the query and hands each row to `row`; the query is closed
// afterwards, also when a row throws.
template <typename RowFunction>
void readRows(db::Query &query, RowFunction row)
{
    query.open();
    try {
        query.fetchAll();
        for (; !query.eof(); query.next())
            row(query);
    } catch (...) {
        query.close();
        throw;
    }
    query.close();
}

template <typename RowFunction>
void readRows(db::Query &query, const QStringList &lines, RowFunction row)
{
    query.close();
    query.sql() = lines;
    readRows(query, row);
}

} // namespace

void CatalogueModel::loadPrograms(int project)
{
    m_programs.clear();
    const QString projectPrograms = QStringLiteral("SELECT PROGRAMMA FROM DETTPROGETTI");
    const QString ofProject = QStringLiteral("WHERE PROGETTO='%1')").arg(project);
    readRows(m_query,
             {QStringLiteral("SELECT CODICE,DESCRIZIONE,ICONA FROM PROGRAMMI WHERE CODICE IN("), projectPrograms,
              ofProject, QStringLiteral("ORDER BY CODICE")},
             [this](const db::Query &query) {
                 CatalogueProgram program;
                 program.code = integerField(query, "CODICE");
                 program.caption = textField(query, "DESCRIZIONE");
                 program.icon = textField(query, "ICONA");
                 m_programs << program;
             });
    if (m_programs.isEmpty())
        return;

    // The quick entries of every program read above, in one statement: the
    // same programs (joined, so that a program listed twice in the project
    // does not list its entries twice), ordered by program and entry.
    QHash<int, int> programIndex;
    for (int i = 0; i < m_programs.size(); ++i)
        programIndex.insert(m_programs[i].code, i);
    readRows(m_query,
             {QStringLiteral("SELECT M.PROGRAMMA,M.MENU,M.DESCRIZIONE FROM PROGRAMMI P"),
              QStringLiteral("JOIN DETTMENU M ON M.PROGRAMMA=P.CODICE"), QStringLiteral("WHERE P.CODICE IN("),
              projectPrograms, ofProject, QStringLiteral("AND(M.VOCERAPIDA='1')"),
              QStringLiteral("ORDER BY M.PROGRAMMA,M.MENU")},
             [this, &programIndex](const db::Query &query) {
                 CatalogueEntry entry;
                 entry.program = integerField(query, "PROGRAMMA");
                 entry.menu = integerField(query, "MENU");
                 entry.caption = textField(query, "DESCRIZIONE");
                 const auto index = programIndex.constFind(entry.program);
                 if (index != programIndex.cend())
                     m_programs[*index].quickEntries << entry;
             });
}

QList<int> CatalogueModel::programCodes() const
{
    QList<int> codes;
    codes.reserve(m_programs.size());
    for (const CatalogueProgram &program : m_programs)
        codes << program.code;
    return codes;
}

quint64 CatalogueModel::childKey(qint64 parentMenu, qint64 childLevel)
{
    return (static_cast<quint64>(static_cast<quint32>(parentMenu)) << 32) | static_cast<quint32>(childLevel);
}

void CatalogueModel::loadMenu(int program)
{
    m_menuLoaded = false;
    m_topLevel.clear();
    m_children.clear();
    // The statement is prepared once on the connection and run for each
    // program, in the transaction of the other reads.
    if (m_treeQuery.database() != m_query.database()) {
        m_treeQuery.unprepare();
        m_treeQuery.setDatabase(m_query.database());
    }
    m_treeQuery.setTransaction(m_query.transaction());
    if (!m_treeQuery.prepared()) {
        m_treeQuery.sql() =
            QStringList{QStringLiteral("SELECT MENU,MENUPREC,LIVELLOMENU,DESCRIZIONE,LIVELLO2VERSIONE FROM DETTMENU WHERE"),
                        QStringLiteral("(PROGRAMMA=:PROGRAMMA)AND(VISIBILE='1')"), QStringLiteral("ORDER BY MENU")};
        m_treeQuery.prepare();
    }
    m_treeQuery.setParam(QStringLiteral("PROGRAMMA"), program);
    readRows(m_treeQuery, [this, program](const db::Query &query) {
                 const db::FieldValue parent = query.fieldByName(QStringLiteral("MENUPREC"));
                 const db::FieldValue level = query.fieldByName(QStringLiteral("LIVELLOMENU"));
                 // A row without a level is neither at the top nor below
                 // anything; so is a row below the top without a parent.
                 if (level.isNull())
                     return;
                 CatalogueEntry entry;
                 entry.program = program;
                 entry.menu = integerField(query, "MENU");
                 entry.level = static_cast<int>(level.asInteger());
                 entry.caption = textField(query, "DESCRIZIONE");
                 entry.secondLevel = textField(query, "LIVELLO2VERSIONE") == QLatin1String("1");
                 if (parent.isNull()) {
                     if (entry.level == 0)
                         m_topLevel << entry;
                     return;
                 }
                 m_children[childKey(parent.asInteger(), entry.level)] << entry;
             });
    m_menuProgram = program;
    m_menuLoaded = true;
}

QVector<CatalogueEntry> CatalogueModel::children(int menu, int level) const
{
    // Levels past the largest integer have no rows.
    if (level == std::numeric_limits<int>::max())
        return {};
    return m_children.value(childKey(menu, static_cast<qint64>(level) + 1));
}

bool CatalogueModel::hasChildren(int menu, int level) const
{
    return !children(menu, level).isEmpty();
}

void CatalogueModel::release()
{
    m_treeQuery.close();
    m_treeQuery.unprepare();
}

} // namespace tg
