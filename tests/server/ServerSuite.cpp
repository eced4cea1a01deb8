#include "ServerSuite.h"

#include "AppDirectory.h"
#include "SuiteRows.h"
#include "SuiteSetup.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QUuid>
#include <gtest/gtest.h>

namespace tg::test {
namespace {

QStringList userRows(const ServerSuite &suite)
{
    QStringList rows;
    const QStringList names{QStringLiteral("MARIO"), QStringLiteral("ANNA"), QStringLiteral("GINO"), QStringLiteral("LUCA")};
    for (int user = 1; user <= names.size(); ++user) {
        rows << rows::user(user, names.at(user - 1), QStringLiteral("DITTA,PROFILOSICUREZZA,PROGETTO"),
                           QStringLiteral("'ROSSI SPA',1,1"))
             << rows::parameter(user, QStringLiteral("ROSSI SPA"), QStringLiteral("Archivio"), suite.rossi(), 1)
             << rows::parameter(user, QStringLiteral("VERDI SRL"), QStringLiteral("Archivio"), suite.verdi(), 2);
    }
    rows << QStringLiteral("INSERT INTO PROFILI (CODICE,LIVELLOPREDEFINITO) VALUES (1,'5')")
         << rows::program(1, QStringLiteral("Vendite")) << rows::projectProgram(1, 1);
    const QList<std::pair<QString, QString>> entries{{QStringLiteral("Registra"), QStringLiteral("RecX")},
                                                     {QStringLiteral("Fatture"), QStringLiteral("FinestraX")},
                                                     {QStringLiteral("Ordini"), QStringLiteral("RecY")}};
    for (int menu = 1; menu <= entries.size(); ++menu) {
        rows << rows::menuEntry(rows::Entry{.program = 1, .menu = menu, .caption = entries.at(menu - 1).first,
                                            .function = QLatin1Char('\'') + entries.at(menu - 1).second +
                                                        QLatin1Char('\'')})
             << QStringLiteral("UPDATE DETTMENU SET DLL='taskgatetest.dll', PARAMETRIBLOB='P=1' "
                               "WHERE PROGRAMMA=1 AND MENU=%1")
                    .arg(menu);
    }
    return rows;
}

const QStringList ArchiveRows{
    QStringLiteral("INSERT INTO SEMAFORIFCRITICHE (DLL,FORM,OSSERVATASPECIALE) VALUES ('taskgatetest.dll','FinestraX',0)"),
    QStringLiteral("INSERT INTO SEMAFORIFCRITICHE (DLL,FORM,OSSERVATASPECIALE) VALUES ('taskgatetest.dll','RecY',0)"),
    QStringLiteral("INSERT INTO SEMAFORIFCRITICHECOLL (DLLPRIN,FORMPRIN,DLLCOLLEGATA,FORMCOLLEGATA) "
                   "VALUES ('taskgatetest.dll','RecY','taskgatetest.dll','FinestraX')"),
    QStringLiteral("INSERT INTO TABX (CODICE,NOME,TESTO) VALUES (1,'uno','a')"),
    QStringLiteral("INSERT INTO TABX (CODICE,NOME,TESTO) VALUES (2,'due','b')")};

} // namespace

int serverPort(const QString &serverDirectory)
{
    QFile port(QDir(serverDirectory).filePath(QStringLiteral("port")));
    if (!QFile::exists(QDir(serverDirectory).filePath(QStringLiteral("pid"))) || !port.open(QIODevice::ReadOnly))
        return 0;
    return port.readAll().trimmed().toInt();
}

ServerSuite::ServerSuite(const QString &serverDirectory)
    : m_server(QStringLiteral("localhost/%1").arg(serverPort(serverDirectory))),
      m_dataDirectory(QDir(serverDirectory).filePath(QStringLiteral("data/suite-")) +
                      QUuid::createUuid().toString(QUuid::Id128))
{
    // The server's user must be able to create the databases here.
    QDir().mkpath(m_dataDirectory);
    QFile::setPermissions(m_dataDirectory, QFileDevice::Permissions(0x7777));
    setup::createUserDatabase(userDatabase());
    for (const QString &archive : {rossi(), verdi()}) {
        setup::createArchiveDatabase(archive);
        exec(archive, ArchiveRows);
    }
    exec(userDatabase(), userRows(*this));
}

QString ServerSuite::onServer(const QString &fileName) const
{
    return m_server + QLatin1Char(':') + QDir(m_dataDirectory).filePath(fileName);
}

void ServerSuite::exec(const QString &database, const QStringList &statements) const
{
    AppDirectory::exec(database, statements);
}

QStringList ServerSuite::rows(const QString &database, const QString &statement) const
{
    return AppDirectory::queryRows(database, statement);
}

QString ServerSuite::value(const QString &database, const QString &statement) const
{
    return AppDirectory::queryText(database, statement);
}

QString ServerSuite::workstationDirectory()
{
    const QString directory = m_applications.file(QStringLiteral("workstation%1/").arg(++m_workstations));
    QDir().mkpath(directory + QStringLiteral("Grafica"));
    QDir().mkpath(directory + QStringLiteral("user"));
    EXPECT_TRUE(QFile::copy(QStringLiteral(TASKGATE_TEST_PLUGIN), directory + QStringLiteral("taskgatetest.so")));
    IniFile datiIni(directory + QStringLiteral("user/dati.ini"));
    datiIni.writeString(QStringLiteral("CONFIG"), QStringLiteral("Nome Server"), m_server);
    datiIni.writeString(QStringLiteral("CONFIG"), QStringLiteral("Alias"),
                        QDir(m_dataDirectory).filePath(QStringLiteral("user.fdb")));
    return directory;
}

} // namespace tg::test
