#include "AppDirectory.h"
#include "SuiteRows.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace tg::test;

// The real program in a process of its own: a plug-in window that nothing
// tracked, and that will not close when asked, must not keep the process
// alive once the main window has closed.
TEST(ProgramProcess, ClosingEndsTheProcessWithThePluginWindowsThatNothingTracked)
{
    AppDirectory app;
    app.createArchive(QStringLiteral("archivio.fdb"));
    app.execUser({rows::user(1, QStringLiteral("MARIO"), QStringLiteral("DITTA,PROFILOSICUREZZA,PROGETTO"),
                             QStringLiteral("'ROSSI SPA',1,1")),
                  QStringLiteral("INSERT INTO PROFILI (CODICE,LIVELLOPREDEFINITO) VALUES (1,'5')"),
                  rows::program(1, QStringLiteral("Vendite")), rows::projectProgram(1, 1),
                  rows::menuEntry(rows::Entry{.program = 1, .menu = 1, .caption = QStringLiteral("Finestra"),
                                              .quick = QStringLiteral("'1'"),
                                              .function = QStringLiteral("'FinestraLibera'")}),
                  QStringLiteral("UPDATE DETTMENU SET DLL='taskgatetest.so'")});
    // The program looks for its databases and plug-ins beside itself.
    const QString program = app.path() + QStringLiteral("/closing_process");
    ASSERT_TRUE(QFile::copy(QStringLiteral(TASKGATE_CLOSING_PROCESS), program));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TASKGATE_TEST_PLUGIN), app.path() + QStringLiteral("/taskgatetest.so")));

    QProcess process;
    process.setWorkingDirectory(app.path());
    // LeakSanitizer's own tracer at times crashes at the exit of the real
    // program while the database engine's threads end ("Tracer caught
    // signal 11", exit code 1): the child's leak check is left to the
    // in-process tests, which run the same code; the address checks stay on.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       (asan.isEmpty() ? QString() : asan + QLatin1Char(':')) + QStringLiteral("detect_leaks=0"));
    process.setProcessEnvironment(environment);
    process.start(program, {});
    const bool ended = process.waitForFinished(60000);
    if (!ended) {
        process.kill();
        process.waitForFinished();
    }
    ASSERT_TRUE(ended) << "the process outlived its main window";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()), QStringLiteral("windows 1\n"))
        << "the plug-in's window was on screen when the main window closed";
    EXPECT_EQ(app.queryUserText(QStringLiteral("SELECT COUNT(*) FROM MARTILOG WHERE DATACHIUSURA IS NOT NULL")),
              QStringLiteral("1"))
        << "the closing ran whole: the session was closed";
}
