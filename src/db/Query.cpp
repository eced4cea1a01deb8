#include "db/Query.h"

#include "db/Client.h"
#include "db/Database.h"
#include "db/DatabaseError.h"
#include "db/StatementObserver.h"
#include "db/Transaction.h"
#include "platform/Logging.h"
#include "platform/TextCodec.h"

#include <QElapsedTimer>
#include <cstring>
#include <exception>
#include <ibase.h>

using namespace Firebird;

namespace tg::db {

// The client objects of an open statement.
struct Query::Cursor {
    client::Owned<IStatement> ownStatement; // none when a prepared statement, which outlives its cursors, runs
    IStatement *statement = nullptr;
    client::Owned<IResultSet> resultSet;
    client::Owned<IMessageMetadata> metadata;
    std::vector<unsigned char> buffer;

    ~Cursor()
    {
        closeResultSet();
        metadata.reset();
        client::endQuietly(ownStatement, [](IStatement *owned, client::StatusWrapper *status) { owned->free(status); });
    }

    void closeResultSet()
    {
        client::endQuietly(resultSet, [](IResultSet *set, client::StatusWrapper *status) { set->close(status); });
    }
};

// A statement prepared once and kept, with its parameter layout.
struct Query::Prepared {
    client::Owned<IStatement> statement;
    QString text;
    // The database's attachment the statement was prepared on.
    quint64 attachment = 0;

    ~Prepared()
    {
        client::endQuietly(statement, [](IStatement *owned, client::StatusWrapper *status) { owned->free(status); });
    }
};

namespace {

// The input message of a prepared statement: every parameter typed after
// its value, so the server converts as needed: integers as BIGINT, other
// numbers as DOUBLE PRECISION, dates, times and timestamps as themselves,
// Booleans as BOOLEAN, anything else as a VARCHAR in the connection's code
// page; NULL keeps the declared type.
class InputMessage {
public:
    InputMessage(IStatement *statement, const QVector<QVariant> &values)
    {
        client::Status status;
        const client::Owned<IMessageMetadata> declared(statement->getInputMetadata(&status));
        const client::Owned<IMetadataBuilder> builder(declared->getBuilder(&status));
        QVector<QByteArray> texts(values.size());
        for (int i = 0; i < values.size(); ++i) {
            const QVariant &value = values[i];
            if (value.isNull())
                continue;
            const unsigned type = sqlType(value);
            unsigned length = 0;
            switch (type) {
            case SQL_INT64: length = sizeof(qint64); break;
            case SQL_DOUBLE: length = sizeof(double); break;
            case SQL_TYPE_DATE: length = sizeof(ISC_DATE); break;
            case SQL_TYPE_TIME: length = sizeof(ISC_TIME); break;
            case SQL_TIMESTAMP: length = sizeof(ISC_TIMESTAMP); break;
            case SQL_BOOLEAN: length = 1; break;
            default:
                texts[i] = toSuiteBytes(value.toString());
                length = static_cast<unsigned>(std::max<qsizetype>(1, texts[i].size()));
                break;
            }
            builder->setType(&status, i, type + 1);
            builder->setLength(&status, i, length);
            builder->setScale(&status, i, 0);
        }
        m_metadata.reset(builder->getMetadata(&status));
        m_buffer.assign(m_metadata->getMessageLength(&status), 0);
        for (int i = 0; i < values.size(); ++i) {
            const QVariant &value = values[i];
            unsigned char *data = m_buffer.data() + m_metadata->getOffset(&status, i);
            short *nullFlag = reinterpret_cast<short *>(m_buffer.data() + m_metadata->getNullOffset(&status, i));
            *nullFlag = value.isNull() ? -1 : 0;
            if (value.isNull())
                continue;
            switch (sqlType(value)) {
            case SQL_INT64: store<qint64>(data, value.toLongLong()); break;
            case SQL_DOUBLE: store<double>(data, value.toDouble()); break;
            case SQL_TYPE_DATE: store<ISC_DATE>(data, encodeDate(value.toDate())); break;
            case SQL_TYPE_TIME: store<ISC_TIME>(data, encodeTime(value.toTime())); break;
            case SQL_TIMESTAMP: {
                const QDateTime stamp = value.toDateTime();
                store<ISC_TIMESTAMP>(data, {encodeDate(stamp.date()), encodeTime(stamp.time())});
                break;
            }
            case SQL_BOOLEAN: store<unsigned char>(data, value.toBool() ? 1 : 0); break;
            default: {
                const auto length = static_cast<unsigned short>(texts[i].size());
                store<unsigned short>(data, length);
                std::memcpy(data + sizeof(length), texts[i].constData(), length);
                break;
            }
            }
        }
    }
    IMessageMetadata *metadata() const { return m_metadata.get(); }
    void *buffer() { return m_buffer.data(); }

private:
    static unsigned sqlType(const QVariant &value)
    {
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::ULong:
            return SQL_INT64;
        case QMetaType::Double:
        case QMetaType::Float:
            return SQL_DOUBLE;
        case QMetaType::QDate: return SQL_TYPE_DATE;
        case QMetaType::QTime: return SQL_TYPE_TIME;
        case QMetaType::QDateTime: return SQL_TIMESTAMP;
        case QMetaType::Bool: return SQL_BOOLEAN;
        default: return SQL_VARYING;
        }
    }
    template <typename T>
    static void store(unsigned char *data, const T &value)
    {
        std::memcpy(data, &value, sizeof(T));
    }
    static ISC_DATE encodeDate(const QDate &date)
    {
        return client::util()->encodeDate(static_cast<unsigned>(date.year()), static_cast<unsigned>(date.month()),
                                          static_cast<unsigned>(date.day()));
    }
    // Fractions of a second in ten-thousandths.
    static ISC_TIME encodeTime(const QTime &time)
    {
        return client::util()->encodeTime(static_cast<unsigned>(time.hour()), static_cast<unsigned>(time.minute()),
                                          static_cast<unsigned>(time.second()), static_cast<unsigned>(time.msec()) * 10);
    }

    client::Owned<IMessageMetadata> m_metadata;
    std::vector<unsigned char> m_buffer;
};

// Traces one statement with the milliseconds it took, at debug level of
// taskgate.db.statements: off unless a logging rule switches it on, and then
// nothing is timed or formatted.
class StatementTrace {
public:
    explicit StatementTrace(const QString &text)
    {
        if (!lcDbStatements().isDebugEnabled())
            return;
        m_text = text;
        m_on = true;
        m_timer.start();
    }
    ~StatementTrace()
    {
        if (!m_on)
            return;
        const bool failed = std::uncaught_exceptions() > m_unwinding;
        qCDebug(lcDbStatements).noquote()
            << QStringLiteral("%1 ms%2:").arg(m_timer.elapsed()).arg(failed ? QStringLiteral(", failed") : QString())
            << m_text;
    }
    StatementTrace(const StatementTrace &) = delete;
    StatementTrace &operator=(const StatementTrace &) = delete;

private:
    bool m_on = false;
    int m_unwinding = std::uncaught_exceptions();
    QString m_text;
    QElapsedTimer m_timer;
};

QString decodeBlob(IAttachment *attachment, ITransaction *transaction, const ISC_QUAD *id)
{
    client::Status status;
    client::Owned<IBlob> blob(attachment->openBlob(&status, transaction, const_cast<ISC_QUAD *>(id), 0, nullptr));
    QByteArray bytes;
    char segment[16384];
    for (;;) {
        unsigned length = 0;
        const int result = blob->getSegment(&status, sizeof(segment), segment, &length);
        if (result == IStatus::RESULT_NO_DATA)
            break;
        bytes.append(segment, length);
    }
    blob->close(&status);
    blob.ended();
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
    if (m_prepared && m_prepared->text != statementText())
        unprepare();
    prepareAgainIfStale();
    openCursor(transaction);
    transaction->registerQuery(this);
    m_registeredWith = transaction;
    m_active = true;
    m_eof = false;
    m_current = -1;
    next();
}

void Query::openCursor(Transaction *transaction)
{
    const QString text = statementText();
    if (StatementObserver *observer = StatementObserver::current())
        observer->statementRun(text);
    const StatementTrace trace(text);
    auto cursor = std::make_unique<Cursor>();
    client::Status status;
    ITransaction *handle = transaction->handle();
    if (m_prepared) {
        cursor->statement = m_prepared->statement.get();
    } else {
        const QByteArray bytes = toSuiteBytes(text);
        cursor->ownStatement.reset(m_database->attachment()->prepare(
            &status, handle, static_cast<unsigned>(bytes.size()), bytes.constData(),
            static_cast<unsigned>(m_database->sqlDialect()), IStatement::PREPARE_PREFETCH_METADATA));
        cursor->statement = cursor->ownStatement.get();
    }
    cursor->metadata.reset(cursor->statement->getOutputMetadata(&status));
    const unsigned count = cursor->metadata->getCount(&status);
    m_fieldNames.clear();
    for (unsigned i = 0; i < count; ++i)
        m_fieldNames << fromSuiteBytes(QByteArray(cursor->metadata->getAlias(&status, i)));
    cursor->buffer.assign(cursor->metadata->getMessageLength(&status), 0);
    std::unique_ptr<InputMessage> input;
    if (m_prepared && !m_paramValues.isEmpty())
        input = std::make_unique<InputMessage>(cursor->statement, m_paramValues);
    IMessageMetadata *inputMetadata = input ? input->metadata() : nullptr;
    void *inputBuffer = input ? input->buffer() : nullptr;
    if (cursor->statement->getFlags(&status) & IStatement::FLAG_HAS_CURSOR) {
        cursor->resultSet.reset(cursor->statement->openCursor(&status, handle, inputMetadata, inputBuffer,
                                                              cursor->metadata.get(), 0));
    } else {
        cursor->statement->execute(&status, handle, inputMetadata, inputBuffer, nullptr, nullptr);
    }
    m_cursor = std::move(cursor);
}

void Query::prepareAgainIfStale()
{
    if (m_prepared && m_prepared->attachment != m_database->attachmentNumber()) {
        // Prepared on an attachment that has since been replaced: prepared
        // again, with the same parameter values.
        const QVector<QVariant> values = m_paramValues;
        prepare();
        m_paramValues = values;
    }
}

void Query::prepare()
{
    close();
    requireConnection();
    unprepare();
    QStringList names;
    const QByteArray bytes = toSuiteBytes(rewriteNamedParameters(statementText(), names));
    auto prepared = std::make_unique<Prepared>();
    prepared->text = statementText();
    prepared->attachment = m_database->attachmentNumber();
    client::Status status;
    ITransaction *handle = effectiveTransaction()->handle();
    prepared->statement.reset(m_database->attachment()->prepare(
        &status, handle, static_cast<unsigned>(bytes.size()), bytes.constData(),
        static_cast<unsigned>(m_database->sqlDialect()), IStatement::PREPARE_PREFETCH_METADATA));
    m_prepared = std::move(prepared);
    m_paramNames = names;
    m_paramValues = QVector<QVariant>(names.size());
}

void Query::unprepare()
{
    close();
    m_prepared.reset();
    m_paramNames.clear();
    m_paramValues.clear();
}

void Query::setParam(const QString &name, const QVariant &value)
{
    bool found = false;
    for (int i = 0; i < m_paramNames.size(); ++i) {
        if (m_paramNames[i].compare(name, Qt::CaseInsensitive) == 0) {
            m_paramValues[i] = value;
            found = true;
        }
    }
    if (!found)
        throw DatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
}

QString rewriteNamedParameters(const QString &text, QStringList &names)
{
    names.clear();
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        const auto copyUntil = [&](const QString &end) {
            const qsizetype stop = text.indexOf(end, i + 1);
            const qsizetype next = stop < 0 ? text.size() : stop + end.size();
            result += text.mid(i, next - i);
            i = next;
        };
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            copyUntil(QString(c));
        } else if (c == QLatin1Char('-') && text.mid(i, 2) == QLatin1String("--")) {
            copyUntil(QStringLiteral("\n"));
        } else if (c == QLatin1Char('/') && text.mid(i, 2) == QLatin1String("/*")) {
            copyUntil(QStringLiteral("*/"));
        } else if (c == QLatin1Char(':') && i + 1 < text.size()
                   && (text[i + 1].isLetter() || text[i + 1] == QLatin1Char('_'))) {
            qsizetype end = i + 1;
            while (end < text.size() && (text[end].isLetterOrNumber() || text[end] == QLatin1Char('_')
                                         || text[end] == QLatin1Char('$')))
                ++end;
            names << text.mid(i + 1, end - i - 1);
            result += QLatin1Char('?');
            i = end;
        } else {
            result += c;
            ++i;
        }
    }
    return result;
}

bool Query::fetchRow()
{
    if (!m_cursor || !m_cursor->resultSet)
        return false;
    client::Status status;
    {
        IMessageMetadata *metadata = m_cursor->metadata.get();
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
    }
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
    if (m_prepared && m_prepared->text == statementText()) {
        // A prepared statement runs with the current parameter values.
        prepareAgainIfStale();
        openCursor(transaction);
        m_cursor.reset();
        return;
    }
    unprepare();
    const QString text = statementText();
    if (StatementObserver *observer = StatementObserver::current())
        observer->statementRun(text);
    const StatementTrace trace(text);
    const QByteArray bytes = toSuiteBytes(text);
    Cursor cursor;
    client::Status status;
    ITransaction *handle = transaction->handle();
    cursor.ownStatement.reset(m_database->attachment()->prepare(
        &status, handle, static_cast<unsigned>(bytes.size()), bytes.constData(),
        static_cast<unsigned>(m_database->sqlDialect()), 0));
    cursor.ownStatement->execute(&status, handle, nullptr, nullptr, nullptr, nullptr);
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
