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
#include "TaskgateVersion.h"
#include "db/DatabaseError.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

namespace {

const char *const kDescription =
    "Creates the suite's user database (<directory>/user/user.fdb) and archive\n"
    "databases; existing tables and generators are left as they are, so running\n"
    "it again changes nothing that exists.\n"
    "\n"
    "  taskgate-setup [--demo] --user-db <front-end executable or directory>\n"
    "  taskgate-setup [--demo] --archive <path.fdb> [<path.fdb> ...]\n"
    "  taskgate-setup [--demo] --server <host[/port]> --server-dir <directory>\n"
    "                 --user-db <front-end executable or directory>";

[[noreturn]] void fail(const QCommandLineParser &parser, const QString &message)
{
    std::fprintf(stderr, "taskgate-setup: %s\n\n%s", qPrintable(message), qPrintable(parser.helpText()));
    std::exit(2);
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
    QCoreApplication::setApplicationName(QStringLiteral("taskgate-setup"));
    QCoreApplication::setOrganizationName(QStringLiteral("Taskgate"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TASKGATE_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption demoOption(
        QStringLiteral("demo"),
        QStringLiteral("Also write the demo suite (users, companies, programs with their menus, picture "
                       "buttons) into an empty user database, with the companies' archives in "
                       "<directory>/archivi/ (on a server: beside the user database)."));
    const QCommandLineOption userDbOption(
        QStringLiteral("user-db"),
        QStringLiteral("Create <directory>/user/user.fdb for the front-end in <directory> (its executable "
                       "may be named instead); with --server, write <directory>/user/dati.ini naming the "
                       "server and the user database made there."),
        QStringLiteral("directory"));
    const QCommandLineOption archiveOption(
        QStringLiteral("archive"),
        QStringLiteral("Create a company archive database; more paths may follow it. With --server, "
                       "paths on the server."),
        QStringLiteral("path.fdb"));
    const QCommandLineOption serverOption(
        QStringLiteral("server"),
        QStringLiteral("Make the databases on this Firebird server (the port after a slash when it is "
                       "not 3050)."),
        QStringLiteral("host[/port]"));
    const QCommandLineOption serverDirOption(
        QStringLiteral("server-dir"),
        QStringLiteral("The directory on the server for the user database and the demo archives; it "
                       "must exist and be writable by the server."),
        QStringLiteral("directory"));
    parser.addOptions({demoOption, userDbOption, archiveOption, serverOption, serverDirOption});
    parser.addPositionalArgument(QStringLiteral("path.fdb"), QStringLiteral("More archives, after --archive."),
                                 QStringLiteral("[<path.fdb> ...]"));

    if (!parser.parse(QCoreApplication::arguments()))
        fail(parser, parser.errorText());
    if (parser.isSet(helpOption))
        parser.showHelp(0);
    if (parser.isSet(versionOption))
        parser.showVersion();

    // A value is never another option: "--user-db --demo" lacks its path.
    for (const QCommandLineOption *option : {&userDbOption, &archiveOption, &serverOption, &serverDirOption}) {
        for (const QString &value : parser.values(*option)) {
            if (value.startsWith(QLatin1String("--")))
                fail(parser, QStringLiteral("--%1 needs a value").arg(option->names().constFirst()));
        }
    }
    const bool demo = parser.isSet(demoOption);
    // Given twice, the last one counts.
    const QString userDb = parser.value(userDbOption);
    const QString server = parser.value(serverOption);
    const QString serverDirectory = parser.value(serverDirOption);
    QStringList archives = parser.values(archiveOption);
    if (!parser.positionalArguments().isEmpty()) {
        if (archives.isEmpty())
            fail(parser, QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().constFirst()));
        archives << parser.positionalArguments();
    }

    if (userDb.isEmpty() && archives.isEmpty())
        fail(parser, QStringLiteral("nothing to create: give --user-db or --archive"));
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
