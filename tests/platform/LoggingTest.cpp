// The log output: a failure the user is not shown leaves one line with the
// client's text in the file TASKGATE_LOG names; statement tracing writes
// nothing until a logging rule switches it on.

#include "TestDatabase.h"
#include "TestSupport.h"

#include "archive/ArchiveLocator.h"
#include "db/DatabaseError.h"
#include "platform/DynamicLibrary.h"
#include "platform/Logging.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

class LoggingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("TASKGATE_LOG", QFile::encodeName(logFile));
        installLogOutput();
    }
    void TearDown() override
    {
        QLoggingCategory::setFilterRules(QString());
        qunsetenv("TASKGATE_LOG");
        installLogOutput();
    }

    QStringList logLines() const
    {
        QFile file(logFile);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    static void suiteLogin(db::Database &database, const QString &path)
    {
        database.setDatabaseName(path);
        database.params() = testLogin();
    }

    TempDir dir;
    QString logFile = dir.file(QStringLiteral("taskgate.log"));
};

TEST_F(LoggingTest, FailedAttachLeavesOneLineWithTheClientsText)
{
    const QString missing = dir.file(QStringLiteral("nowhere/archivio.fdb"));
    db::Database probe;
    suiteLogin(probe, missing);
    QString clientText;
    try {
        probe.connect();
    } catch (const db::DatabaseError &error) {
        clientText = error.message();
    }
    ASSERT_FALSE(clientText.isEmpty());
    EXPECT_TRUE(logLines().isEmpty()) << "a failure its caller sees is not logged";

    db::Database connection;
    suiteLogin(connection, missing);
    EXPECT_FALSE(archive::ClientOpener::instance().attach(connection));
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 1) << lines.join(QLatin1Char('\n')).toStdString();
    const QRegularExpression layout(QStringLiteral(
        "^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} taskgate\\.archive warning: Attaching .+ failed: "));
    EXPECT_TRUE(layout.match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(missing));
    // The client's text spans several lines; in the log it is one.
    EXPECT_TRUE(lines[0].endsWith(QString(clientText).replace(QLatin1Char('\n'), QLatin1Char(' '))))
        << lines[0].toStdString();
}

TEST_F(LoggingTest, MissingPluginLibraryLeavesOneLineWithTheLoadersText)
{
    const QString library = dir.file(QStringLiteral("nessuna.dll"));
    EXPECT_EQ(DynamicLibrary::load(library), nullptr);
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 1) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral(" taskgate.plugin warning: Library ") + library + QStringLiteral(" not loaded: ")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains(dir.file(QStringLiteral("nessuna.so: cannot open shared object file"))))
        << lines[0].toStdString();
}

TEST_F(LoggingTest, StatementTracingIsOffUntilARuleSwitchesItOn)
{
    db::Database database;
    createTestDatabase(database, dir.file(QStringLiteral("trace.fdb")));
    execCommitted(database, QStringLiteral("CREATE TABLE T (ID INTEGER)"));
    db::Transaction transaction(&database);
    db::Query query(&database, &transaction);
    query.sql() << QStringLiteral("SELECT ID") << QStringLiteral("FROM T");
    query.open();
    query.close();
    EXPECT_TRUE(logLines().isEmpty()) << logLines().join(QLatin1Char('\n')).toStdString();

    QLoggingCategory::setFilterRules(QStringLiteral("taskgate.db.statements.debug=true"));
    query.open();
    query.close();
    query.sql() = QStringList{QStringLiteral("SELECT NOTHING FROM NOWHERE")};
    EXPECT_THROW(query.open(), db::DatabaseError);
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 2) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral(" taskgate\\.db\\.statements debug: \\d+ ms: SELECT ID FROM T$"))
                    .match(lines[0]).hasMatch())
        << lines[0].toStdString();
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral(" taskgate\\.db\\.statements debug: \\d+ ms, failed: SELECT NOTHING FROM NOWHERE$"))
                    .match(lines[1]).hasMatch())
        << lines[1].toStdString();
}

} // namespace
