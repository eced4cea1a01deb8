// The decision of ApriArchivio driven through its seams: attempts recorded,
// not made; dati.ini given as a map; the server question scripted.
#include "RecordingOpener.h"
#include "TestSupport.h"

#include "archive/ArchiveLocator.h"
#include "db/Database.h"

#include <QMap>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

// dati.ini contents per ini path: key → value (keys matched without case).
class FakeIni {
public:
    void set(const QString &directory, const QString &key, const QString &value)
    {
        m_values[archive::datiIniPath(directory)][key.toLower()] = value;
    }
    archive::DatiIniReader reader()
    {
        return [this](const QString &iniPath, const QString &key) {
            reads << key;
            return m_values.value(iniPath).value(key.toLower());
        };
    }
    QStringList reads;

private:
    QMap<QString, QMap<QString, QString>> m_values;
};

class ArchiveLocatorTest : public ::testing::Test {
protected:
    archive::ArchiveLocator locator()
    {
        return archive::ArchiveLocator(
            opener,
            [this](QString &serverName, QString &driveLetter, const QString &directory) {
                ++questions;
                askedFor = directory;
                serverName = answerServer;
                driveLetter = answerDrive;
            },
            ini.reader());
    }

    RecordingPrompter prompter;
    RecordingOpener opener;
    FakeIni ini;
    db::Database connection;
    int questions = 0;
    QString askedFor;
    QString answerServer;
    QString answerDrive;
};

const QString Dir = QStringLiteral("C:\\Archivi\\Ditta1\\");

} // namespace

TEST_F(ArchiveLocatorTest, AttachParametersAndCreationParametersAreThoseOfTheSuite)
{
    connection.setLoginPrompt(true);
    connection.setSqlDialect(1);
    EXPECT_FALSE(locator().ApriCreaDatabase(connection, QStringLiteral("C:\\x.fdb"), {}, {}, {}, {}));
    ASSERT_EQ(opener.attempts.size(), 2);
    EXPECT_EQ(opener.attempts[0].kind, QStringLiteral("attach"));
    EXPECT_EQ(opener.attempts[0].params,
              (QStringList{QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=quillbeam")}));
    EXPECT_FALSE(opener.attempts[0].loginPrompt);
    EXPECT_EQ(opener.attempts[1].kind, QStringLiteral("create"));
    EXPECT_EQ(opener.attempts[1].name, QStringLiteral("C:\\x.fdb"));
    EXPECT_EQ(opener.attempts[1].params,
              (QStringList{QStringLiteral("USER \"SYSDBA\""), QStringLiteral("PASSWORD \"quillbeam\""),
                           QStringLiteral("PAGE_SIZE 4096")}));
    EXPECT_EQ(opener.attempts[1].dialect, 3);
    EXPECT_TRUE(prompter.messages.isEmpty()) << "a failed creation is silent";
}

TEST_F(ArchiveLocatorTest, GivenCredentialsReplaceTheDefaults)
{
    locator().ApriCreaDatabase(connection, QStringLiteral("x.fdb"), {}, {}, QStringLiteral("MARIO"),
                               QStringLiteral("segreto"));
    ASSERT_EQ(opener.attempts.size(), 2);
    EXPECT_EQ(opener.attempts[0].params,
              (QStringList{QStringLiteral("user_name=MARIO"), QStringLiteral("password=segreto")}));
    EXPECT_EQ(opener.attempts[1].params,
              (QStringList{QStringLiteral("USER \"MARIO\""), QStringLiteral("PASSWORD \"segreto\""),
                           QStringLiteral("PAGE_SIZE 4096")}));
}

TEST_F(ArchiveLocatorTest, ServerNameAndDriveLetterMakeTheDatabaseName)
{
    auto l = locator();
    l.ApriCreaDatabase(connection, QStringLiteral("C:\\Archivi\\a.fdb"), QStringLiteral("SRV"), QStringLiteral("D"), {}, {});
    l.ApriCreaDatabase(connection, QStringLiteral("C:\\Archivi\\a.fdb"), QStringLiteral("SRV"), {}, {}, {});
    l.ApriCreaDatabase(connection, QStringLiteral("C:\\Archivi\\a.fdb"), {}, QStringLiteral("D"), {}, {});
    EXPECT_EQ(opener.names(QStringLiteral("attach")),
              (QStringList{QStringLiteral("SRV:D:\\Archivi\\a.fdb"), QStringLiteral("SRV:C:\\Archivi\\a.fdb"),
                           QStringLiteral("C:\\Archivi\\a.fdb")}));
    EXPECT_EQ(opener.names(QStringLiteral("create")), opener.names(QStringLiteral("attach")));
}

TEST_F(ArchiveLocatorTest, SuccessfulAttachCreatesNothingAndSaysNothing)
{
    opener.succeeding << QStringLiteral("attach:C:\\Archivi\\Ditta1\\archivio.fdb");
    EXPECT_TRUE(locator().ApriArchivio(connection, Dir, {}, {}, {}));
    EXPECT_EQ(opener.attempts.size(), 1);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(ArchiveLocatorTest, SuccessfulCreationIsAnnounced)
{
    opener.succeeding << QStringLiteral("create:C:\\Archivi\\Ditta1\\ditta.fdb");
    EXPECT_TRUE(locator().ApriArchivio(connection, Dir, QStringLiteral("ditta.fdb"), {}, {}));
    EXPECT_EQ(prompter.messages,
              (QList<QPair<MessageKind, QString>>{{MessageKind::Plain, QStringLiteral("Effettuata creazione data base")}}));
}

TEST_F(ArchiveLocatorTest, AliasOnTheServerComesFirst)
{
    ini.set(Dir, QStringLiteral("Nome Server"), QStringLiteral("SRV"));
    ini.set(Dir, QStringLiteral("ALIAS"), QStringLiteral("ditta1"));
    opener.succeeding << QStringLiteral("attach:SRV:ditta1");
    EXPECT_TRUE(locator().ApriArchivio(connection, Dir, {}, {}, {}));
    EXPECT_EQ(opener.names(QStringLiteral("attach")), QStringList{QStringLiteral("SRV:ditta1")});
    EXPECT_EQ(ini.reads, (QStringList{QStringLiteral("Nome Server"), QStringLiteral("Alias")}));
}

TEST_F(ArchiveLocatorTest, AliasWithoutServerIsSkipped)
{
    ini.set(Dir, QStringLiteral("Alias"), QStringLiteral("ditta1"));
    opener.succeeding << QStringLiteral("attach:C:\\Archivi\\Ditta1\\archivio.fdb");
    EXPECT_TRUE(locator().ApriArchivio(connection, Dir, {}, {}, {}));
    EXPECT_EQ(opener.names(QStringLiteral("attach")), QStringList{QStringLiteral("C:\\Archivi\\Ditta1\\archivio.fdb")});
}

TEST_F(ArchiveLocatorTest, PercorsoDatabaseIsTheLastWord)
{
    ini.set(Dir, QStringLiteral("Nome Server"), QStringLiteral("SRV"));
    ini.set(Dir, QStringLiteral("PercorsoDatabase"), QStringLiteral("Archivi\\Ditta1"));
    EXPECT_FALSE(locator().ApriArchivio(connection, Dir, QStringLiteral("a.fdb"), {}, {}));
    EXPECT_EQ(opener.names(QStringLiteral("attach")), QStringList{QStringLiteral("\\\\SRV\\Archivi\\Ditta1\\a.fdb")});
    EXPECT_EQ(opener.names(QStringLiteral("create")), QStringList{QStringLiteral("\\\\SRV\\Archivi\\Ditta1\\a.fdb")});
    EXPECT_EQ(questions, 0);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(ArchiveLocatorTest, TheQuestionIsAskedForTheGivenDirectoryAndItsAnswerUsed)
{
    answerServer = QStringLiteral("SRV");
    answerDrive = QStringLiteral("E");
    EXPECT_FALSE(locator().ApriArchivio(connection, Dir, {}, {}, {}));
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(askedFor, Dir);
    EXPECT_EQ(opener.names(QStringLiteral("attach")),
              (QStringList{QStringLiteral("C:\\Archivi\\Ditta1\\archivio.fdb"),
                           QStringLiteral("SRV:E:\\Archivi\\Ditta1\\archivio.fdb")}));
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(ArchiveLocatorTest, NoAnswerEndsWithTheFailureMessage)
{
    EXPECT_FALSE(locator().ApriArchivio(connection, Dir, {}, {}, {}));
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(prompter.texts(), QStringList{QStringLiteral("Apertura / creazione del database non riuscita!")});
    EXPECT_EQ(opener.attempts.size(), 2);
}

TEST_F(ArchiveLocatorTest, WithoutAQuestionOnlyTheRecordedServerIsUsed)
{
    ini.set(Dir, QStringLiteral("Nome Server"), QStringLiteral("SRV"));
    ini.set(Dir, QStringLiteral("Lettera Disco Server"), QStringLiteral("F"));
    archive::ArchiveLocator plain(opener, {}, ini.reader());
    EXPECT_FALSE(plain.ApriArchivio(connection, Dir, {}, {}, {}));
    EXPECT_EQ(opener.names(QStringLiteral("attach")).last(), QStringLiteral("SRV:F:\\Archivi\\Ditta1\\archivio.fdb"));
}

TEST_F(ArchiveLocatorTest, NamedShareWithServerPathFailingSaysSoAndAsksNothing)
{
    const QString dir = QStringLiteral("\\\\SRV\\Archivi\\Ditta1\\");
    ini.set(dir, QStringLiteral("Percorso Nel Server"), QStringLiteral("D:\\Archivi\\Ditta1\\"));
    EXPECT_FALSE(locator().ApriArchivio(connection, dir, {}, {}, {}));
    EXPECT_EQ(opener.names(QStringLiteral("attach")), QStringList{QStringLiteral("SRV:D:\\Archivi\\Ditta1\\archivio.fdb")});
    EXPECT_EQ(questions, 0);
    EXPECT_EQ(prompter.texts(),
              QStringList{QStringLiteral("Errore: nonostante le configurazioni, il particolare percorso di rete sta rendendo impossibile l'attivazione del database")});
}

TEST_F(ArchiveLocatorTest, PercorsoNelServerIsReadOnlyForNetworkDirectories)
{
    ini.set(Dir, QStringLiteral("Percorso Nel Server"), QStringLiteral("D:\\X\\"));
    opener.succeeding << QStringLiteral("attach:C:\\Archivi\\Ditta1\\archivio.fdb");
    locator().ApriArchivio(connection, Dir, {}, {}, {});
    EXPECT_FALSE(ini.reads.contains(QStringLiteral("Percorso Nel Server")));
}

TEST(ConvertiPercorsoRete, ShareUnderItsLetterBecomesHostLetterPath)
{
    RecordingPrompter prompter;
    QString path;
    bool namedShare = false;
    EXPECT_FALSE(ConvertiPercorsoRete(QStringLiteral("\\\\SRV\\C\\Archivi\\Ditta1\\"), QStringLiteral("D:\\Y\\"), path, namedShare));
    EXPECT_EQ(path, QStringLiteral("SRV:C:\\Archivi\\Ditta1\\"));
    EXPECT_FALSE(namedShare);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST(ConvertiPercorsoRete, NamedShareUsesPercorsoNelServer)
{
    RecordingPrompter prompter;
    QString path;
    bool namedShare = false;
    EXPECT_FALSE(ConvertiPercorsoRete(QStringLiteral("\\\\SRV\\Archivi\\Ditta1\\"), QStringLiteral("D:\\Archivi\\Ditta1\\"), path, namedShare));
    EXPECT_EQ(path, QStringLiteral("SRV:D:\\Archivi\\Ditta1\\"));
    EXPECT_TRUE(namedShare);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST(ConvertiPercorsoRete, NamedShareWithoutPercorsoNelServerGivesUpWithTheWarning)
{
    RecordingPrompter prompter;
    QString path;
    bool namedShare = false;
    EXPECT_TRUE(ConvertiPercorsoRete(QStringLiteral("\\\\SRV\\Archivi\\Ditta1\\"), {}, path, namedShare));
    EXPECT_TRUE(namedShare);
    EXPECT_EQ(path, QStringLiteral("Archivi\\Ditta1\\"));
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0].first, MessageKind::Plain);
    EXPECT_EQ(prompter.messages[0].second,
              QStringLiteral("Attenzione: il disco con gli archivi è stato condiviso in rete con un nome - Archivi - e non con la lettera che lo identifica. Si consiglia di correggere la condivisione oppure di correggere manualmente la sezione Percorso Nel Server nel file Dati.ini accanto al database"));
}

TEST(ConvertiPercorsoRete, NeverClearsTheNamedShareFlag)
{
    QString path;
    bool namedShare = true;
    ConvertiPercorsoRete(QStringLiteral("\\\\SRV\\C\\"), {}, path, namedShare);
    EXPECT_TRUE(namedShare);
}

// Arbitrary dati.ini values and directories: the decision always ends, never
// throws, asks at most once, and follows its fixed order.
TEST(ArchiveLocatorFuzz, ArbitraryConfigurationsKeepTheOrder)
{
    RecordingPrompter prompter;
    QRandomGenerator random(20240611);
    const QStringList pieces{QStringLiteral("\\"), QStringLiteral("\\\\"), QStringLiteral("C"), QStringLiteral("SRV"),
                             QStringLiteral(":"), QStringLiteral("/"), QStringLiteral("è"), QString(),
                             QStringLiteral("Archivi"), QStringLiteral(" ")};
    const auto text = [&] {
        QString result;
        const int count = random.bounded(5);
        for (int i = 0; i < count; ++i)
            result += pieces[random.bounded(pieces.size())];
        return result;
    };
    for (int round = 0; round < 2000; ++round) {
        QMap<QString, QString> values;
        for (const QString &key : {QStringLiteral("Nome Server"), QStringLiteral("Alias"),
                                  QStringLiteral("PercorsoDatabase"), QStringLiteral("Percorso Nel Server"),
                                  QStringLiteral("Lettera Disco Server")})
            if (random.bounded(2))
                values[key] = text();
        const QString directory = text();
        RecordingOpener opener;
        int questions = 0;
        archive::ArchiveLocator locator(
            opener,
            [&](QString &serverName, QString &driveLetter, const QString &) {
                ++questions;
                serverName = values.value(QStringLiteral("Nome Server"));
                driveLetter = values.value(QStringLiteral("Lettera Disco Server"));
            },
            [&](const QString &, const QString &key) { return values.value(key); });
        db::Database connection;
        prompter.messages.clear();
        bool result = true;
        ASSERT_NO_THROW(result = locator.ApriArchivio(connection, directory, text(), {}, {}));
        EXPECT_FALSE(result) << "nothing succeeds here";
        EXPECT_LE(questions, 1);
        EXPECT_LE(opener.attempts.size(), 6);
        EXPECT_EQ(opener.attempts.size() % 2, 0) << "every failed attach is followed by a creation";
        if (!values.value(QStringLiteral("PercorsoDatabase")).isEmpty()) {
            EXPECT_EQ(questions, 0);
        }
        EXPECT_FALSE(connection.connected());
    }
}
