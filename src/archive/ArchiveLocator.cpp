#include "archive/ArchiveLocator.h"

#include "db/Database.h"
#include "db/DatabaseError.h"
#include "platform/IniFile.h"
#include "platform/Logging.h"
#include "platform/Prompter.h"

#include <exception>

namespace tg {
namespace {

const QLatin1Char Backslash('\\');

// Where the piece at the start of `text` ends: at its first backslash, or at
// the end of the text when it has none.
qsizetype pieceEnd(const QString &text)
{
    const qsizetype end = text.indexOf(Backslash);
    return end < 0 ? text.size() : end;
}

archive::ServerQuestion &installedServerQuestion()
{
    static archive::ServerQuestion question;
    return question;
}

} // namespace

bool ConvertiPercorsoRete(const QString &directory, const QString &percorsoNelServer, QString &path,
                          bool &namedShare)
{
    // \\host\share\rest: drop the two leading characters, then the host and
    // its backslash; what remains starts with the share.
    QString remainder = directory.mid(2);
    const qsizetype hostEnd = pieceEnd(remainder);
    const QString host = remainder.left(hostEnd);
    remainder.remove(0, hostEnd + 1);
    const QString share = remainder.left(pieceEnd(remainder));

    if (share.size() >= 2) {
        // A disk shared under a name: only the path on the server's own disks
        // can reach it.
        namedShare = true;
        if (!percorsoNelServer.isEmpty()) {
            path = host + QLatin1Char(':') + percorsoNelServer;
            return false;
        }
        showMessage(MessageKind::Plain,
                    QStringLiteral("Attenzione: il disco con gli archivi è stato condiviso in rete con un nome - ")
                        + share
                        + QStringLiteral(" - e non con la lettera che lo identifica. Si consiglia di correggere la condivisione oppure ")
                        + QStringLiteral("di correggere manualmente la sezione Percorso Nel Server nel file Dati.ini accanto al database"));
        path = remainder;
        return true;
    }

    // A disk shared under its letter: host:letter:\rest.
    path = host + QLatin1Char(':') + remainder;
    const qsizetype firstBackslash = path.indexOf(Backslash);
    if (firstBackslash >= 0)
        path.insert(firstBackslash, QLatin1Char(':'));
    return false;
}

bool ApriCreaDatabase(db::Database &connection, const QString &path, const QString &serverName,
                      const QString &driveLetter, const QString &userName, const QString &password)
{
    return archive::ArchiveLocator().ApriCreaDatabase(connection, path, serverName, driveLetter,
                                                      userName, password);
}

bool ApriArchivio(db::Database &connection, const QString &directory, const QString &fileName,
                  const QString &userName, const QString &password)
{
    return archive::ArchiveLocator(archive::ClientOpener::instance(), installedServerQuestion())
        .ApriArchivio(connection, directory, fileName, userName, password);
}

namespace archive {

void installServerQuestion(ServerQuestion question)
{
    installedServerQuestion() = std::move(question);
}

QString datiIniPath(const QString &directory)
{
    return directory + QStringLiteral("dati.ini");
}

QString readDatiIni(const QString &directory, const QString &key)
{
    return IniFile(datiIniPath(directory)).readString(ConfigSection, key);
}

void readRecordedServer(const QString &directory, QString &serverName, QString &driveLetter)
{
    serverName = readDatiIni(directory, KeyNomeServer);
    driveLetter = readDatiIni(directory, KeyLetteraDiscoServer);
}

void writeRecordedServer(const QString &directory, const QString &serverName,
                         const QString &driveLetter)
{
    IniFile ini(datiIniPath(directory));
    ini.writeString(ConfigSection, KeyNomeServer, serverName);
    if (!driveLetter.isEmpty())
        ini.writeString(ConfigSection, KeyLetteraDiscoServer, driveLetter);
}

bool ClientOpener::attach(db::Database &connection)
{
    try {
        connection.connect();
        return true;
    } catch (const db::DatabaseError &error) {
        qCWarning(lcArchive).noquote() << "Attaching" << connection.databaseName() << "failed:" << error.message();
        return false;
    } catch (const std::exception &error) {
        qCWarning(lcArchive).noquote() << "Attaching" << connection.databaseName() << "failed:" << error.what();
        return false;
    }
}

bool ClientOpener::create(db::Database &connection)
{
    try {
        connection.createDatabase();
        return true;
    } catch (const db::DatabaseError &error) {
        qCWarning(lcArchive).noquote() << "Creating" << connection.databaseName() << "failed:" << error.message();
        return false;
    } catch (const std::exception &error) {
        qCWarning(lcArchive).noquote() << "Creating" << connection.databaseName() << "failed:" << error.what();
        return false;
    }
}

ClientOpener &ClientOpener::instance()
{
    static ClientOpener opener;
    return opener;
}

ArchiveLocator::ArchiveLocator(DatabaseOpener &opener, ServerQuestion askServer,
                               DatiIniReader readIni)
    : m_opener(opener), m_askServer(std::move(askServer)), m_readIni(std::move(readIni))
{
}

QString ArchiveLocator::read(const QString &directory, const QString &key) const
{
    const QString iniPath = datiIniPath(directory);
    if (m_readIni)
        return m_readIni(iniPath, key);
    return IniFile(iniPath).readString(ConfigSection, key);
}

bool ArchiveLocator::ApriArchivio(db::Database &connection, const QString &directory,
                                  const QString &fileName, const QString &userName,
                                  const QString &password)
{
    const QString file = fileName.isEmpty() ? QStringLiteral("archivio.fdb") : fileName;

    // The result of the decision; a connection that could not be opened is
    // left disconnected, also when no attempt was made.
    const auto finish = [&connection](bool opened) {
        if (!opened)
            connection.disconnect();
        return opened;
    };

    // An alias on a named server.
    const QString nomeServer = read(directory, KeyNomeServer);
    const QString alias = read(directory, KeyAlias);
    if (!nomeServer.isEmpty() && !alias.isEmpty()) {
        if (ApriCreaDatabase(connection, nomeServer + QLatin1Char(':') + alias, QString(), QString(),
                             userName, password))
            return true;
    }

    // A network path below the server: the last word, whatever the outcome.
    const QString percorsoDatabase = read(directory, KeyPercorsoDatabase);
    if (!percorsoDatabase.isEmpty()) {
        QString networkPath = QStringLiteral("\\\\") + nomeServer + Backslash + percorsoDatabase;
        if (!networkPath.endsWith(Backslash))
            networkPath += Backslash;
        return finish(ApriCreaDatabase(connection, networkPath + file, QString(), QString(),
                                       userName, password));
    }

    // The directory itself, turned into a server path when it is a network one.
    QString path = directory;
    bool giveUp = false;
    bool namedShare = false;
    if (directory.contains(QStringLiteral("\\\\")))
        giveUp = ConvertiPercorsoRete(directory, read(directory, KeyPercorsoNelServer), path,
                                      namedShare);
    if (giveUp)
        return finish(false);

    if (ApriCreaDatabase(connection, path + file, QString(), QString(), userName, password))
        return true;

    if (namedShare) {
        showMessage(MessageKind::Plain,
                    QStringLiteral("Errore: nonostante le configurazioni, il particolare percorso di rete sta rendendo impossibile l'attivazione del database"));
        return finish(false);
    }

    // Last resort: the server's computer name and the drive letter of its disk.
    QString serverName;
    QString driveLetter;
    if (m_askServer) {
        m_askServer(serverName, driveLetter, directory);
    } else {
        serverName = read(directory, KeyNomeServer);
        driveLetter = read(directory, KeyLetteraDiscoServer);
    }
    if (serverName.isEmpty()) {
        showMessage(MessageKind::Plain, QStringLiteral("Apertura / creazione del database non riuscita!"));
        return finish(false);
    }
    return finish(ApriCreaDatabase(connection, path + file, serverName, driveLetter, userName,
                                   password));
}

bool ArchiveLocator::ApriCreaDatabase(db::Database &connection, const QString &path,
                                      const QString &serverName, const QString &driveLetter,
                                      const QString &userName, const QString &password)
{
    const QString user = userName.isEmpty() ? QStringLiteral("SYSDBA") : userName;
    const QString secret = password.isEmpty() ? QStringLiteral("quillbeam") : password;

    connection.disconnect();
    connection.setLoginPrompt(false);
    connection.params().clear();
    connection.params() << QStringLiteral("user_name=") + user
                        << QStringLiteral("password=") + secret;

    if (serverName.isEmpty()) {
        connection.setDatabaseName(path);
    } else {
        const QString serverPath = driveLetter.isEmpty() ? path : driveLetter + path.mid(1);
        connection.setDatabaseName(serverName + QLatin1Char(':') + serverPath);
    }

    if (m_opener.attach(connection))
        return true;

    // Not there (or not reachable): create it under the same name.
    connection.params().clear();
    connection.params() << QStringLiteral("USER \"") + user + QLatin1Char('"')
                        << QStringLiteral("PASSWORD \"") + secret + QLatin1Char('"')
                        << QStringLiteral("PAGE_SIZE 4096");
    connection.setSqlDialect(3);
    if (!m_opener.create(connection))
        return false;

    showMessage(MessageKind::Plain, QStringLiteral("Effettuata creazione data base"));
    return true;
}

} // namespace archive
} // namespace tg
