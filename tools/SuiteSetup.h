#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <stdexcept>

// Creation of the suite's databases: the user database (user/user.fdb beside
// the front-end) and company archive databases, from the schema scripts
// compiled into the library. Every operation is idempotent: tables and
// generators that already exist are left alone, and demo rows are written
// only into an empty user table.
namespace tg::setup {

// A schema script that the setup cannot apply (a statement other than
// CREATE TABLE or CREATE GENERATOR).
class SetupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a database object is, as the setup sees it.
struct SchemaObject {
    enum Kind { Table, Generator };
    Kind kind;
    QString name; // as stored in the system tables (unquoted names upper case)
    QString statement;
};

// The statements of a script: "--" comment lines dropped, split at each ';',
// blank statements left out, each without its ';'.
QStringList splitStatements(const QString &script);
// The tables and generators a script creates, in script order. Throws
// SetupError for a statement that is neither.
QList<SchemaObject> schemaObjects(const QString &script);

QString userSchemaScript();
QString archiveSchemaScript();

struct SetupResult {
    QString path;
    bool databaseCreated = false; // the database file did not exist before
    QStringList created;          // tables and generators created now
    QStringList existing;         // tables and generators found in place
    int demoRows = 0;             // demo rows written
};

// A company of the demo parameter sets and the archive its "Archivio" names.
struct DemoCompany {
    QString name;
    QString archivePath;
};

// Creates (or completes) the user database at `path`; missing directories
// are created. Database errors surface as tg::db::DatabaseError.
SetupResult createUserDatabase(const QString &path);
// Creates (or completes) an archive database at `path`.
SetupResult createArchiveDatabase(const QString &path);

// Writes the demo suite into the user database at `path` when its UTENTI
// table is empty: four users (one of them not offered at login), their
// parameter sets with one section per company, a profile, a project and a
// program whose quick entries are the built-in commands. Catalogue tables
// that already hold rows are left alone. Returns the number of rows written.
int insertDemoData(const QString &path, const QList<DemoCompany> &companies);

// The application directory for a front-end executable path or a directory.
QString applicationDirectory(const QString &frontEndPathOrDirectory);
// <application directory>/user/user.fdb
QString userDatabasePath(const QString &applicationDirectory);
// The demo companies of an application directory, with their archives in
// <application directory>/archivi/.
QList<DemoCompany> demoCompanies(const QString &applicationDirectory);

// Sets up an application directory: the user database and, with `demo`,
// the demo archives and the demo rows. Returns one result per database.
QList<SetupResult> setupApplicationDirectory(const QString &frontEndPathOrDirectory, bool demo);

} // namespace tg::setup
