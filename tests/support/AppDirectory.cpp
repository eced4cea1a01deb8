#include "AppDirectory.h"

#include "SuiteSetup.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/ExecutableDirectory.h"

#include <QDir>

namespace tg::test {
namespace {

void attach(db::Database &database, const QString &path)
{
    database.setDatabaseName(path);
    database.params() = QStringList{QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=quillbeam")};
    database.connect();
}

} // namespace

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

void AppDirectory::execUser(const QStringList &statements) const
{
    db::Database database;
    attach(database, userDatabasePath());
    db::Transaction transaction(&database);
    db::Query query(&database, &transaction);
    for (const QString &statement : statements) {
        query.sql() = QStringList{statement};
        query.execSql();
        // DDL must be committed before the next statement can use it.
        transaction.commit();
    }
}

QString AppDirectory::queryUserText(const QString &statement) const
{
    db::Database database;
    attach(database, userDatabasePath());
    db::Transaction transaction(&database);
    db::Query query(&database, &transaction);
    query.sql() << statement;
    query.open();
    return query.field(0).asText();
}

} // namespace tg::test
