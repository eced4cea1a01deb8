#include "db/Query.h"

#include "db/Client.h"
#include "db/Database.h"
#include "db/DatabaseError.h"
#include "db/StatementObserver.h"
#include "db/Transaction.h"
#include "platform/TextCodec.h"

#include <cstring>
#include <ibase.h>

using namespace Firebird;

namespace tg::db {

// The client objects of an open statement.
struct Query::Cursor {
    IStatement *statement = nullptr;
    IResultSet *resultSet = nullptr;
    IMessageMetadata *metadata = nullptr;
    std::vector<unsigned char> buffer;

    ~Cursor() { release(); }

    void closeResultSet()
    {
        if (!resultSet)
            return;
        IResultSet *set = std::exchange(resultSet, nullptr);
        try {
            client::Status status;
            set->close(&status);
        } catch (const FbException &) {
            set->release();
        }
    }

    void release()
    {
        closeResultSet();
        if (metadata)
            std::exchange(metadata, nullptr)->release();
        if (statement) {
            IStatement *owned = std::exchange(statement, nullptr);
            try {
                client::Status status;
                owned->free(&status);
            } catch (const FbException &) {
                owned->release();
            }
        }
    }
};

namespace {

QString decodeBlob(IAttachment *attachment, ITransaction *transaction, const ISC_QUAD *id)
{
    client::Status status;
    IBlob *blob = client::guarded(
        [&] { return attachment->openBlob(&status, transaction, const_cast<ISC_QUAD *>(id), 0, nullptr); });
    QByteArray bytes;
    try {
        char segment[16384];
        for (;;) {
            unsigned length = 0;
            const int result = blob->getSegment(&status, sizeof(segment), segment, &length);
            if (result == IStatus::RESULT_NO_DATA)
                break;
            bytes.append(segment, length);
        }
        blob->close(&status);
    } catch (const FbException &error) {
        blob->release();
        throw client::toError(error);
    }
    return fromSuiteBytes(bytes);
}

QDate decodeDate(ISC_DATE value)
{
    unsigned year = 0, month = 0, day = 0;
    client::util()->decodeDate(value, &year, &month, &day);
    return QDate(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
}

QTime decodeTime(ISC_TIME value)
{
    unsigned hours = 0, minutes = 0, seconds = 0, fractions = 0;
    client::util()->decodeTime(value, &hours, &minutes, &seconds, &fractions);
    return QTime(static_cast<int>(hours), static_cast<int>(minutes), static_cast<int>(seconds),
                 static_cast<int>(fractions / 10));
}

// A scaled integer (NUMERIC/DECIMAL) or a plain one.
QVariant decodeInteger(qint64 value, int scale)
{
    if (scale == 0)
        return QVariant::fromValue<qlonglong>(value);
    double result = static_cast<double>(value);
    for (int i = 0; i < -scale; ++i)
        result /= 10.0;
    return result;
}

template <typename T>
T readAt(const unsigned char *data)
{
    T value;
    std::memcpy(&value, data, sizeof(T));
    return value;
}

} // namespace

QString FieldValue::asText() const
{
    if (isNull())
        return QString();
    switch (m_value.typeId()) {
    case QMetaType::QString: return m_value.toString();
    case QMetaType::LongLong: return QString::number(m_value.toLongLong());
    case QMetaType::Double: return QString::number(m_value.toDouble(), 'g', 15);
    case QMetaType::QDate: return m_value.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QTime: return m_value.toTime().toString(QStringLiteral("hh:mm:ss"));
    case QMetaType::QDateTime:
        return m_value.toDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
    case QMetaType::Bool: return m_value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default: return m_value.toString();
    }
}

qint64 FieldValue::asInteger() const
{
    if (isNull())
        return 0;
    switch (m_value.typeId()) {
    case QMetaType::LongLong: return m_value.toLongLong();
    case QMetaType::Double: return qRound64(m_value.toDouble());
    case QMetaType::Bool: return m_value.toBool() ? 1 : 0;
    default: break;
    }
    const QString text = asText().trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok)
        throw DatabaseError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

Query::Query(Database *database, Transaction *transaction) : m_database(database)
{
    setTransaction(transaction);
}

Query::~Query()
{
    close();
}

void Query::setTransaction(Transaction *transaction)
{
    if (m_transaction == transaction)
        return;
    close();
    m_transaction = transaction;
}

Transaction *Query::transaction() const
{
    return effectiveTransaction();
}

Transaction *Query::effectiveTransaction() const
{
    if (m_transaction)
        return m_transaction;
    return m_database ? m_database->defaultTransaction() : nullptr;
}

void Query::requireConnection() const
{
    if (!m_database || !m_database->connected())
        throw DatabaseError(QStringLiteral("Database not open"));
    if (!effectiveTransaction())
        throw DatabaseError(QStringLiteral("Transaction not assigned"));
}

void Query::open()
{
    close();
    requireConnection();
    Transaction *transaction = effectiveTransaction();
    const QString text = statementText();
    if (StatementObserver *observer = StatementObserver::current())
        observer->statementRun(text);
    const QByteArray bytes = toSuiteBytes(text);

    auto cursor = std::make_unique<Cursor>();
    client::Status status;
    client::guarded([&] {
        ITransaction *handle = transaction->handle();
        cursor->statement = m_database->attachment()->prepare(
            &status, handle, static_cast<unsigned>(bytes.size()), bytes.constData(),
            static_cast<unsigned>(m_database->sqlDialect()), IStatement::PREPARE_PREFETCH_METADATA);
        cursor->metadata = cursor->statement->getOutputMetadata(&status);
        const unsigned count = cursor->metadata->getCount(&status);
        m_fieldNames.clear();
        for (unsigned i = 0; i < count; ++i)
            m_fieldNames << fromSuiteBytes(QByteArray(cursor->metadata->getAlias(&status, i)));
        cursor->buffer.assign(cursor->metadata->getMessageLength(&status), 0);
        if (cursor->statement->getFlags(&status) & IStatement::FLAG_HAS_CURSOR) {
            cursor->resultSet = cursor->statement->openCursor(&status, handle, nullptr, nullptr,
                                                              cursor->metadata, 0);
        } else {
            cursor->statement->execute(&status, handle, nullptr, nullptr, nullptr, nullptr);
        }
    });
    m_cursor = std::move(cursor);
    transaction->registerQuery(this);
    m_registeredWith = transaction;
    m_active = true;
    m_eof = false;
    m_current = -1;
    next();
}

bool Query::fetchRow()
{
    if (!m_cursor || !m_cursor->resultSet)
        return false;
    client::Status status;
    return client::guarded([&] {
        IMessageMetadata *metadata = m_cursor->metadata;
        unsigned char *buffer = m_cursor->buffer.data();
        if (m_cursor->resultSet->fetchNext(&status, buffer) != IStatus::RESULT_OK) {
            m_cursor->closeResultSet();
            return false;
        }
        const unsigned count = metadata->getCount(&status);
        QVector<QVariant> row;
        row.reserve(static_cast<int>(count));
        for (unsigned i = 0; i < count; ++i) {
            const unsigned char *data = buffer + metadata->getOffset(&status, i);
            if (readAt<short>(buffer + metadata->getNullOffset(&status, i)) != 0) {
                row.append(QVariant());
                continue;
            }
            const int scale = metadata->getScale(&status, i);
            switch (metadata->getType(&status, i) & ~1u) {
            case SQL_TEXT:
                row.append(fromSuiteBytes(reinterpret_cast<const char *>(data),
                                          metadata->getLength(&status, i)));
                break;
            case SQL_VARYING:
                row.append(fromSuiteBytes(reinterpret_cast<const char *>(data) + 2,
                                          readAt<unsigned short>(data)));
                break;
            case SQL_SHORT: row.append(decodeInteger(readAt<short>(data), scale)); break;
            case SQL_LONG: row.append(decodeInteger(readAt<int>(data), scale)); break;
            case SQL_INT64: row.append(decodeInteger(readAt<qint64>(data), scale)); break;
            case SQL_FLOAT: row.append(static_cast<double>(readAt<float>(data))); break;
            case SQL_DOUBLE: row.append(readAt<double>(data)); break;
            case SQL_TYPE_DATE: row.append(decodeDate(readAt<ISC_DATE>(data))); break;
            case SQL_TYPE_TIME: row.append(decodeTime(readAt<ISC_TIME>(data))); break;
            case SQL_TIMESTAMP: {
                const auto stamp = readAt<ISC_TIMESTAMP>(data);
                row.append(QDateTime(decodeDate(stamp.timestamp_date), decodeTime(stamp.timestamp_time)));
                break;
            }
            case SQL_BLOB: {
                const auto id = readAt<ISC_QUAD>(data);
                row.append(decodeBlob(m_database->attachment(), m_registeredWith->handle(), &id));
                break;
            }
            case SQL_BOOLEAN: row.append(readAt<unsigned char>(data) != 0); break;
            default:
                throw DatabaseError(QStringLiteral("Unsupported column type in %1").arg(m_fieldNames.value(static_cast<int>(i))));
            }
        }
        m_rows.append(row);
        return true;
    });
}

void Query::next()
{
    if (!m_active || m_eof)
        return;
    if (m_current + 1 < m_rows.size() || fetchRow()) {
        ++m_current;
        return;
    }
    m_eof = true;
}

void Query::fetchAll()
{
    while (fetchRow()) {
    }
}

void Query::execSql()
{
    close();
    requireConnection();
    Transaction *transaction = effectiveTransaction();
    const QString text = statementText();
    if (StatementObserver *observer = StatementObserver::current())
        observer->statementRun(text);
    const QByteArray bytes = toSuiteBytes(text);
    Cursor cursor;
    client::Status status;
    client::guarded([&] {
        ITransaction *handle = transaction->handle();
        cursor.statement = m_database->attachment()->prepare(
            &status, handle, static_cast<unsigned>(bytes.size()), bytes.constData(),
            static_cast<unsigned>(m_database->sqlDialect()), 0);
        cursor.statement->execute(&status, handle, nullptr, nullptr, nullptr, nullptr);
    });
}

void Query::close()
{
    m_cursor.reset();
    if (m_registeredWith) {
        m_registeredWith->unregisterQuery(this);
        m_registeredWith = nullptr;
    }
    m_active = false;
    m_eof = true;
    m_rows.clear();
    m_fieldNames.clear();
    m_current = -1;
}

void Query::transactionEnded()
{
    close();
}

void Query::forgetTransaction(Transaction *transaction)
{
    close();
    if (m_transaction == transaction)
        m_transaction = nullptr;
}

int Query::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fieldNames.size(); ++i) {
        if (m_fieldNames[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

FieldValue Query::field(int index) const
{
    if (m_current < 0 || m_current >= m_rows.size() || index < 0 || index >= m_rows[m_current].size())
        return FieldValue();
    return FieldValue(m_rows[m_current][index]);
}

FieldValue Query::fieldByName(const QString &name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw DatabaseError(QStringLiteral("Field '%1' not found").arg(name));
    return field(index);
}

} // namespace tg::db
