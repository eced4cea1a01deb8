#include "SuiteSetup.h"

#include "SchemaScripts.h"
#include "data/TabScript.h"
#include "db/Database.h"
#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/SqlText.h"
#include "db/Transaction.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace tg::setup {

namespace {

const QString kUser = QStringLiteral("SYSDBA");
const QString kPassword = QStringLiteral("quillbeam");

// One attachment with one transaction, for the length of a setup step.
class Connection {
    void attach()
    {
        m_database.params() = QStringList{QStringLiteral("user_name=") + kUser,
                                          QStringLiteral("password=") + kPassword};
        m_database.connect();
    }
    bool tryAttach()
    {
        try {
            attach();
            return true;
        } catch (const db::DatabaseError &) {
            return false;
        }
    }

public:
    // Attaches the database at `path`, creating it (and its directory) when
    // it does not exist yet. A path on a server ("host[/port]:path") is
    // created when it cannot be attached; the server reports what it holds.
    explicit Connection(const QString &path)
    {
        m_database.setLoginPrompt(false);
        m_database.setSqlDialect(3);
        m_database.setDefaultTransaction(&m_transaction);
        if (isServerPath(path)) {
            m_database.setDatabaseName(path);
            m_created = !tryAttach();
        } else {
            const QFileInfo info(path);
            m_database.setDatabaseName(info.absoluteFilePath());
            m_created = !info.exists();
            if (m_created)
                QDir().mkpath(info.absolutePath());
        }
        if (m_created) {
            m_database.params() = QStringList{QStringLiteral("USER \"%1\"").arg(kUser),
                                              QStringLiteral("PASSWORD \"%1\"").arg(kPassword),
                                              QStringLiteral("PAGE_SIZE 4096")};
            m_database.createDatabase();
            // Work on the new file through an ordinary attachment, the way
            // the front-end will see it.
            m_database.disconnect();
        }
        if (!m_database.connected())
            attach();
    }

    ~Connection() { m_database.disconnect(); }

    bool created() const { return m_created; }

    // Runs a SELECT and reports whether it returned a row.
    bool hasRow(const QStringList &lines)
    {
        prepare(lines);
        m_query.open();
        const bool found = m_query.recordCount() > 0;
        m_query.close();
        return found;
    }

    qint64 count(const QString &table)
    {
        prepare({QStringLiteral("SELECT COUNT(*) FROM ") + table});
        m_query.open();
        const qint64 rows = m_query.field(0).asInteger();
        m_query.close();
        return rows;
    }

    void execute(const QStringList &lines)
    {
        prepare(lines);
        m_query.execSql();
        m_query.close();
    }

    // Writes one row, its values bound as parameters: an invalid value is
    // NULL. Rows of one table with the same columns share one prepared
    // statement.
    void insert(const DemoRow &row)
    {
        QStringList parameters;
        for (int i = 1; i <= row.values.size(); ++i)
            parameters << QStringLiteral(":P%1").arg(i);
        const QStringList lines{QStringLiteral("INSERT INTO ") + row.table + QStringLiteral(" (")
                                    + row.columns.join(QLatin1Char(',')) + QLatin1Char(')'),
                                QStringLiteral("VALUES (") + parameters.join(QLatin1Char(',')) + QLatin1Char(')')};
        if (!m_query.prepared() || m_query.sql() != lines) {
            prepare(lines);
            m_query.prepare();
        }
        for (int i = 0; i < row.values.size(); ++i)
            m_query.setParam(QStringLiteral("P%1").arg(i + 1), row.values[i].isValid() ? row.values[i] : QVariant());
        m_query.execSql();
    }

    void commit()
    {
        if (m_transaction.active())
            m_transaction.commit();
    }

private:
    void prepare(const QStringList &lines)
    {
        m_query.close();
        m_query.sql() = lines;
    }

    db::Database m_database;
    db::Transaction m_transaction{&m_database};
    db::Query m_query{&m_database, &m_transaction};
    bool m_created = false;
};

QString quoted(const QString &text)
{
    return QLatin1Char('\'') + db::quotedValue(text) + QLatin1Char('\'');
}

// The tables that belong to the users rather than to the catalogue.
bool isUserTable(const QString &table)
{
    return table == QLatin1String("UTENTI") || table == QLatin1String("TABQUADREL");
}

bool objectExists(Connection &connection, const SchemaObject &object)
{
    if (object.kind == SchemaObject::Table)
        return connection.hasRow({QStringLiteral("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS"),
                                  QStringLiteral("WHERE RDB$RELATION_NAME=") + quoted(object.name)});
    if (object.kind == SchemaObject::Index)
        return connection.hasRow({QStringLiteral("SELECT RDB$INDEX_NAME FROM RDB$INDICES"),
                                  QStringLiteral("WHERE RDB$INDEX_NAME=") + quoted(object.name)});
    return connection.hasRow({QStringLiteral("SELECT RDB$GENERATOR_NAME FROM RDB$GENERATORS"),
                              QStringLiteral("WHERE RDB$GENERATOR_NAME=") + quoted(object.name)});
}

SetupResult applySchema(const QString &path, const QString &script)
{
    const QList<SchemaObject> objects = schemaObjects(script);
    Connection connection(path);
    SetupResult result;
    result.path = isServerPath(path) ? path : QFileInfo(path).absoluteFilePath();
    result.databaseCreated = connection.created();
    for (const SchemaObject &object : objects) {
        if (objectExists(connection, object)) {
            result.existing << object.name;
            continue;
        }
        connection.execute(object.statement.split(QLatin1Char('\n')));
        // Each definition is committed on its own: later statements may
        // only use what has been committed.
        connection.commit();
        result.created << object.name;
    }
    connection.commit();
    return result;
}

// Stored form of an identifier: quoted names keep their case, unquoted ones
// are upper case.
QString storedName(const QString &identifier)
{
    if (identifier.size() >= 2 && identifier.startsWith(QLatin1Char('"')) && identifier.endsWith(QLatin1Char('"')))
        return identifier.mid(1, identifier.size() - 2);
    return identifier.toUpper();
}

} // namespace

QStringList splitStatements(const QString &script)
{
    QStringList kept;
    for (const QString &line : script.split(QLatin1Char('\n'))) {
        if (!line.trimmed().startsWith(QLatin1String("--")))
            kept << line;
    }
    QStringList statements;
    for (const QString &piece : kept.join(QLatin1Char('\n')).split(QLatin1Char(';'))) {
        const QString statement = piece.trimmed();
        if (!statement.isEmpty())
            statements << statement;
    }
    return statements;
}

QList<SchemaObject> schemaObjects(const QString &script)
{
    static const QRegularExpression table(
        QStringLiteral(R"(^CREATE\s+TABLE\s+("[^"]+"|[A-Za-z0-9_$]+))"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression index(
        QStringLiteral(R"(^CREATE\s+(?:UNIQUE\s+)?(?:ASC\w*\s+|DESC\w*\s+)?INDEX\s+("[^"]+"|[A-Za-z0-9_$]+)\s+ON\s)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression generator(
        QStringLiteral(R"(^CREATE\s+(?:GENERATOR|SEQUENCE)\s+("[^"]+"|[A-Za-z0-9_$]+)\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    QList<SchemaObject> objects;
    for (const QString &statement : splitStatements(script)) {
        if (const auto match = table.match(statement); match.hasMatch())
            objects.append({SchemaObject::Table, storedName(match.captured(1)), statement});
        else if (const auto match = index.match(statement); match.hasMatch())
            objects.append({SchemaObject::Index, storedName(match.captured(1)), statement});
        else if (const auto match = generator.match(statement); match.hasMatch())
            objects.append({SchemaObject::Generator, storedName(match.captured(1)), statement});
        else
            throw SetupError("not a CREATE TABLE, CREATE INDEX or CREATE GENERATOR statement: "
                             + statement.left(60).toStdString());
    }
    return objects;
}

QString userSchemaScript()
{
    // Two tables are defined once elsewhere: TABX as in the archives, and
    // TABSCRIPT as the front-end creates it.
    QString script = QString::fromUtf8(scripts::kUserSchema);
    for (const SchemaObject &object : schemaObjects(archiveSchemaScript())) {
        if (object.kind == SchemaObject::Table && object.name == QLatin1String("TABX"))
            script += QLatin1Char('\n') + object.statement + QStringLiteral(";\n");
    }
    return script + QLatin1Char('\n') + tabScriptDefinition().join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString archiveSchemaScript()
{
    return QString::fromUtf8(scripts::kArchiveSchema);
}

SetupResult createUserDatabase(const QString &path)
{
    return applySchema(path, userSchemaScript());
}

SetupResult createArchiveDatabase(const QString &path)
{
    return applySchema(path, archiveSchemaScript());
}

namespace {

// Writes rows into their tables and commits. A table that holds rows before
// its first row is written is left alone, unless `alwaysWritten` says so.
int writeRows(Connection &connection, const QList<DemoRow> &rows, bool (*alwaysWritten)(const QString &table))
{
    QHash<QString, bool> writable; // per table, decided at its first row
    int written = 0;
    for (const DemoRow &row : rows) {
        auto table = writable.find(row.table);
        if (table == writable.end())
            table = writable.insert(row.table, alwaysWritten(row.table) || connection.count(row.table) == 0);
        if (!*table)
            continue;
        connection.insert(row);
        ++written;
    }
    connection.commit();
    return written;
}

bool noTable(const QString &)
{
    return false;
}

} // namespace

int insertDemoData(const QString &path, const QList<DemoCompany> &companies)
{
    if (isServerPath(path) || !QFileInfo::exists(path))
        createUserDatabase(path);
    Connection connection(path);
    if (connection.count(QStringLiteral("UTENTI")) > 0)
        return 0;
    return writeRows(connection, demoSuiteRows(companies), isUserTable);
}

int insertDemoArchiveData(const QString &path)
{
    if (isServerPath(path) || !QFileInfo::exists(path))
        createArchiveDatabase(path);
    Connection connection(path);
    return writeRows(connection, demoArchiveRows(), noTable);
}

QString applicationDirectory(const QString &frontEndPathOrDirectory)
{
    const QFileInfo info(frontEndPathOrDirectory);
    if (info.exists() && !info.isDir())
        return info.absolutePath();
    return QDir::cleanPath(QDir(frontEndPathOrDirectory).absolutePath());
}

QString userDatabasePath(const QString &applicationDirectory)
{
    return QDir(applicationDirectory).filePath(QStringLiteral("user/user.fdb"));
}

namespace {

// The user database and, with `demo`, the demo archives and rows.
QList<SetupResult> setupDatabases(const QString &userDatabase, const QList<DemoCompany> &companies, bool demo)
{
    QList<SetupResult> results{createUserDatabase(userDatabase)};
    if (demo) {
        for (const DemoCompany &company : companies) {
            results << createArchiveDatabase(company.archivePath);
            results.last().demoRows = insertDemoArchiveData(company.archivePath);
        }
        results.first().demoRows = insertDemoData(userDatabase, companies);
    }
    return results;
}

} // namespace

bool isServerPath(const QString &path)
{
    // A drive letter ("C:") is one character before the colon.
    return path.indexOf(QLatin1Char(':')) > 1;
}

QList<SetupResult> setupApplicationDirectory(const QString &frontEndPathOrDirectory, bool demo)
{
    const QString directory = applicationDirectory(frontEndPathOrDirectory);
    return setupDatabases(userDatabasePath(directory), demoCompanies(directory), demo);
}

QList<SetupResult> setupOnServer(const QString &frontEndPathOrDirectory, const QString &server,
                                 const QString &serverDirectory, bool demo)
{
    const QString prefix = server + QLatin1Char(':');
    const QString userDatabase = QDir(serverDirectory).filePath(QStringLiteral("user.fdb"));
    // The server makes no directories: the archives lie beside the user database.
    QList<DemoCompany> companies = demoCompanies(serverDirectory);
    for (DemoCompany &company : companies)
        company.archivePath = prefix + QDir(serverDirectory).filePath(QFileInfo(company.archivePath).fileName());
    QList<SetupResult> results = setupDatabases(prefix + userDatabase, companies, demo);

    const QString userDirectory =
        QDir(applicationDirectory(frontEndPathOrDirectory)).filePath(QStringLiteral("user"));
    QDir().mkpath(userDirectory);
    IniFile datiIni(QDir(userDirectory).filePath(QStringLiteral("dati.ini")));
    if (!datiIni.writeString(QStringLiteral("CONFIG"), QStringLiteral("Nome Server"), server) ||
        !datiIni.writeString(QStringLiteral("CONFIG"), QStringLiteral("Alias"), userDatabase))
        throw SetupError("cannot write " + datiIni.path().toStdString());
    return results;
}

} // namespace tg::setup
