#include "AppDirectory.h"
#include "TestDatabase.h"

#include "SuiteSetup.h"
#include "platform/ExecutableDirectory.h"

#include <QDir>

namespace tg::test {

AppDirectory::AppDirectory(Contents contents)
{
    if (contents != Contents::Empty)
        QDir().mkpath(m_dir.file(QStringLiteral("Grafica")));
    if (contents == Contents::UserSchema)
        setup::createUserDatabase(userDatabasePath());
    ExecutableDirectory::override(m_dir.path());
}

AppDirectory::~AppDirectory()
{
    ExecutableDirectory::override(QString());
}

QString AppDirectory::createArchive(const QString &fileName) const
{
    const QString path = m_dir.file(fileName);
    setup::createArchiveDatabase(path);
    return path;
}

void AppDirectory::exec(const QString &databasePath, const QStringList &statements)
{
    db::Database database;
    attachTestDatabase(database, databasePath);
    // DDL must be committed before the next statement can use it.
    for (const QString &statement : statements)
        execCommitted(database, statement);
}

// The rows of a query as lists of texts.
static QList<QStringList> readRows(const QString &databasePath, const QString &statement)
{
    db::Database database;
    attachTestDatabase(database, databasePath);
    db::Transaction transaction(&database);
    db::Query query(&database, &transaction);
    query.sql() << statement;
    query.open();
    QList<QStringList> rows;
    for (; !query.eof(); query.next()) {
        QStringList values;
        for (int i = 0; i < query.fieldCount(); ++i)
            values << query.field(i).asText();
        rows << values;
    }
    return rows;
}

QString AppDirectory::queryText(const QString &databasePath, const QString &statement)
{
    const QList<QStringList> rows = readRows(databasePath, statement);
    return rows.isEmpty() ? QString() : rows.first().value(0);
}

QStringList AppDirectory::queryRows(const QString &databasePath, const QString &statement)
{
    QStringList rows;
    for (const QStringList &row : readRows(databasePath, statement))
        rows << row.join(QLatin1Char('|'));
    return rows;
}

} // namespace tg::test
