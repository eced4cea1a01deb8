// taskgate-setup: creates the suite's databases for a front-end installation.
//
//   taskgate-setup [--demo] --user-db <front-end executable or its directory>
//   taskgate-setup [--demo] --archive <path.fdb> [<path.fdb> ...]
//   taskgate-setup [--demo] --server <host[/port]> --server-dir <directory>
//                  --user-db <front-end executable or its directory>
//
// --user-db creates <directory>/user/user.fdb; with --demo it also creates
// the demo archives in <directory>/archivi/ and fills an empty user table
// with the demo suite. --archive creates company archive databases. Both may
// be given in one call. Running it again changes nothing that exists.
//
// With --server the databases are made on that Firebird server: the user
// database as <server directory>/user.fdb (the front-end's user/dati.ini is
// written to reach it), the demo archives beside it, and
// --archive paths are paths on the server.

#include "SuiteSetup.h"
#include "db/DatabaseError.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

void usage()
{
    std::fputs("usage: taskgate-setup [--demo] --user-db <front-end executable or directory>\n"
                "       taskgate-setup [--demo] --archive <path.fdb> [<path.fdb> ...]\n"
                "Creates the suite's user database (<directory>/user/user.fdb) and archive\n"
                "databases; existing tables and generators are left as they are.\n"
                "  --demo   also write the demo suite (users, companies, programs with their\n"
                "           menus, picture buttons) into an empty user database, with the\n"
                "           companies' archives in <directory>/archivi/\n"
                "  --server <host[/port]> --server-dir <directory>\n"
                "           make the databases on that Firebird server, in that directory of\n"
                "           the server; --user-db then writes <directory>/user/dati.ini\n"
                "           naming the server and the user database\n",
                stderr);
}

void report(const tg::setup::SetupResult &result)
{
    std::printf("%s: %s", qPrintable(result.path),
                result.databaseCreated ? "database created" : "database found");
    if (!result.created.isEmpty())
        std::printf(", created %s", qPrintable(result.created.join(QLatin1Char(' '))));
    if (result.created.isEmpty())
        std::printf(", schema complete, nothing changed");
    if (result.demoRows > 0)
        std::printf(", %d demo rows written", result.demoRows);
    std::printf("\n");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();

    bool demo = false;
    QString userDb;
    QString server;
    QString serverDirectory;
    QStringList archives;
    bool afterArchive = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--demo")) {
            demo = true;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            usage();
            return 0;
        } else if (arg == QLatin1String("--server") || arg == QLatin1String("--server-dir")) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "taskgate-setup: %s needs a value\n", qPrintable(arg));
                usage();
                return 2;
            }
            (arg == QLatin1String("--server") ? server : serverDirectory) = args.at(++i);
            afterArchive = false;
        } else if (arg == QLatin1String("--user-db") || arg == QLatin1String("--archive")) {
            if (i + 1 >= args.size() || args.at(i + 1).startsWith(QLatin1String("--"))) {
                std::fprintf(stderr, "taskgate-setup: %s needs a path\n", qPrintable(arg));
                usage();
                return 2;
            }
            if (arg == QLatin1String("--user-db")) {
                userDb = args.at(++i);
                afterArchive = false;
            } else {
                archives << args.at(++i);
                afterArchive = true;
            }
        } else if (afterArchive && !arg.startsWith(QLatin1String("--"))) {
            archives << arg;
        } else {
            std::fprintf(stderr, "taskgate-setup: unexpected argument %s\n", qPrintable(arg));
            usage();
            return 2;
        }
    }
    if (userDb.isEmpty() && archives.isEmpty()) {
        usage();
        return 2;
    }
    if (!server.isEmpty() && !userDb.isEmpty() && serverDirectory.isEmpty()) {
        std::fputs("taskgate-setup: --server with --user-db needs --server-dir\n", stderr);
        return 2;
    }
    if (!server.isEmpty()) {
        for (QString &archive : archives)
            archive = server + QLatin1Char(':') + archive;
    }

    try {
        if (!userDb.isEmpty()) {
            const QList<tg::setup::SetupResult> results =
                server.isEmpty() ? tg::setup::setupApplicationDirectory(userDb, demo)
                                 : tg::setup::setupOnServer(userDb, server, serverDirectory, demo);
            for (const tg::setup::SetupResult &result : results)
                report(result);
        }
        for (const QString &archive : archives)
            report(tg::setup::createArchiveDatabase(archive));
    } catch (const tg::db::DatabaseError &error) {
        std::fprintf(stderr, "taskgate-setup: %s\n", qPrintable(error.message()));
        return 1;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "taskgate-setup: %s\n", error.what());
        return 1;
    }
    return 0;
}
