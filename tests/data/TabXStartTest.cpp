#include "AppDirectory.h"
#include "TestSupport.h"

#include "data/TabX.h"
#include "db/DatabaseError.h"
#include "platform/ModalRunner.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

bool tabScriptExists(const AppDirectory &app)
{
    return app.queryUserText(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='TABSCRIPT'"))
           == QLatin1String("1");
}

TEST(TabXStart, FirstStartCreatesUserDirectoryDatabaseAndTabScriptSecondCreatesNothing)
{
    AppDirectory app(AppDirectory::Contents::Empty);
    {
        RecordingPrompter prompter;
        RecordingObserver observer;
        TTabXForm module(nullptr, 0);
        module.Avvia();
        EXPECT_TRUE(module.IBDatabaseUser.connected());
        EXPECT_EQ(prompter.texts(), QStringList{QStringLiteral("Effettuata creazione data base")});
        EXPECT_EQ(observer.connections, QStringList{app.userDatabasePath()});
        EXPECT_TRUE(observer.statements.contains(QStringLiteral(
            "CREATE TABLE TABSCRIPT(\nPROGETTO VARCHAR(15) NOT NULL,\nSCRIPTFORM VARCHAR(15) NOT NULL,\n"
            "CONTESTO SMALLINT NOT NULL,\nUTENTE VARCHAR(15) NOT NULL,\nDESCRIZIONESITUAZIONE BLOB,\n"
            "SCRIPT BLOB,\nMODIFICATODAUTENTE SMALLINT,\nDATAULTIMAMODIFICA DATE,\nSTATUS SMALLINT,\n"
            "CONSTRAINT QORTAB_CHIAVEPRIMARIA PRIMARY KEY (PROGETTO,SCRIPTFORM,CONTESTO,UTENTE));")));
        EXPECT_EQ(module.greenBitmapPath(), app.path() + QStringLiteral("Grafica/Verde.bmp"));
        EXPECT_EQ(module.redBitmapPath(), app.path() + QStringLiteral("Grafica/Rosso.bmp"));
    }
    EXPECT_TRUE(QDir(app.path() + QStringLiteral("user")).exists());
    EXPECT_TRUE(tabScriptExists(app));

    RecordingPrompter prompter;
    RecordingObserver observer;
    TTabXForm module(nullptr, 0);
    module.Avvia();
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_TRUE(observer.creations.isEmpty());
    for (const QString &statement : std::as_const(observer.statements))
        EXPECT_FALSE(statement.startsWith(QStringLiteral("CREATE"))) << statement.toStdString();
}

TEST(TabXStart, ExistingSuiteDatabaseWithoutTabScriptGetsIt)
{
    AppDirectory app;
    app.execUser({QStringLiteral("DROP TABLE TABSCRIPT")});
    ASSERT_FALSE(tabScriptExists(app));
    RecordingPrompter prompter;
    {
        TTabXForm module(nullptr, 0);
        module.Avvia();
    }
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_TRUE(tabScriptExists(app));
}

TEST(TabXStart, UnreachableUserDatabaseIsReportedAndTheModuleStaysUsable)
{
    // A regular file where the application directory's user/ should be:
    // the directory cannot be made and no database can be created there.
    AppDirectory app(AppDirectory::Contents::GraphicsOnly);
    QFile blocker(app.path() + QStringLiteral("user"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    RecordingPrompter prompter;
    int dialogs = 0;
    ModalRunner::install([&](QDialog &) { ++dialogs; return int(QDialog::Rejected); });
    TTabXForm module(nullptr, 0);
    EXPECT_THROW(module.Avvia(), db::DatabaseError);
    ModalRunner::install({});
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(prompter.texts(), (QStringList{QStringLiteral("Non trovato dati.ini"),
                                             QStringLiteral("Apertura / creazione del database non riuscita!"),
                                             QStringLiteral("Errore inizializzazione database utenti")}));
    EXPECT_EQ(prompter.messages.last().first, MessageKind::Error);
    QString value;
    EXPECT_THROW(module.CaricaParametro(QStringLiteral("Archivio"), value), db::DatabaseError);
    module.Inserisci(QStringLiteral("VRT"), QStringLiteral("Archivio"), QString(), QStringLiteral("x"), QString(),
                     QString(), QString(), QString(), QStringLiteral("0"));
    module.GetV(QStringLiteral("Archivio"), value);
    EXPECT_EQ(value, QStringLiteral("x"));
}

class ArchiveConnection : public ::testing::Test {
protected:
    void SetUp() override
    {
        module.Avvia();
        module.memTabX.open();
    }
    void setArchive(const QString &path)
    {
        module.Inserisci(QStringLiteral("VRT"), QStringLiteral("Archivio"), QString(), path, QString(), QString(),
                         QString(), QString(), QStringLiteral("0"));
    }

    AppDirectory app;
    RecordingPrompter prompter;
    TTabXForm module{nullptr, 0};
};

TEST_F(ArchiveConnection, NamedPathIsOpenedOrCreatedAndPendingWorkIsCommittedOnChange)
{
    const QString first = app.path() + QStringLiteral("archivi/uno.fdb");
    QDir().mkpath(app.path() + QStringLiteral("archivi"));
    setArchive(first);
    module.ConnettiDatabase1(QStringLiteral("Archivio"));
    ASSERT_TRUE(module.IBDatabase1.connected());
    EXPECT_EQ(prompter.texts(), QStringList{QStringLiteral("Effettuata creazione data base")});

    db::Query query(&module.IBDatabase1);
    query.sql() << QStringLiteral("CREATE TABLE T (A INTEGER)");
    query.execSql();
    module.IBTransaction1.commit();
    query.sql() = QStringList{QStringLiteral("INSERT INTO T VALUES (42)")};
    query.execSql();
    ASSERT_TRUE(module.IBTransaction1.active());

    setArchive(app.path() + QStringLiteral("archivi/due.fdb"));
    module.ConnettiDatabase1(QStringLiteral("Archivio"));
    EXPECT_EQ(module.IBDatabase1.databaseName(), app.path() + QStringLiteral("archivi/due.fdb"));
    module.ConnettiDatabase0(first);
    query.sql() = QStringList{QStringLiteral("SELECT A FROM T")};
    query.open();
    EXPECT_EQ(query.field(0).asText(), QStringLiteral("42")) << "the insert was committed when the archive changed";
    EXPECT_EQ(module.IBTransaction1.params(),
              (QStringList{QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait")}));
}

TEST_F(ArchiveConnection, MissingNamedValueFallsBackToTheDefaultFileName)
{
    RecordingObserver observer;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(app.path());
    module.ConnettiDatabase2(QStringLiteral("NonEsiste"));
    QDir::setCurrent(previous);
    ASSERT_FALSE(observer.connections.isEmpty());
    EXPECT_EQ(observer.connections.first(), QStringLiteral("archivio.fdb"));
    EXPECT_TRUE(module.IBDatabase2.connected());
    EXPECT_TRUE(QFile::exists(app.path() + QStringLiteral("archivio.fdb")));
}

TEST_F(ArchiveConnection, ArchiveThatCannotBeOpenedIsReported)
{
    ModalRunner::install([](QDialog &) { return int(QDialog::Rejected); });
    setArchive(QStringLiteral("/proc/nessuna/cartella/archivio.fdb"));
    module.ConnettiDatabase1(QStringLiteral("Archivio"));
    ModalRunner::install({});
    EXPECT_FALSE(module.IBDatabase1.connected());
    ASSERT_FALSE(prompter.messages.isEmpty());
    EXPECT_EQ(prompter.messages.last(), qMakePair(MessageKind::Error, QStringLiteral("Errore apertura archivio")));
}

} // namespace
