#pragma once

#include "taskgate_core_export.h"

#include <QString>

#include <functional>

class QWidget;

namespace tg::db {
class Database;
}

namespace tg {

// How any database of the program is found, attached or created. The
// directory of a database ends with its separator; dati.ini lies in that
// directory and its path is the directory followed directly by "dati.ini".
// Network directories and the values of dati.ini use backslashes.
//
// ApriArchivio and ChiediServerArchivio may ask the user through a dialog:
// they are defined in tg_archive (the widget part). ApriCreaDatabase and
// ConvertiPercorsoRete need no widget and live in tg_archive_core.

// Attaches or creates the database `fileName` ("archivio.fdb" when empty) of
// `directory` the way its dati.ini says. True when the connection is open at
// the end; on false it is left disconnected. Never throws a database error.
TASKGATE_CORE_EXPORT bool ApriArchivio(db::Database &connection, const QString &directory, const QString &fileName,
                  const QString &userName, const QString &password, QWidget *owner);

// ApriArchivio without a window of its own: the last resort asks the server
// question installed with archive::installServerQuestion (the main window's
// dialog); with none installed only a server recorded in dati.ini is used.
TASKGATE_CORE_EXPORT bool ApriArchivio(db::Database &connection, const QString &directory, const QString &fileName,
                  const QString &userName, const QString &password);

// Attaches `path` (as "server:path" with the drive letter in place of its
// first character when a server is given); when that fails, creates it with
// page size 4096 and dialect 3. True when the connection is open at the end.
TASKGATE_CORE_EXPORT bool ApriCreaDatabase(db::Database &connection, const QString &path, const QString &serverName,
                      const QString &driveLetter, const QString &userName, const QString &password);

// Server name and drive letter recorded in the dati.ini of `directory`; when no
// server is recorded, asks the user and records the answer.
TASKGATE_CORE_EXPORT void ChiediServerArchivio(QString &serverName, QString &driveLetter, const QString &directory,
                          QWidget *owner);

// Turns a network directory (\\host\share\rest) into a server connection path.
// True means the caller must give up. Only ever sets `namedShare` to true.
TASKGATE_CORE_EXPORT bool ConvertiPercorsoRete(const QString &directory, const QString &percorsoNelServer, QString &path,
                          bool &namedShare);

namespace archive {

// Section and keys of dati.ini.
inline constexpr QLatin1String ConfigSection("CONFIG");
inline constexpr QLatin1String KeyNomeServer("Nome Server");
inline constexpr QLatin1String KeyAlias("Alias");
inline constexpr QLatin1String KeyPercorsoDatabase("PercorsoDatabase");
inline constexpr QLatin1String KeyPercorsoNelServer("Percorso Nel Server");
inline constexpr QLatin1String KeyLetteraDiscoServer("Lettera Disco Server");

// The dati.ini beside the databases of a directory.
TASKGATE_CORE_EXPORT QString datiIniPath(const QString &directory);
// A value of section CONFIG of the directory's dati.ini; empty when missing.
TASKGATE_CORE_EXPORT QString readDatiIni(const QString &directory, const QString &key);
// Server name and drive letter recorded for the directory (both cleared first).
TASKGATE_CORE_EXPORT void readRecordedServer(const QString &directory, QString &serverName, QString &driveLetter);
// Records the answer of the server question: the server name always, the
// drive letter only when it is not empty.
TASKGATE_CORE_EXPORT void writeRecordedServer(const QString &directory, const QString &serverName,
                         const QString &driveLetter);

// Attaching and creating databases. The locator sets up the connection (name,
// parameter lines, login prompt, dialect) and hands it over; a failure comes
// back as false, never as an exception.
class TASKGATE_CORE_EXPORT DatabaseOpener {
public:
    virtual ~DatabaseOpener() = default;
    // Attaches under the connection's database name with its parameter lines.
    virtual bool attach(db::Database &connection) = 0;
    // Creates the database under the connection's name from its parameter
    // lines and dialect, leaving it attached.
    virtual bool create(db::Database &connection) = 0;
};

// The database client itself: Database::connect() and createDatabase(), with
// their DatabaseError taken as a failure.
class TASKGATE_CORE_EXPORT ClientOpener : public DatabaseOpener {
public:
    bool attach(db::Database &connection) override;
    bool create(db::Database &connection) override;

    static ClientOpener &instance();
};

// The server question of the last resort: fills server name and drive letter
// for a directory (ChiediServerArchivio without its owner window).
using ServerQuestion =
    std::function<void(QString &serverName, QString &driveLetter, const QString &directory)>;

// The process-wide server question used by ApriArchivio without an owner
// window; an empty question uninstalls it.
TASKGATE_CORE_EXPORT void installServerQuestion(ServerQuestion question);

// Reads one key of section CONFIG from the dati.ini at the given path.
using DatiIniReader = std::function<QString(const QString &iniPath, const QString &key)>;

// The decision of ApriArchivio and ApriCreaDatabase, with the database client,
// the server question and the dati.ini reader replaceable. Keeps no state
// between calls.
class TASKGATE_CORE_EXPORT ArchiveLocator {
public:
    // Without a server question only a server recorded in dati.ini is used;
    // without a reader dati.ini is read from disk.
    explicit ArchiveLocator(DatabaseOpener &opener = ClientOpener::instance(),
                            ServerQuestion askServer = {}, DatiIniReader readIni = {});

    bool ApriArchivio(db::Database &connection, const QString &directory, const QString &fileName,
                      const QString &userName, const QString &password);
    bool ApriCreaDatabase(db::Database &connection, const QString &path, const QString &serverName,
                          const QString &driveLetter, const QString &userName,
                          const QString &password);

private:
    QString read(const QString &directory, const QString &key) const;

    DatabaseOpener &m_opener;
    ServerQuestion m_askServer;
    DatiIniReader m_readIni;
};

} // namespace archive
} // namespace tg
