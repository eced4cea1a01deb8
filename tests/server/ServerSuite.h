#pragma once

#include "TestSupport.h"

#include <QString>
#include <QStringList>

namespace tg::test {

// The loopback port of a private server started by tests/server/firebird-server.sh
// in `serverDirectory`; 0 when none runs there.
int serverPort(const QString &serverDirectory);

// A suite on a private Firebird server: the user database and the archives
// of ROSSI SPA and VERDI SRL in a directory of their own on the server, with
// users MARIO, ANNA, GINO and LUCA (numbers 1 to 4, all on ROSSI SPA) and
// program 1 of their project whose menu calls the recording plug-in:
//   1 "Registra"  RecX       a plain call with a window id
//   2 "Fatture"   FinestraX  a critical window that stays open
//   3 "Ordini"    RecY      blocked while "Fatture" is open anywhere
// Workstation directories are copies of one application directory whose
// user/dati.ini reaches the user database through the server.
class ServerSuite {
public:
    explicit ServerSuite(const QString &serverDirectory);

    // "localhost/port", as dati.ini names the server.
    QString server() const { return m_server; }
    // A database of the suite as the client names it, "localhost/port:path".
    QString onServer(const QString &fileName) const;
    QString userDatabase() const { return onServer(QStringLiteral("user.fdb")); }
    QString rossi() const { return onServer(QStringLiteral("rossi.fdb")); }
    QString verdi() const { return onServer(QStringLiteral("verdi.fdb")); }

    // Statements committed and rows read outside every workstation.
    void exec(const QString &database, const QStringList &statements) const;
    QStringList rows(const QString &database, const QString &statement) const;
    QString value(const QString &database, const QString &statement) const;

    // A new application directory for one workstation.
    QString workstationDirectory();

private:
    QString m_server;
    QString m_dataDirectory;
    TempDir m_applications;
    int m_workstations = 0;
};

} // namespace tg::test
