#pragma once

#include "taskgate_core_export.h"

#include "db/DataSet.h"

namespace tg::db {

// A data set over a SELECT text. Posted rows are written to the update
// table: the one set, or else the first table the text reads FROM.
class TASKGATE_CORE_EXPORT QueryDataSet : public DataSet {
    Q_OBJECT

public:
    explicit QueryDataSet(Database *database = nullptr, Transaction *transaction = nullptr);

    bool isTable() const override { return false; }
    // The statement's lines; changing them takes effect at the next open.
    QStringList &sql() { return m_sql; }
    const QStringList &sql() const { return m_sql; }
    void setUpdateTable(const QString &name) { m_updateTable = name; }
    QString tableName() const override;

protected:
    QStringList selectStatement() const override { return m_sql; }

private:
    QStringList m_sql;
    QString m_updateTable;
};

} // namespace tg::db
