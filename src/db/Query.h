#pragma once

#include "taskgate_core_export.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <QTime>
#include <QVariant>
#include <QVector>
#include <memory>

namespace tg::db {

class Database;
class Transaction;

// One value of a row. Text is how the suite's programs read any column:
// NULL → empty, integers in decimal, DATE dd/MM/yyyy, TIME hh:mm:ss,
// TIMESTAMP dd/MM/yyyy hh:mm:ss, blobs as their text.
class TASKGATE_CORE_EXPORT FieldValue {
public:
    FieldValue() = default;
    explicit FieldValue(QVariant value) : m_value(std::move(value)) {}

    bool isNull() const { return m_value.isNull() || !m_value.isValid(); }
    QString asText() const;
    // The value as an integer; NULL and the empty text read as 0; a text that
    // is not an integer throws DatabaseError (a conversion error).
    qint64 asInteger() const;
    const QVariant &raw() const { return m_value; }

private:
    QVariant m_value;
};

// A statement on a database and a transaction. The statement text is a list
// of lines joined with line breaks. open() runs a SELECT and fetches its first
// row; execSql() runs a statement that returns no rows.
class TASKGATE_CORE_EXPORT Query {
public:
    Query(Database *database = nullptr, Transaction *transaction = nullptr);
    ~Query();
    Query(const Query &) = delete;
    Query &operator=(const Query &) = delete;

    void setDatabase(Database *database) { m_database = database; }
    Database *database() const { return m_database; }
    // Binds the query to a transaction; nullptr means the database's default.
    void setTransaction(Transaction *transaction);
    Transaction *transaction() const;

    QStringList &sql() { return m_sql; }
    const QStringList &sql() const { return m_sql; }
    QString statementText() const { return m_sql.join(QLatin1Char('\n')); }

    void open();
    void execSql();
    void close();
    bool active() const { return m_active; }

    // Row navigation over the rows fetched so far (fetching on demand).
    bool eof() const { return m_eof; }
    void next();
    void fetchAll();
    int recordCount() const { return static_cast<int>(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }

    int fieldCount() const { return static_cast<int>(m_fieldNames.size()); }
    QString fieldName(int index) const { return m_fieldNames.value(index); }
    int fieldIndex(const QString &name) const; // -1 when absent; case-insensitive
    FieldValue field(int index) const;
    // Throws DatabaseError when the field does not exist.
    FieldValue fieldByName(const QString &name) const;

    // Prepared statements with named parameters (":NAME" outside quotes and
    // comments). The statement stays prepared for later opens and executions
    // as long as its text is unchanged (prepared again, once, when the
    // database was attached anew meanwhile); each binds the current
    // parameter values.
    void prepare();
    bool prepared() const { return m_prepared != nullptr; }
    void unprepare();
    const QStringList &paramNames() const { return m_paramNames; }
    // Sets every parameter of that name (case-insensitive); a null QVariant
    // binds NULL. The value goes to the server as its type (integer, double,
    // date, time, timestamp, Boolean, else text) and the server converts it
    // to the column's. Throws DatabaseError for an unknown name.
    void setParam(const QString &name, const QVariant &value);

    // The transaction ended: the open cursor is gone (called by Transaction).
    void transactionEnded();
    // The transaction is being destroyed (called by Transaction).
    void forgetTransaction(Transaction *transaction);

private:
    struct Cursor;
    struct Prepared;
    bool fetchRow();
    void prepareAgainIfStale();
    void openCursor(Transaction *transaction);
    void requireConnection() const;
    Transaction *effectiveTransaction() const;

    Database *m_database = nullptr;
    Transaction *m_transaction = nullptr;
    Transaction *m_registeredWith = nullptr;
    QStringList m_sql;
    bool m_active = false;
    bool m_eof = true;
    QStringList m_fieldNames;
    QVector<QVector<QVariant>> m_rows;
    int m_current = -1;
    std::unique_ptr<Cursor> m_cursor;
    std::unique_ptr<Prepared> m_prepared;
    QStringList m_paramNames;
    QVector<QVariant> m_paramValues;
};

// The statement text with every ":NAME" outside quotes and comments turned
// into "?", and the names in the order they appear.
TASKGATE_CORE_EXPORT QString rewriteNamedParameters(const QString &text, QStringList &names);

} // namespace tg::db
