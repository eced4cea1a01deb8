#pragma once

#include "taskgate_core_export.h"

#include "db/DataSet.h"

#include <QList>

namespace tg::db {

// A data set bound to a whole table: its rows are the table's, ordered by
// the index selected by name (none: the server's order). The index
// definitions are read from the database's system tables.
class TASKGATE_CORE_EXPORT TableDataSet : public DataSet {
    Q_OBJECT

public:
    struct IndexDefinition {
        QString name;
        QStringList columns;
        bool descending = false;
    };

    explicit TableDataSet(Database *database = nullptr, Transaction *transaction = nullptr);

    bool isTable() const override { return true; }
    void setTableName(const QString &name);
    QString tableName() const override { return m_tableName; }

    // The table's indexes in the order they were defined (the primary key
    // of a table created with it comes first). Read once, on first use.
    const QList<IndexDefinition> &indexDefinitions();
    QStringList indexNames();
    // Orders the rows by the columns of the named index; an open data set
    // is read again in that order and the current row stays current. Throws
    // DatabaseError for a name that is not one of the table's indexes.
    void selectIndex(const QString &name);
    const QString &indexName() const { return m_indexName; }

    // Deletes every row of the table in the data set's transaction.
    void deleteAll();

protected:
    QStringList selectStatement() const override;

private:
    void loadIndexDefinitions();

    QString m_tableName;
    QString m_indexName;
    QStringList m_orderColumns;
    bool m_orderDescending = false;
    bool m_indexesLoaded = false;
    QList<IndexDefinition> m_indexes;
};

} // namespace tg::db
