#pragma once

#include "taskgate_core_export.h"

#include "db/Query.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <map>
#include <memory>

namespace tg::db {

class Database;
class Transaction;

// Rows of one statement held in memory for a data-entry window, with one
// pending change at a time: an edited row or an appended one. The first
// field is the row's key (the tables of the suite key their rows by an
// integer in their first column): a posted change is written back to the
// data set's table by that key, and a bookmark is the key of a row.
//
// Opening runs the statement in the data set's transaction and keeps its
// cursor registered there, so that the end of the transaction (commit or
// rollback, not their retaining forms) closes the data set, as the suite's
// windows expect: after a save they reopen it.
class TASKGATE_CORE_EXPORT DataSet : public QObject {
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert };
    // Called before a row enters edit mode; false refuses the edit.
    using BeforeEdit = std::function<bool(DataSet &)>;

    explicit DataSet(Database *database = nullptr, Transaction *transaction = nullptr);
    ~DataSet() override;

    void setDatabase(Database *database);
    Database *database() const { return m_database; }
    // nullptr: the database's default transaction.
    void setTransaction(Transaction *transaction);
    // The transaction the data set runs in (the database's default unless set).
    Transaction *transaction() const;

    // A table data set is bound to a whole table, with its index definitions.
    virtual bool isTable() const = 0;
    // The table that posted rows are written to.
    virtual QString tableName() const = 0;

    void open();
    // Discards a pending change and drops the rows.
    void close();
    bool active() const;
    State state() const;

    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    // Index of the current row, -1 when there is none.
    int recNo() const;
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    // Moving posts a pending change first.
    void first();
    void last();
    void next();
    void prior();
    // Makes a row current; false when there is no such row.
    bool moveTo(int row);

    int fieldCount() const { return static_cast<int>(m_fieldNames.size()); }
    QString fieldName(int index) const { return m_fieldNames.value(index); }
    int fieldIndex(const QString &name) const; // -1 when absent; case-insensitive
    // Values of the current row; an empty value when there is no current row.
    FieldValue field(int index) const;
    // Throws DatabaseError when the field does not exist.
    FieldValue fieldByName(const QString &name) const;
    // A value of any row, for views.
    FieldValue value(int row, int column) const;
    QString firstFieldName() const { return fieldName(0); }
    QString firstFieldText() const { return field(0).asText(); }

    // Makes current the first row whose named field reads as the text;
    // false (and no move) when there is none.
    bool locate(const QString &fieldName, const QString &text);

    // The key of the current row (a null value when there is none), and the
    // way back to it; false when no row has that key any more.
    QVariant bookmark() const;
    bool gotoBookmark(const QVariant &bookmark);

    void setBeforeEdit(BeforeEdit hook) { m_beforeEdit = std::move(hook); }
    // Puts the current row in edit mode after asking the before-edit hook;
    // false when the hook refused. An empty data set appends a row instead.
    bool edit();
    // Adds an empty row at the end, current and pending (insert mode).
    void append();
    // Sets a field of the current row, entering edit mode first when
    // browsing (false when the edit is refused). A text is converted to the
    // column's type: dates are read dd/MM/yyyy, numbers may carry a decimal
    // comma, the empty text is NULL except for text columns. Throws
    // DatabaseError on a text the column cannot take.
    bool setFieldValue(int index, const QVariant &value);
    bool setFieldValue(const QString &name, const QVariant &value);
    // Writes a pending change: UPDATE of the changed columns by the row's
    // key, or INSERT of the assigned columns for an appended row, the values
    // bound as parameters. Nothing happens when nothing is pending. On
    // failure the change stays pending.
    void post();
    // Drops a pending change: an edited row gets its values back, an
    // appended row goes and the row current before it is current again.
    void cancel();
    // Deletes the current row from the table by its key (a pending insertion
    // is simply dropped). The row after it becomes current.
    void deleteRow();

signals:
    // Rows were read, written, added, removed or reordered, or the data set
    // opened or closed.
    void rowsChanged();
    // Another row became current.
    void currentRowChanged(int row);

protected:
    // The SELECT that fills the data set.
    virtual QStringList selectStatement() const = 0;
    // Runs the select and replaces the rows; the current row is the first.
    void reload();
    void requireActive() const;
    void requireConnection() const;
    // Rows are dropped (the table was emptied).
    void clearRows();

private:
    // How a text typed for a column is read.
    enum class ColumnKind { Unknown, Integer, Float, Date, Time, Timestamp, Text, Boolean };
    void loadColumnKinds();
    QVariant converted(int index, const QVariant &value) const;
    void setCurrent(int row);
    void dropState();
    void checkBrowseMode() { post(); }
    // The condition on the first field that finds a row by its key; a key
    // value is appended to the values and named by its place (":P3").
    QString keyCondition(const QVariant &key, QVector<QVariant> &values) const;
    // Runs a write of the table with the values bound to ":P1", ":P2", …
    // in their order: no value is ever part of the statement's text. Each
    // statement is prepared once for the data set's connection and kept.
    void write(const QStringList &statement, const QVector<QVariant> &values);

    Database *m_database = nullptr;
    Transaction *m_transaction = nullptr;
    std::unique_ptr<Query> m_cursor;
    bool m_open = false;
    State m_state = State::Inactive;
    QStringList m_fieldNames;
    QVector<QVector<QVariant>> m_rows;
    int m_current = -1;
    bool m_eof = true;
    bool m_bof = true;
    // The row as it was before an edit, and the columns the edit assigned.
    QVector<QVariant> m_original;
    QVector<bool> m_assigned;
    // The row that was current when a row was appended: cancelling goes back.
    int m_rowBeforeInsert = -1;
    QHash<QString, ColumnKind> m_columnKinds;
    BeforeEdit m_beforeEdit;
    // The prepared writes, by statement text.
    std::map<QString, std::unique_ptr<Query>> m_writes;
};

} // namespace tg::db
