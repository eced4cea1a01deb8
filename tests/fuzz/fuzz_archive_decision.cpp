// The whole decision of ApriArchivio (ArchiveLocator) over arbitrary dati.ini
// contents, directories, file names, credentials, answers to the server
// question and outcomes of the database attempts. The attempts are recorded,
// not made. Checked: the attempts, in order, with the database names the
// rules derive from the inputs, their parameter lines and dialect; the
// messages; whether the server question is asked; the result. Besides the
// exact sequence: at most three attach-or-create rounds, a true result only
// right after a successful attempt and nothing tried after one, no question
// when dati.ini names a PercorsoDatabase, dati.ini read only beside the
// given directory.
//
// Input: two bytes (the outcomes of the first eight attempts, bit i for
// attempt i; bit 0 of the second byte: a server question is installed), then
// the directory, file name, user name, password, and the server name and
// drive letter answered to the question (UTF-8), separated by zero bytes;
// the rest is the dati.ini file, bytes as they are.

#include "FuzzSupport.h"
#include "NetworkPathModel.h"
#include "RecordingOpener.h"

#include "archive/ArchiveLocator.h"
#include "db/Database.h"
#include "platform/IniFile.h"

#include <QFile>
#include <QTemporaryDir>

using namespace tg;

namespace {

// Answers the attempts in turn from the outcome bits (attempts after the
// eighth fail) and records them.
class ScriptedOpener : public test::RecordingOpener {
public:
    explicit ScriptedOpener(unsigned outcomes) : m_outcomes(outcomes) {}

protected:
    bool succeeds(const QString &, const QString &) const override
    {
        const auto index = attempts.size();
        return index < 8 && ((m_outcomes >> index) & 1u) != 0;
    }

private:
    unsigned m_outcomes;
};

// The decision worked out again from the rules, on the same outcome bits.
struct Expected {
    QStringList attempts; // "attach NAME" / "create NAME"
    QStringList messages;
    bool asked = false;
    bool result = false;
};

class Model {
public:
    Model(unsigned outcomes, Expected &expected) : m_outcomes(outcomes), m_expected(expected) {}

    bool open(const QString &path, const QString &server, const QString &drive)
    {
        QString name = path;
        if (!server.isEmpty())
            name = server + QLatin1Char(':') + (drive.isEmpty() ? path : drive + path.mid(1));
        m_expected.attempts << QStringLiteral("attach ") + name;
        if (next())
            return true;
        m_expected.attempts << QStringLiteral("create ") + name;
        if (!next())
            return false;
        m_expected.messages << QStringLiteral("Effettuata creazione data base");
        return true;
    }

private:
    bool next()
    {
        const int index = m_index++;
        return index < 8 && ((m_outcomes >> index) & 1u) != 0;
    }

    unsigned m_outcomes;
    int m_index = 0;
    Expected &m_expected;
};

struct Ini {
    QString nomeServer, alias, percorsoDatabase, percorsoNelServer, letteraDisco;
};

Expected expectedDecision(unsigned outcomes, bool withQuestion, const QString &directory, const QString &fileName,
                          const QString &answerServer, const QString &answerDrive, const Ini &ini)
{
    Expected expected;
    Model model(outcomes, expected);
    const QString file = fileName.isEmpty() ? QStringLiteral("archivio.fdb") : fileName;
    const auto done = [&expected](bool result) {
        expected.result = result;
        return expected;
    };

    if (!ini.nomeServer.isEmpty() && !ini.alias.isEmpty()
        && model.open(ini.nomeServer + QLatin1Char(':') + ini.alias, {}, {}))
        return done(true);

    if (!ini.percorsoDatabase.isEmpty()) {
        QString path = QStringLiteral("\\\\") + ini.nomeServer + QLatin1Char('\\') + ini.percorsoDatabase;
        if (!path.endsWith(QLatin1Char('\\')))
            path += QLatin1Char('\\');
        return done(model.open(path + file, {}, {}));
    }

    QString path = directory;
    bool namedShare = false;
    if (directory.contains(QStringLiteral("\\\\"))) {
        const fuzz::NetworkPath network = fuzz::expectedNetworkPath(directory, ini.percorsoNelServer);
        path = network.path;
        namedShare = network.namedShare;
        if (!network.message.isEmpty())
            expected.messages << network.message;
        if (network.giveUp)
            return done(false);
    }
    if (model.open(path + file, {}, {}))
        return done(true);
    if (namedShare) {
        expected.messages << QStringLiteral("Errore: nonostante le configurazioni, il particolare percorso di rete "
                                            "sta rendendo impossibile l'attivazione del database");
        return done(false);
    }
    QString server = ini.nomeServer;
    QString drive = ini.letteraDisco;
    if (withQuestion) {
        expected.asked = true;
        server = answerServer;
        drive = answerDrive;
    }
    if (server.isEmpty()) {
        expected.messages << QStringLiteral("Apertura / creazione del database non riuscita!");
        return done(false);
    }
    return done(model.open(path + file, server, drive));
}

const QTemporaryDir &scratch()
{
    static const QTemporaryDir dir;
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input input(data, size);
    const unsigned outcomes = input.byte();
    const bool withQuestion = (input.byte() & 1) != 0;
    const QString directory = QString::fromUtf8(input.piece());
    const QString fileName = QString::fromUtf8(input.piece());
    const QString userName = QString::fromUtf8(input.piece());
    const QString password = QString::fromUtf8(input.piece());
    const QString answerServer = QString::fromUtf8(input.piece());
    const QString answerDrive = QString::fromUtf8(input.piece());
    const QByteArray datiIni = input.rest();

    const QString iniFile = scratch().filePath(QStringLiteral("dati.ini"));
    {
        QFile file(iniFile);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(datiIni) != datiIni.size())
            std::abort(); // the scratch directory must be writable
    }
    const IniFile ini(iniFile);
    const auto value = [&ini](QLatin1String key) { return ini.readString(archive::ConfigSection, key); };
    const Ini values{value(archive::KeyNomeServer), value(archive::KeyAlias), value(archive::KeyPercorsoDatabase),
                     value(archive::KeyPercorsoNelServer), value(archive::KeyLetteraDiscoServer)};

    const QString case_ = QStringLiteral("outcomes %1, question %2; ").arg(outcomes, 8, 2, QLatin1Char('0')).arg(int(withQuestion))
                          + QStringLiteral("directory \"%1\", file \"%2\", dati.ini: Nome Server \"%3\", Alias \"%4\", "
                                           "PercorsoDatabase \"%5\", Percorso Nel Server \"%6\", Lettera \"%7\"")
                                .arg(directory, fileName, values.nomeServer, values.alias, values.percorsoDatabase,
                                     values.percorsoNelServer, values.letteraDisco);

    const Expected expected =
        expectedDecision(outcomes, withQuestion, directory, fileName, answerServer, answerDrive, values);

    fuzz::RecordingPrompter prompter;
    ScriptedOpener opener(outcomes);
    int questions = 0;
    archive::ServerQuestion question;
    if (withQuestion) {
        question = [&](QString &serverName, QString &driveLetter, const QString &asked) {
            ++questions;
            FUZZ_CHECK(asked == directory, case_ + QStringLiteral(": question for \"%1\"").arg(asked));
            serverName = answerServer;
            driveLetter = answerDrive;
        };
    }
    const archive::DatiIniReader reader = [&](const QString &iniPath, const QString &key) {
        FUZZ_CHECK(iniPath == archive::datiIniPath(directory), case_ + QStringLiteral(": read ") + iniPath);
        return ini.readString(archive::ConfigSection, key);
    };
    archive::ArchiveLocator locator(opener, question, reader);
    db::Database connection;
    const bool result = locator.ApriArchivio(connection, directory, fileName, userName, password);

    QStringList attempts;
    for (const test::OpenAttempt &attempt : opener.attempts)
        attempts << attempt.kind + QLatin1Char(' ') + attempt.name;
    const QString outcome = case_ + QStringLiteral("\nattempts: %1\nexpected: %2\nmessages: %3\nexpected: %4")
                                        .arg(attempts.join(u'|'), expected.attempts.join(u'|'),
                                             prompter.texts().join(u'|'), expected.messages.join(u'|'));

    FUZZ_CHECK(attempts == expected.attempts, outcome);
    FUZZ_CHECK(prompter.texts() == expected.messages, outcome);
    FUZZ_CHECK(result == expected.result, outcome);
    FUZZ_CHECK(questions == (expected.asked ? 1 : 0), outcome);
    for (const auto &message : prompter.messages)
        FUZZ_CHECK(message.first == MessageKind::Plain, outcome);

    // Properties that hold whatever the rules: bounded attempts, each round
    // an attach followed by a create only when the attach failed, a true
    // result exactly when the last attempt succeeded and nothing after a
    // success, never a question with PercorsoDatabase, the connection left
    // closed.
    FUZZ_CHECK(opener.attempts.size() <= 6, outcome);
    FUZZ_CHECK(result == (!opener.attempts.isEmpty() && opener.attempts.last().succeeded), outcome);
    const QString user = userName.isEmpty() ? QStringLiteral("SYSDBA") : userName;
    const QString secret = password.isEmpty() ? QStringLiteral("quillbeam") : password;
    for (qsizetype i = 0; i < opener.attempts.size(); ++i) {
        const test::OpenAttempt &attempt = opener.attempts.at(i);
        FUZZ_CHECK(!attempt.succeeded || i == opener.attempts.size() - 1, outcome);
        FUZZ_CHECK(!attempt.loginPrompt, outcome);
        if (attempt.kind == QLatin1String("attach")) {
            FUZZ_CHECK(attempt.params
                           == QStringList({QStringLiteral("user_name=") + user, QStringLiteral("password=") + secret}),
                       outcome + QStringLiteral("\nparams: ") + attempt.params.join(u'|'));
        } else {
            FUZZ_CHECK(i > 0 && opener.attempts.at(i - 1).kind == QLatin1String("attach")
                           && opener.attempts.at(i - 1).name == attempt.name && !opener.attempts.at(i - 1).succeeded,
                       outcome);
            FUZZ_CHECK(attempt.params
                           == QStringList({QStringLiteral("USER \"") + user + QLatin1Char('"'),
                                           QStringLiteral("PASSWORD \"") + secret + QLatin1Char('"'),
                                           QStringLiteral("PAGE_SIZE 4096")}),
                       outcome + QStringLiteral("\nparams: ") + attempt.params.join(u'|'));
            FUZZ_CHECK(attempt.dialect == 3, outcome);
        }
    }
    FUZZ_CHECK(values.percorsoDatabase.isEmpty() || questions == 0, outcome);
    FUZZ_CHECK(!connection.connected(), outcome);
    return 0;
}
