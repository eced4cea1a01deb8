#pragma once

// What turning a network directory into a server path must give, worked out
// from the directory's pieces by splitting it at every backslash (the code
// under test searches for the first backslash instead), for the fuzz targets
// of the archive subsystem.

#include <QString>
#include <QStringList>

namespace tg::fuzz {

struct NetworkPath {
    bool giveUp = false;
    bool namedShare = false;
    QString path;
    QString message; // the one message shown, empty when none
};

inline NetworkPath expectedNetworkPath(const QString &directory, const QString &percorsoNelServer)
{
    const QStringList pieces = directory.mid(2).split(QLatin1Char('\\'));
    const QString host = pieces.at(0);
    const QString remainder = pieces.mid(1).join(QLatin1Char('\\'));
    const QString share = pieces.value(1);

    NetworkPath result;
    if (share.size() >= 2) {
        result.namedShare = true;
        if (!percorsoNelServer.isEmpty()) {
            result.path = host + QLatin1Char(':') + percorsoNelServer;
            return result;
        }
        result.giveUp = true;
        result.path = remainder;
        result.message = QStringLiteral("Attenzione: il disco con gli archivi è stato condiviso in rete con un nome - ")
                         + share
                         + QStringLiteral(" - e non con la lettera che lo identifica. Si consiglia di correggere la "
                                          "condivisione oppure di correggere manualmente la sezione Percorso Nel "
                                          "Server nel file Dati.ini accanto al database");
        return result;
    }
    // host, colon, the letter (or nothing), and when a backslash follows the
    // share: a colon and the rest from that backslash on.
    result.path = host + QLatin1Char(':') + share;
    if (pieces.size() > 2)
        result.path += QLatin1Char(':') + remainder.mid(share.size());
    return result;
}

} // namespace tg::fuzz
