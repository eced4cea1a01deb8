#include "db/Database.h"

#include "db/Client.h"
#include "db/StatementObserver.h"
#include "db/Transaction.h"
#include "platform/Logging.h"
#include "platform/TextCodec.h"

#include <ibase.h>
#include <memory>

using namespace Firebird;

namespace tg::db {
namespace {

// Seconds a remote attachment may take before it fails: an unreachable server
// must not freeze the workstation.
constexpr int ConnectTimeoutSeconds = 5;
const char *const ConnectionCharset = "WIN1252";

// Owns a parameter-block builder.
class Builder {
public:
    explicit Builder(unsigned kind)
    {
        client::Status status;
        m_builder.reset(client::util()->getXpbBuilder(&status, kind, nullptr, 0));
    }

    void addString(unsigned char tag, const QString &value)
    {
        client::Status status;
        const QByteArray bytes = toSuiteBytes(value);
        m_builder->insertString(&status, tag, bytes.constData());
    }
    void addTag(unsigned char tag)
    {
        client::Status status;
        m_builder->insertTag(&status, tag);
    }
    void addInt(unsigned char tag, int value)
    {
        client::Status status;
        m_builder->insertInt(&status, tag, value);
    }
    unsigned length()
    {
        client::Status status;
        return m_builder->getBufferLength(&status);
    }
    const unsigned char *buffer()
    {
        client::Status status;
        return m_builder->getBuffer(&status);
    }

private:
    std::unique_ptr<IXpbBuilder, client::Dispose> m_builder;
};

// The value of a creation parameter: USER "x" gives x.
QString creationValue(const QString &line, const QString &keyword)
{
    QString value = line.mid(keyword.size()).trimmed();
    if (value.size() >= 2 && (value.startsWith(QLatin1Char('"')) || value.startsWith(QLatin1Char('\'')))
        && value.endsWith(value.front()))
        value = value.mid(1, value.size() - 2);
    return value;
}

void addCreationLine(Builder &dpb, const QString &line);

// An attachment takes "key=value" lines; the lines a creation left behind
// (USER "x", PASSWORD "y", PAGE_SIZE n) are understood too, so that a
// database created and later reconnected keeps its credentials.
void addAttachmentLine(Builder &dpb, const QString &line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0) {
        if (!line.trimmed().toUpper().startsWith(QLatin1String("PAGE_SIZE")))
            addCreationLine(dpb, line);
        return;
    }
    const QString key = line.left(equals).trimmed().toLower();
    const QString value = equals < 0 ? QString() : line.mid(equals + 1);
    if (key == QLatin1String("user_name"))
        dpb.addString(isc_dpb_user_name, value);
    else if (key == QLatin1String("password"))
        dpb.addString(isc_dpb_password, value);
    else if (key == QLatin1String("sql_role_name"))
        dpb.addString(isc_dpb_sql_role_name, value);
    else
        throw DatabaseError(QStringLiteral("Unsupported database parameter: %1").arg(line));
}

void addCreationLine(Builder &dpb, const QString &line)
{
    const QString upper = line.trimmed().toUpper();
    if (upper.startsWith(QLatin1String("USER ")))
        dpb.addString(isc_dpb_user_name, creationValue(line.trimmed(), QStringLiteral("USER")));
    else if (upper.startsWith(QLatin1String("PASSWORD ")))
        dpb.addString(isc_dpb_password, creationValue(line.trimmed(), QStringLiteral("PASSWORD")));
    else if (upper.startsWith(QLatin1String("PAGE_SIZE")))
        dpb.addInt(isc_dpb_page_size,
                   creationValue(line.trimmed(), QStringLiteral("PAGE_SIZE")).remove(QLatin1Char('=')).trimmed().toInt());
    else
        throw DatabaseError(QStringLiteral("Unsupported creation parameter: %1").arg(line));
}

// A database name goes to the client in UTF-8, marked as such: the client
// would otherwise read it in the system's character set, which the suite's
// code page is not, and refuse a path with an accented letter or the euro
// sign. The engine turns it into the file system's own form.
QByteArray utf8DatabaseName(Builder &dpb, const QString &name)
{
    dpb.addTag(isc_dpb_utf8_filename);
    return name.toUtf8();
}

} // namespace

Database::Database() = default;

Database::~Database()
{
    disconnect();
    for (Transaction *transaction : std::as_const(m_transactions))
        transaction->setDefaultDatabase(nullptr);
}

void Database::connect()
{
    if (connected())
        return;
    if (StatementObserver *observer = StatementObserver::current())
        observer->connectionTried(m_name);
    Builder dpb(IXpbBuilder::DPB);
    for (const QString &line : std::as_const(m_params))
        addAttachmentLine(dpb, line);
    dpb.addString(isc_dpb_lc_ctype, QString::fromLatin1(ConnectionCharset));
    dpb.addInt(isc_dpb_connect_timeout, ConnectTimeoutSeconds);
    const QByteArray name = utf8DatabaseName(dpb, m_name);
    client::Status status;
    m_attachment.reset(client::provider()->attachDatabase(&status, name.constData(), dpb.length(), dpb.buffer()));
    ++m_attachmentNumber;
}

void Database::reconnect()
{
    // The transactions' ends and the detach fail on a dead connection and
    // are dropped; nothing of them reached the server.
    disconnect();
    connect();
}

void Database::createDatabase()
{
    disconnect();
    if (StatementObserver *observer = StatementObserver::current()) {
        QString statement = QStringLiteral("CREATE DATABASE '%1'").arg(m_name);
        for (const QString &line : std::as_const(m_params))
            statement += QLatin1Char(' ') + line;
        observer->creationTried(statement);
    }
    Builder dpb(IXpbBuilder::DPB);
    for (const QString &line : std::as_const(m_params))
        addCreationLine(dpb, line);
    dpb.addInt(isc_dpb_sql_dialect, m_dialect);
    dpb.addString(isc_dpb_lc_ctype, QString::fromLatin1(ConnectionCharset));
    dpb.addInt(isc_dpb_connect_timeout, ConnectTimeoutSeconds);
    const QByteArray name = utf8DatabaseName(dpb, m_name);
    client::Status status;
    m_attachment.reset(client::provider()->createDatabase(&status, name.constData(), dpb.length(), dpb.buffer()));
    ++m_attachmentNumber;
}

void Database::disconnect()
{
    for (Transaction *transaction : std::as_const(m_transactions))
        transaction->endWithCommit();
    if (!m_attachment)
        return;
    client::Owned<IAttachment> attachment = std::move(m_attachment);
    try {
        client::Status status;
        attachment->detach(&status);
        attachment.ended();
    } catch (const DatabaseError &error) {
        // The connection is gone either way; the object is still ours, and
        // its owner releases it.
        qCWarning(lcDb).noquote() << "Detaching from" << m_name << "failed:" << error.message();
    }
}

void Database::registerTransaction(Transaction *transaction)
{
    if (!m_transactions.contains(transaction))
        m_transactions.append(transaction);
}

void Database::unregisterTransaction(Transaction *transaction)
{
    m_transactions.removeAll(transaction);
}

} // namespace tg::db
