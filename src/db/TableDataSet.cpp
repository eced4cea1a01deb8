#include "db/TableDataSet.h"

#include "db/DatabaseError.h"

namespace tg::db {

TableDataSet::TableDataSet(Database *database, Transaction *transaction) : DataSet(database, transaction) {}

void TableDataSet::setTableName(const QString &name)
{
    if (name == m_tableName)
        return;
    close();
    m_tableName = name;
    m_indexName.clear();
    m_orderColumns.clear();
    m_orderDescending = false;
    m_indexesLoaded = false;
    m_indexes.clear();
}

QStringList TableDataSet::selectStatement() const
{
    QStringList lines{QStringLiteral("SELECT * FROM ") + m_tableName};
    if (!m_orderColumns.isEmpty()) {
        QStringList keys;
        for (const QString &column : m_orderColumns)
            keys << (m_orderDescending ? column + QStringLiteral(" DESC") : column);
        lines << QStringLiteral("ORDER BY ") + keys.join(QLatin1Char(','));
    }
    return lines;
}

void TableDataSet::loadIndexDefinitions()
{
    requireConnection();
    Query query(database(), transaction());
    query.sql() << QStringLiteral("SELECT I.RDB$INDEX_NAME, I.RDB$INDEX_TYPE, S.RDB$FIELD_NAME")
                << QStringLiteral("FROM RDB$INDICES I")
                << QStringLiteral("JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME=I.RDB$INDEX_NAME")
                << QStringLiteral("WHERE I.RDB$RELATION_NAME=:TABELLA")
                << QStringLiteral("ORDER BY I.RDB$INDEX_ID, S.RDB$FIELD_POSITION");
    query.prepare();
    query.setParam(QStringLiteral("TABELLA"), m_tableName.trimmed().toUpper());
    query.open();
    QList<IndexDefinition> indexes;
    for (; !query.eof(); query.next()) {
        const QString name = query.field(0).asText().trimmed();
        if (indexes.isEmpty() || indexes.last().name != name)
            indexes.append({name, {}, query.field(1).asInteger() == 1});
        indexes.last().columns << query.field(2).asText().trimmed();
    }
    m_indexes = indexes;
    m_indexesLoaded = true;
}

const QList<TableDataSet::IndexDefinition> &TableDataSet::indexDefinitions()
{
    if (!m_indexesLoaded)
        loadIndexDefinitions();
    return m_indexes;
}

QStringList TableDataSet::indexNames()
{
    QStringList names;
    for (const IndexDefinition &index : indexDefinitions())
        names << index.name;
    return names;
}

void TableDataSet::selectIndex(const QString &name)
{
    const IndexDefinition *chosen = nullptr;
    for (const IndexDefinition &index : indexDefinitions()) {
        if (index.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            chosen = &index;
    }
    if (!chosen)
        throw DatabaseError(QStringLiteral("Index '%1' not found in table %2").arg(name, m_tableName));
    m_indexName = chosen->name;
    m_orderColumns = chosen->columns;
    m_orderDescending = chosen->descending;
    if (!active())
        return;
    post();
    const QVariant current = bookmark();
    reload();
    if (!current.isNull())
        gotoBookmark(current);
}

void TableDataSet::deleteAll()
{
    requireConnection();
    Query statement(database(), transaction());
    statement.sql() << QStringLiteral("DELETE FROM ") + m_tableName;
    statement.execSql();
    if (active())
        clearRows();
}

} // namespace tg::db
