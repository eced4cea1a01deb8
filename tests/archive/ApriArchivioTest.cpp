// ApriArchivio on real embedded databases in temporary directories. Servers
// are "127.0.0.1/1", a closed loopback port, so every remote attempt fails at
// once.
#include "TestSupport.h"

#include "archive/ArchiveLocator.h"
#include "archive/Qorin2.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/IniFile.h"
#include "platform/ModalRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

const QString Unreachable = QStringLiteral("127.0.0.1/1");

QString creation(const QString &name)
{
    return QStringLiteral("CREATE DATABASE '%1' USER \"SYSDBA\" PASSWORD \"quillbeam\" PAGE_SIZE 4096").arg(name);
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(contents);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ApriArchivioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Network directories are relative paths on this platform: keep
        // whatever they could touch inside a directory of the test.
        previousDirectory = QDir::currentPath();
        QDir::setCurrent(workDir.path());
        ModalRunner::install([this](QDialog &dialog) {
            ++dialogs;
            return script ? script(dialog) : 0;
        });
    }
    void TearDown() override
    {
        ModalRunner::install({});
        connection.disconnect();
        QDir::setCurrent(previousDirectory);
    }

    void setIni(const QString &directory, const QString &key, const QString &value)
    {
        ASSERT_TRUE(IniFile(directory + QStringLiteral("dati.ini")).writeString(QStringLiteral("CONFIG"), key, value));
    }
    // A file that is no database: it can neither be attached nor created over.
    void spoilDatabase(const QString &path) { writeFile(path, "questo non è un database\n"); }

    bool open(const QString &directory, const QString &fileName = QString())
    {
        return ApriArchivio(connection, directory, fileName, QString(), QString(), nullptr);
    }

    QPair<qint64, qint64> pageSizeAndDialect()
    {
        db::Transaction transaction(&connection);
        db::Query query(&connection, &transaction);
        query.sql() << QStringLiteral("SELECT MON$PAGE_SIZE, MON$SQL_DIALECT FROM MON$DATABASE");
        query.open();
        return {query.field(0).asInteger(), query.field(1).asInteger()};
    }

    TempDir workDir;
    TempDir dir;
    QString previousDirectory;
    RecordingPrompter prompter;
    RecordingObserver observer;
    db::Database connection;
    int dialogs = 0;
    std::function<int(QDialog &)> script;
};

} // namespace

TEST_F(ApriArchivioTest, EmptyFileNameCreatesArchivioFdbWithThePageSizeAndDialectOfTheSuite)
{
    const QString file = dir.file(QStringLiteral("archivio.fdb"));
    ASSERT_TRUE(open(dir.path()));
    EXPECT_TRUE(connection.connected());
    EXPECT_EQ(connection.databaseName(), file);
    EXPECT_EQ(observer.connections, QStringList{file});
    EXPECT_EQ(observer.creations, QStringList{creation(file)});
    EXPECT_EQ(prompter.messages,
              (QList<QPair<MessageKind, QString>>{{MessageKind::Plain, QStringLiteral("Effettuata creazione data base")}}));
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_FALSE(connection.loginPrompt());
    EXPECT_EQ(pageSizeAndDialect(), (QPair<qint64, qint64>{4096, 3}));
    EXPECT_EQ(dialogs, 0);
}

TEST_F(ApriArchivioTest, ExistingDatabaseIsAttachedWithTheDefaultCredentials)
{
    ASSERT_TRUE(open(dir.path(), QStringLiteral("ditta.fdb")));
    connection.disconnect();
    observer.connections.clear();
    observer.creations.clear();
    prompter.messages.clear();

    ASSERT_TRUE(open(dir.path(), QStringLiteral("ditta.fdb")));
    EXPECT_EQ(observer.connections, QStringList{dir.file(QStringLiteral("ditta.fdb"))});
    EXPECT_TRUE(observer.creations.isEmpty());
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(connection.params(),
              (QStringList{QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=quillbeam")}));
}

TEST_F(ApriArchivioTest, AnOpenConnectionIsClosedAndReopenedOnTheNewDatabase)
{
    TempDir other;
    ASSERT_TRUE(open(dir.path()));
    ASSERT_TRUE(open(other.path()));
    EXPECT_TRUE(connection.connected());
    EXPECT_EQ(connection.databaseName(), other.file(QStringLiteral("archivio.fdb")));
}

TEST_F(ApriArchivioTest, ServerWithoutAliasSkipsTheAlias)
{
    setIni(dir.path(), QStringLiteral("Nome Server"), Unreachable);
    ASSERT_TRUE(open(dir.path()));
    EXPECT_EQ(observer.connections, QStringList{dir.file(QStringLiteral("archivio.fdb"))});
}

TEST_F(ApriArchivioTest, UnreachableAliasIsTriedThenTheDirectory)
{
    setIni(dir.path(), QStringLiteral("Nome Server"), Unreachable);
    setIni(dir.path(), QStringLiteral("Alias"), QStringLiteral("ditta1"));
    ASSERT_TRUE(open(dir.path()));
    const QString local = dir.file(QStringLiteral("archivio.fdb"));
    EXPECT_EQ(observer.connections, (QStringList{QStringLiteral("127.0.0.1/1:ditta1"), local}));
    EXPECT_EQ(observer.creations, (QStringList{creation(QStringLiteral("127.0.0.1/1:ditta1")), creation(local)}));
    EXPECT_EQ(prompter.texts(), QStringList{QStringLiteral("Effettuata creazione data base")})
        << "the failed attempt on the server is silent";
}

TEST_F(ApriArchivioTest, UnreachableAliasThenPercorsoDatabaseWithoutBackslashAndNeverTheDialog)
{
    setIni(dir.path(), QStringLiteral("Nome Server"), Unreachable);
    setIni(dir.path(), QStringLiteral("Alias"), QStringLiteral("ditta1"));
    setIni(dir.path(), QStringLiteral("PercorsoDatabase"), QStringLiteral("Archivi\\Ditta1"));
    EXPECT_FALSE(open(dir.path()));
    const QString network = QStringLiteral("\\\\127.0.0.1/1\\Archivi\\Ditta1\\archivio.fdb");
    EXPECT_EQ(observer.connections, (QStringList{QStringLiteral("127.0.0.1/1:ditta1"), network}));
    EXPECT_EQ(observer.creations, (QStringList{creation(QStringLiteral("127.0.0.1/1:ditta1")), creation(network)}));
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(dialogs, 0);
    EXPECT_FALSE(connection.connected());
}

TEST_F(ApriArchivioTest, PercorsoDatabaseEndingInABackslashGetsNoSecondOne)
{
    setIni(dir.path(), QStringLiteral("Nome Server"), Unreachable);
    setIni(dir.path(), QStringLiteral("PercorsoDatabase"), QStringLiteral("Archivi\\Ditta1\\"));
    spoilDatabase(dir.file(QStringLiteral("ditta.fdb")));
    EXPECT_FALSE(open(dir.path(), QStringLiteral("ditta.fdb")));
    EXPECT_EQ(observer.connections, QStringList{QStringLiteral("\\\\127.0.0.1/1\\Archivi\\Ditta1\\ditta.fdb")});
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(dialogs, 0) << "with PercorsoDatabase the directory itself is never tried and nobody is asked";
}

TEST_F(ApriArchivioTest, ShareUnderItsLetterIsTriedAsHostLetterPath)
{
    const QString network = QStringLiteral("\\\\127.0.0.1/1\\C\\Archivi\\Ditta1\\");
    EXPECT_FALSE(open(network));
    const QString converted = QStringLiteral("127.0.0.1/1:C:\\Archivi\\Ditta1\\archivio.fdb");
    EXPECT_EQ(observer.connections.value(0), converted);
    EXPECT_EQ(observer.creations.value(0), creation(converted));
    // No dati.ini is reachable there: the user is asked, and cancels.
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(prompter.texts(), (QStringList{QStringLiteral("Non trovato dati.ini"),
                                             QStringLiteral("Apertura / creazione del database non riuscita!")}));
}

TEST_F(ApriArchivioTest, NamedShareWithoutPercorsoNelServerWarnsAndTriesNothing)
{
    EXPECT_FALSE(open(QStringLiteral("\\\\127.0.0.1/1\\Archivi\\Ditta1\\")));
    EXPECT_TRUE(observer.connections.isEmpty());
    EXPECT_TRUE(observer.creations.isEmpty());
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(prompter.messages,
              (QList<QPair<MessageKind, QString>>{
                  {MessageKind::Plain,
                   QStringLiteral("Attenzione: il disco con gli archivi è stato condiviso in rete con un nome - Archivi - e non con la lettera che lo identifica. Si consiglia di correggere la condivisione oppure di correggere manualmente la sezione Percorso Nel Server nel file Dati.ini accanto al database")}}));
}

TEST_F(ApriArchivioTest, NamedShareWithPercorsoNelServerTriesTheServerPath)
{
    // The dati.ini of \\127.0.0.1/1\Archivi\Ditta1\ is, on this platform, the
    // file "1\Archivi\Ditta1\dati.ini" below "\\127.0.0.1" in the current
    // directory.
    const QString network = QStringLiteral("\\\\127.0.0.1/1\\Archivi\\Ditta1\\");
    ASSERT_TRUE(QDir(workDir.path()).mkdir(QStringLiteral("\\\\127.0.0.1")));
    setIni(network, QStringLiteral("Percorso Nel Server"), QStringLiteral("D:\\Dati\\Ditta1\\"));

    EXPECT_FALSE(open(network, QStringLiteral("ditta.fdb")));
    const QString onServer = QStringLiteral("127.0.0.1/1:D:\\Dati\\Ditta1\\ditta.fdb");
    EXPECT_EQ(observer.connections, QStringList{onServer});
    EXPECT_EQ(observer.creations, QStringList{creation(onServer)});
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(prompter.texts(),
              QStringList{QStringLiteral("Errore: nonostante le configurazioni, il particolare percorso di rete sta rendendo impossibile l'attivazione del database")});
}

TEST_F(ApriArchivioTest, NoDatiIniAsksTheUserRecordsTheAnswerAndRetriesOnTheServer)
{
    const QString local = dir.file(QStringLiteral("archivio.fdb"));
    spoilDatabase(local);
    script = [this](QDialog &dialog) {
        auto *form = qobject_cast<TQorIn2Form *>(&dialog);
        EXPECT_NE(form, nullptr);
        if (!form)
            return 0;
        EXPECT_EQ(prompter.texts(), QStringList{QStringLiteral("Non trovato dati.ini")}) << "the message comes first";
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Non trovato dati.ini"));
        EXPECT_EQ(form->Label1->text(),
                  QStringLiteral("Inserire il nome del computer e la lettera della sua\r\nunità disco dove risulta ospitato (o sarà ospitato) il database"));
        EXPECT_EQ(form->font().family(), QStringLiteral("Arial"));
        EXPECT_EQ(form->font().pointSize(), 8);
        EXPECT_FALSE(form->font().bold());
        EXPECT_EQ(form->Label1->pos(), QPoint(13, 22));
        EXPECT_TRUE(form->Edit1->text().isEmpty());
        QTest::keyClicks(form->Edit1, Unreachable);
        QTest::keyClicks(form->Edit2, QStringLiteral("Z"));
        QTest::mouseClick(form->OKBtn, Qt::LeftButton);
        return form->result();
    };

    EXPECT_FALSE(open(dir.path()));
    EXPECT_EQ(dialogs, 1);
    const QString retried = QStringLiteral("127.0.0.1/1:Z") + local.mid(1);
    EXPECT_EQ(observer.connections, (QStringList{local, retried}));
    EXPECT_EQ(observer.creations, (QStringList{creation(local), creation(retried)}));
    EXPECT_EQ(prompter.texts(), QStringList{QStringLiteral("Non trovato dati.ini")});
    IniFile ini(dir.file(QStringLiteral("dati.ini")));
    EXPECT_EQ(ini.readString(QStringLiteral("CONFIG"), QStringLiteral("Nome Server")), Unreachable);
    EXPECT_EQ(ini.readString(QStringLiteral("CONFIG"), QStringLiteral("Lettera Disco Server")), QStringLiteral("Z"));
    EXPECT_FALSE(connection.connected());
}

TEST_F(ApriArchivioTest, NoDriveLetterTypedWritesOnlyTheServer)
{
    const QString local = dir.file(QStringLiteral("archivio.fdb"));
    spoilDatabase(local);
    script = [](QDialog &dialog) {
        auto &form = static_cast<TQorIn2Form &>(dialog);
        QTest::keyClicks(form.Edit1, Unreachable);
        QTest::mouseClick(form.OKBtn, Qt::LeftButton);
        return form.result();
    };
    EXPECT_FALSE(open(dir.path()));
    EXPECT_EQ(observer.connections, (QStringList{local, QStringLiteral("127.0.0.1/1:") + local}));
    const QByteArray written = readFile(dir.file(QStringLiteral("dati.ini")));
    EXPECT_TRUE(written.contains("Nome Server")) << written.constData();
    EXPECT_FALSE(written.contains("Lettera Disco Server")) << written.constData();
}

TEST_F(ApriArchivioTest, ConfirmingAnEmptyComputerNameRecordsItAndGivesUp)
{
    const QString local = dir.file(QStringLiteral("archivio.fdb"));
    spoilDatabase(local);
    script = [](QDialog &dialog) {
        auto &form = static_cast<TQorIn2Form &>(dialog);
        QTest::mouseClick(form.OKBtn, Qt::LeftButton);
        return form.result();
    };
    EXPECT_FALSE(open(dir.path()));
    EXPECT_EQ(observer.connections, QStringList{local});
    EXPECT_EQ(prompter.texts(), (QStringList{QStringLiteral("Non trovato dati.ini"),
                                             QStringLiteral("Apertura / creazione del database non riuscita!")}));
    const QByteArray written = readFile(dir.file(QStringLiteral("dati.ini")));
    EXPECT_TRUE(written.contains("[CONFIG]")) << written.constData();
    EXPECT_TRUE(written.contains("Nome Server")) << written.constData();
}

TEST_F(ApriArchivioTest, CancellingLeavesDatiIniAlone)
{
    spoilDatabase(dir.file(QStringLiteral("archivio.fdb")));
    script = [](QDialog &dialog) {
        auto &form = static_cast<TQorIn2Form &>(dialog);
        QTest::keyClicks(form.Edit1, QStringLiteral("SRV"));
        QTest::mouseClick(form.CancelBtn, Qt::LeftButton);
        return form.result();
    };
    EXPECT_FALSE(open(dir.path()));
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("dati.ini"))));
    EXPECT_EQ(prompter.texts().last(), QStringLiteral("Apertura / creazione del database non riuscita!"));
}

TEST_F(ApriArchivioTest, RecordedServerIsUsedWithoutAsking)
{
    const QString local = dir.file(QStringLiteral("archivio.fdb"));
    spoilDatabase(local);
    setIni(dir.path(), QStringLiteral("Nome Server"), Unreachable);
    setIni(dir.path(), QStringLiteral("Lettera Disco Server"), QStringLiteral("Q"));
    EXPECT_FALSE(open(dir.path()));
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(observer.connections, (QStringList{local, QStringLiteral("127.0.0.1/1:Q") + local.mid(1)}));
}

TEST_F(ApriArchivioTest, MissingDirectoryFailsLocallyAndAsks)
{
    const QString missing = dir.path() + QStringLiteral("manca/");
    EXPECT_FALSE(open(missing));
    EXPECT_EQ(observer.connections, QStringList{missing + QStringLiteral("archivio.fdb")});
    EXPECT_EQ(dialogs, 1);
}

TEST_F(ApriArchivioTest, ApriCreaDatabaseOnAServerReportsFailureWithoutAMessage)
{
    EXPECT_FALSE(ApriCreaDatabase(connection, QStringLiteral("C:\\Dati\\a.fdb"), Unreachable, QStringLiteral("D"),
                                  QString(), QString()));
    EXPECT_EQ(observer.connections, QStringList{QStringLiteral("127.0.0.1/1:D:\\Dati\\a.fdb")});
    EXPECT_EQ(observer.creations, QStringList{creation(QStringLiteral("127.0.0.1/1:D:\\Dati\\a.fdb"))});
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_FALSE(connection.connected());
}
