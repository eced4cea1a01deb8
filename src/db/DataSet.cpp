#include "db/DataSet.h"

#include "db/Database.h"
#include "db/DatabaseError.h"
#include "db/Transaction.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

namespace tg::db {
namespace {

// Two values name the same key when they read the same (an integer key may
// come back as a number or be given as its text).
bool sameKey(const QVariant &a, const QVariant &b)
{
    const FieldValue left(a);
    const FieldValue right(b);
    if (left.isNull() || right.isNull())
        return left.isNull() && right.isNull();
    return left.asText() == right.asText();
}

DatabaseError conversionError(const QString &text, const QString &field)
{
    return DatabaseError(QStringLiteral("'%1' is not a valid value for field '%2'").arg(text, field));
}

} // namespace

DataSet::DataSet(Database *database, Transaction *transaction) : m_database(database), m_transaction(transaction) {}

DataSet::~DataSet() = default;

void DataSet::setDatabase(Database *database)
{
    if (m_database == database)
        return;
    close();
    m_writes.clear();
    m_database = database;
}

void DataSet::setTransaction(Transaction *transaction)
{
    if (m_transaction == transaction)
        return;
    close();
    m_transaction = transaction;
}

Transaction *DataSet::transaction() const
{
    if (m_transaction)
        return m_transaction;
    return m_database ? m_database->defaultTransaction() : nullptr;
}

void DataSet::requireConnection() const
{
    if (!m_database || !m_database->connected())
        throw DatabaseError(QStringLiteral("Database not open"));
    if (!transaction())
        throw DatabaseError(QStringLiteral("Transaction not assigned"));
}

void DataSet::requireActive() const
{
    if (!active())
        throw DatabaseError(QStringLiteral("Dataset not open"));
}

bool DataSet::active() const
{
    // The cursor closes with its transaction: so does the data set.
    return m_open && m_cursor && m_cursor->active();
}

DataSet::State DataSet::state() const
{
    return active() ? m_state : State::Inactive;
}

void DataSet::open()
{
    if (active())
        return;
    dropState();
    requireConnection();
    loadColumnKinds();
    reload();
}

void DataSet::reload()
{
    auto cursor = std::make_unique<Query>(m_database, transaction());
    cursor->sql() = selectStatement();
    cursor->open();
    QStringList names;
    for (int i = 0; i < cursor->fieldCount(); ++i)
        names << cursor->fieldName(i);
    QVector<QVector<QVariant>> rows;
    for (; !cursor->eof(); cursor->next()) {
        QVector<QVariant> row;
        row.reserve(names.size());
        for (int i = 0; i < names.size(); ++i)
            row << cursor->field(i).raw();
        rows << row;
    }
    m_cursor = std::move(cursor);
    m_fieldNames = names;
    m_rows = rows;
    m_open = true;
    m_state = State::Browse;
    m_original.clear();
    m_assigned.clear();
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    emit rowsChanged();
    emit currentRowChanged(m_current);
}

void DataSet::loadColumnKinds()
{
    m_columnKinds.clear();
    const QString table = tableName().trimmed().toUpper();
    if (table.isEmpty())
        return;
    Query query(m_database, transaction());
    query.sql() << QStringLiteral("SELECT RF.RDB$FIELD_NAME, F.RDB$FIELD_TYPE, F.RDB$FIELD_SCALE")
                << QStringLiteral("FROM RDB$RELATION_FIELDS RF")
                << QStringLiteral("JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME=RF.RDB$FIELD_SOURCE")
                << QStringLiteral("WHERE RF.RDB$RELATION_NAME=:TABELLA");
    query.prepare();
    query.setParam(QStringLiteral("TABELLA"), table);
    query.open();
    for (; !query.eof(); query.next()) {
        const qint64 type = query.field(1).asInteger();
        const qint64 scale = query.field(2).asInteger();
        ColumnKind kind = ColumnKind::Unknown;
        switch (type) {
        case 7: case 8: case 16: kind = scale < 0 ? ColumnKind::Float : ColumnKind::Integer; break;
        case 10: case 11: case 27: kind = ColumnKind::Float; break;
        case 12: kind = ColumnKind::Date; break;
        case 13: kind = ColumnKind::Time; break;
        case 35: kind = ColumnKind::Timestamp; break;
        case 14: case 37: case 40: case 261: kind = ColumnKind::Text; break;
        case 23: kind = ColumnKind::Boolean; break;
        default: break;
        }
        m_columnKinds.insert(query.field(0).asText().trimmed().toUpper(), kind);
    }
}

void DataSet::close()
{
    const bool wasOpen = m_open;
    dropState();
    if (wasOpen) {
        emit rowsChanged();
        emit currentRowChanged(-1);
    }
}

void DataSet::dropState()
{
    m_cursor.reset();
    m_open = false;
    m_state = State::Inactive;
    m_rows.clear();
    m_fieldNames.clear();
    m_original.clear();
    m_assigned.clear();
    m_current = -1;
    m_eof = true;
    m_bof = true;
}

void DataSet::clearRows()
{
    m_rows.clear();
    m_original.clear();
    m_assigned.clear();
    m_state = State::Browse;
    m_current = -1;
    m_eof = true;
    m_bof = true;
    emit rowsChanged();
    emit currentRowChanged(-1);
}

int DataSet::recordCount() const
{
    return active() ? static_cast<int>(m_rows.size()) : 0;
}

int DataSet::recNo() const
{
    return active() ? m_current : -1;
}

void DataSet::setCurrent(int row)
{
    const int previous = m_current;
    m_current = row;
    if (previous != row)
        emit currentRowChanged(row);
}

void DataSet::first()
{
    requireActive();
    checkBrowseMode();
    setCurrent(m_rows.isEmpty() ? -1 : 0);
    m_bof = true;
    m_eof = m_rows.isEmpty();
}

void DataSet::last()
{
    requireActive();
    checkBrowseMode();
    setCurrent(static_cast<int>(m_rows.size()) - 1);
    m_eof = true;
    m_bof = m_rows.isEmpty();
}

void DataSet::next()
{
    requireActive();
    checkBrowseMode();
    if (m_current + 1 < m_rows.size()) {
        setCurrent(m_current + 1);
        m_bof = false;
        m_eof = false;
    } else {
        m_eof = true;
    }
}

void DataSet::prior()
{
    requireActive();
    checkBrowseMode();
    if (m_current > 0) {
        setCurrent(m_current - 1);
        m_bof = false;
        m_eof = false;
    } else {
        m_bof = true;
    }
}

bool DataSet::moveTo(int row)
{
    requireActive();
    if (row < 0 || row >= m_rows.size())
        return false;
    if (row != m_current)
        checkBrowseMode();
    setCurrent(row);
    m_bof = m_eof = false;
    return true;
}

int DataSet::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fieldNames.size(); ++i) {
        if (m_fieldNames[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

FieldValue DataSet::value(int row, int column) const
{
    if (!active() || row < 0 || row >= m_rows.size() || column < 0 || column >= m_rows[row].size())
        return FieldValue();
    return FieldValue(m_rows[row][column]);
}

FieldValue DataSet::field(int index) const
{
    return value(recNo(), index);
}

FieldValue DataSet::fieldByName(const QString &name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw DatabaseError(QStringLiteral("Field '%1' not found").arg(name));
    return field(index);
}

bool DataSet::locate(const QString &fieldName, const QString &text)
{
    requireActive();
    const int column = fieldIndex(fieldName);
    if (column < 0)
        throw DatabaseError(QStringLiteral("Field '%1' not found").arg(fieldName));
    checkBrowseMode();
    for (int row = 0; row < m_rows.size(); ++row) {
        if (FieldValue(m_rows[row][column]).asText() == text) {
            setCurrent(row);
            m_bof = m_eof = false;
            return true;
        }
    }
    return false;
}

QVariant DataSet::bookmark() const
{
    return field(0).raw();
}

bool DataSet::gotoBookmark(const QVariant &bookmark)
{
    requireActive();
    if (m_fieldNames.isEmpty())
        return false;
    checkBrowseMode();
    for (int row = 0; row < m_rows.size(); ++row) {
        if (sameKey(m_rows[row][0], bookmark)) {
            setCurrent(row);
            m_bof = m_eof = false;
            return true;
        }
    }
    return false;
}

bool DataSet::edit()
{
    requireActive();
    if (m_state == State::Edit || m_state == State::Insert)
        return true;
    if (m_current < 0) {
        append();
        return true;
    }
    if (m_beforeEdit && !m_beforeEdit(*this))
        return false;
    // The hook may have ended the transaction (and so closed the data set).
    requireActive();
    m_original = m_rows[m_current];
    m_assigned = QVector<bool>(m_fieldNames.size(), false);
    m_state = State::Edit;
    return true;
}

void DataSet::append()
{
    requireActive();
    checkBrowseMode();
    m_rowBeforeInsert = m_current;
    m_rows.append(QVector<QVariant>(m_fieldNames.size()));
    m_original.clear();
    m_assigned = QVector<bool>(m_fieldNames.size(), false);
    m_state = State::Insert;
    emit rowsChanged();
    setCurrent(static_cast<int>(m_rows.size()) - 1);
    m_bof = m_eof = false;
}

bool DataSet::setFieldValue(int index, const QVariant &value)
{
    requireActive();
    if (index < 0 || index >= m_fieldNames.size())
        throw DatabaseError(QStringLiteral("Field index %1 out of range").arg(index));
    const QVariant stored = converted(index, value);
    if (m_state == State::Browse && !edit())
        return false;
    m_rows[m_current][index] = stored;
    m_assigned[index] = true;
    emit rowsChanged();
    return true;
}

bool DataSet::setFieldValue(const QString &name, const QVariant &value)
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw DatabaseError(QStringLiteral("Field '%1' not found").arg(name));
    return setFieldValue(index, value);
}

QVariant DataSet::converted(int index, const QVariant &value) const
{
    if (value.isNull() || !value.isValid())
        return QVariant();
    const ColumnKind kind = m_columnKinds.value(m_fieldNames[index].toUpper(), ColumnKind::Unknown);
    if (value.typeId() != QMetaType::QString)
        return value;
    const QString text = value.toString();
    const QString trimmed = text.trimmed();
    if (kind != ColumnKind::Text && kind != ColumnKind::Unknown && trimmed.isEmpty())
        return QVariant();
    bool ok = true;
    QVariant result;
    switch (kind) {
    case ColumnKind::Integer:
        result = QVariant::fromValue<qlonglong>(trimmed.toLongLong(&ok));
        break;
    case ColumnKind::Float:
        result = QLocale::c().toDouble(QString(trimmed).replace(QLatin1Char(','), QLatin1Char('.')), &ok);
        break;
    case ColumnKind::Date: {
        QDate date = QDate::fromString(trimmed, QStringLiteral("dd/MM/yyyy"));
        if (!date.isValid())
            date = QDate::fromString(trimmed, QStringLiteral("d/M/yyyy"));
        ok = date.isValid();
        result = date;
        break;
    }
    case ColumnKind::Time: {
        const QTime time = QTime::fromString(trimmed, QStringLiteral("hh:mm:ss"));
        ok = time.isValid();
        result = time;
        break;
    }
    case ColumnKind::Timestamp: {
        QDateTime stamp = QDateTime::fromString(trimmed, QStringLiteral("dd/MM/yyyy hh:mm:ss"));
        if (!stamp.isValid())
            stamp = QDateTime(QDate::fromString(trimmed, QStringLiteral("dd/MM/yyyy")), QTime(0, 0));
        ok = stamp.isValid();
        result = stamp;
        break;
    }
    case ColumnKind::Boolean: {
        const QString lower = trimmed.toLower();
        ok = lower == QLatin1String("true") || lower == QLatin1String("false") || lower == QLatin1String("1")
             || lower == QLatin1String("0");
        result = lower == QLatin1String("true") || lower == QLatin1String("1");
        break;
    }
    case ColumnKind::Text:
    case ColumnKind::Unknown:
        result = text;
        break;
    }
    if (!ok)
        throw conversionError(text, m_fieldNames[index]);
    return result;
}

void DataSet::write(const QStringList &statement, const QVector<QVariant> &values)
{
    // A window writes rows of a few shapes, again and again: after the
    // first write of a shape each costs the execution alone.
    std::unique_ptr<Query> &query = m_writes[statement.join(QLatin1Char('\n'))];
    if (!query) {
        query = std::make_unique<Query>(m_database);
        query->sql() = statement;
    }
    query->setTransaction(transaction());
    if (!query->prepared())
        query->prepare();
    for (int i = 0; i < values.size(); ++i)
        query->setParam(QStringLiteral("P%1").arg(i + 1), values[i]);
    query->execSql();
}

QString DataSet::keyCondition(const QVariant &key, QVector<QVariant> &values) const
{
    if (key.isNull() || !key.isValid())
        return m_fieldNames[0] + QStringLiteral(" IS NULL");
    values << key;
    return m_fieldNames[0] + QStringLiteral("=:P%1").arg(values.size());
}

void DataSet::post()
{
    if (!active() || (m_state != State::Edit && m_state != State::Insert))
        return;
    const QVector<QVariant> &row = m_rows[m_current];
    QStringList columns;
    QStringList parameters;
    QVector<QVariant> values;
    for (int i = 0; i < m_fieldNames.size(); ++i) {
        if (!m_assigned.value(i))
            continue;
        columns << m_fieldNames[i];
        values << row[i];
        parameters << QStringLiteral(":P%1").arg(values.size());
    }
    QStringList statement;
    if (m_state == State::Insert) {
        if (columns.isEmpty())
            statement << QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(tableName());
        else
            statement << QStringLiteral("INSERT INTO %1 (%2)").arg(tableName(), columns.join(QLatin1Char(',')))
                      << QStringLiteral("VALUES (%1)").arg(parameters.join(QLatin1Char(',')));
    } else {
        if (columns.isEmpty()) {
            m_state = State::Browse;
            m_original.clear();
            m_assigned.clear();
            return;
        }
        QStringList assignments;
        for (int i = 0; i < columns.size(); ++i)
            assignments << columns[i] + QLatin1Char('=') + parameters[i];
        statement << QStringLiteral("UPDATE %1 SET %2").arg(tableName(), assignments.join(QLatin1Char(',')))
                  << QStringLiteral("WHERE ") + keyCondition(m_original.value(0), values);
    }
    write(statement, values);
    m_state = State::Browse;
    m_original.clear();
    m_assigned.clear();
    emit rowsChanged();
}

void DataSet::cancel()
{
    if (!active())
        return;
    if (m_state == State::Edit) {
        m_rows[m_current] = m_original;
    } else if (m_state == State::Insert) {
        m_rows.removeAt(m_current);
        m_current = std::min<int>(m_rowBeforeInsert, static_cast<int>(m_rows.size()) - 1);
    } else {
        return;
    }
    m_state = State::Browse;
    m_original.clear();
    m_assigned.clear();
    emit rowsChanged();
    emit currentRowChanged(m_current);
}

void DataSet::deleteRow()
{
    requireActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_current < 0)
        throw DatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    // Changes of an edited row are discarded; the row goes by its stored key.
    const QVariant key = m_state == State::Edit ? m_original.value(0) : m_rows[m_current].value(0);
    QVector<QVariant> values;
    const QString condition = keyCondition(key, values);
    write({QStringLiteral("DELETE FROM %1").arg(tableName()), QStringLiteral("WHERE ") + condition}, values);
    m_rows.removeAt(m_current);
    m_state = State::Browse;
    m_original.clear();
    m_assigned.clear();
    if (m_current >= m_rows.size())
        m_current = static_cast<int>(m_rows.size()) - 1;
    m_eof = m_rows.isEmpty();
    emit rowsChanged();
    emit currentRowChanged(m_current);
}

} // namespace tg::db
