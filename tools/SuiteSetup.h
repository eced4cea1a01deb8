#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <stdexcept>

// Creation of the suite's databases: the user database (user/user.fdb beside
// the front-end) and company archive databases, from the schema scripts
// compiled into the library. Every operation is idempotent: tables and
// generators that already exist are left alone, and demo rows are written
// only into an empty user table.
namespace tg::setup {

// A schema script that the setup cannot apply (a statement other than
// CREATE TABLE, CREATE INDEX or CREATE GENERATOR).
class SetupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a database object is, as the setup sees it.
struct SchemaObject {
    enum Kind { Table, Index, Generator };
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

// One row to write: the values of the named columns, bound as parameters.
// An invalid QVariant is written as NULL, an integer as a number, text as
// text.
struct DemoRow {
    QString table;
    QStringList columns;
    QVariantList values;
};

// The demo suite as rows, grouped by table: seven users (one inactive, one
// not offered at login, two with menu languages) with their parameter sets,
// three profiles, a project whose six programs have icons, menu trees and
// translated captions, and a project of picture buttons. A user's sections
// are those of its companies found in `companies`, each with "Archivio" set
// to that company's archive.
QList<DemoRow> demoSuiteRows(const QList<DemoCompany> &companies);

// The rows every demo company archive holds: critical windows of the demo
// plug-ins (SEMAFORIFCRITICHE) and the windows that block them
// (SEMAFORIFCRITICHECOLL).
QList<DemoRow> demoArchiveRows();

// Writes demoArchiveRows() into the archive database at `path`, creating it
// when missing; a table that already holds rows is left alone. Returns the
// number of rows written.
int insertDemoArchiveData(const QString &path);

// Writes the demo suite into the user database at `path` when its UTENTI
// table is empty. Users and their parameters are always written; a
// catalogue table that already holds rows is left alone. Returns the number
// of rows written.
int insertDemoData(const QString &path, const QList<DemoCompany> &companies);

// The application directory for a front-end executable path or a directory.
QString applicationDirectory(const QString &frontEndPathOrDirectory);
// <application directory>/user/user.fdb
QString userDatabasePath(const QString &applicationDirectory);
// The demo companies of an application directory, with their archives in
// <application directory>/archivi/; one of them is an inactive company.
QList<DemoCompany> demoCompanies(const QString &applicationDirectory);

// Sets up an application directory: the user database and, with `demo`,
// the demo archives with their rows and the demo rows of the user database.
// Returns one result per database, the user database first.
QList<SetupResult> setupApplicationDirectory(const QString &frontEndPathOrDirectory, bool demo);

// True for a database path on a server, "host[/port]:path".
bool isServerPath(const QString &path);

// Sets up the suite's databases on a Firebird server ("host" or
// "host/port"): the user database "user.fdb" and, with `demo`, the demo
// archives beside it, in `serverDirectory` (a directory as the server sees
// it), the companies' "Archivio" naming them as "server:path". The dati.ini
// of the front-end's user directory is written to reach the user database
// through the server (its "Nome Server" and "Alias").
QList<SetupResult> setupOnServer(const QString &frontEndPathOrDirectory, const QString &server,
                                 const QString &serverDirectory, bool demo);

} // namespace tg::setup
