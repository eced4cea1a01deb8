#include "AppDirectory.h"
#include "TestSupport.h"

#include "data/TabX.h"
#include "menu/HostServices.h"
#include "menu/PluginCaller.h"
#include "platform/DynamicLibrary.h"
#include "sessions/WorkSessions.h"

#include <QApplication>
#include <QFile>
#include <QWidget>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

// The recording plug-in's log of calls, read through its own export.
QStringList pluginCalls(const QString &path)
{
    void *library = DynamicLibrary::load(path);
    auto calls = reinterpret_cast<const char *(*)()>(DynamicLibrary::symbol(library, QStringLiteral("TaskgateTestCalls")));
    return calls ? QString::fromLatin1(calls()).split(QLatin1Char('\n'), Qt::SkipEmptyParts) : QStringList{QStringLiteral("<no plug-in>")};
}

void resetPluginCalls(const QString &path)
{
    void *library = DynamicLibrary::load(path);
    if (auto reset = reinterpret_cast<void (*)()>(DynamicLibrary::symbol(library, QStringLiteral("TaskgateTestReset"))))
        reset();
}

class PluginCalls : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(TASKGATE_TEST_PLUGIN), app.path() + QStringLiteral("taskgatetest.so")));
        plugin = app.path() + QStringLiteral("taskgatetest.so");
        archive = app.createArchive(QStringLiteral("archivio.fdb"));
        app.execUser({QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE) VALUES (7,'MARIO')")});
        AppDirectory::exec(archive, {QStringLiteral("INSERT INTO SEMAFORIFCRITICHE (DLL,FORM,OSSERVATASPECIALE) "
                                                    "VALUES ('taskgatetest.dll','RecX',0)"),
                                     QStringLiteral("INSERT INTO SEMAFORIFCRITICHE (DLL,FORM,OSSERVATASPECIALE) "
                                                    "VALUES ('taskgatetest.dll','RecPlain',0)"),
                                     QStringLiteral("INSERT INTO SEMAFORIFCRITICHECOLL (DLLPRIN,FORMPRIN,DLLCOLLEGATA,"
                                                    "FORMCOLLEGATA) VALUES ('taskgatetest.dll','RecX','altra.dll','V')")});
        module.Avvia();
        module.SetUserPerNum(7);
        module.ConnettiDatabase0(archive);
        HostServices::install(&module);
        resetPluginCalls(plugin);
    }
    void TearDown() override { HostServices::install(nullptr); }
    QStringList semaphores() const
    {
        return AppDirectory::queryRows(archive, QStringLiteral("SELECT ID,DLL,FORM,UTENTE,OCCUPATO FROM SEMAFORIF ORDER BY ID"));
    }

    AppDirectory app;
    QString plugin;
    QString archive;
    RecordingPrompter prompter;
    TTabXForm module{nullptr, 0};
    PluginCaller caller{module};
};

TEST_F(PluginCalls, EachFormHandsItsArgumentsInItsLayout)
{
    const QString dll = QStringLiteral("taskgatetest.dll");
    caller.CaricaFunzioneDLL(dll, QStringLiteral("RecPlain"));
    caller.CaricaFunzioneDLL2(dll, QStringLiteral("Rec2"), QString());
    caller.CaricaFunzioneDLL2(dll, QStringLiteral("Rec2"), QStringLiteral("città"));
    caller.CaricaFunzioneDLL2X(dll, QStringLiteral("Rec2X"), QString(), 12);
    caller.CaricaFunzioneDLL3Y(dll, QStringLiteral("RecY"), QString(), 13);
    caller.CaricaFunzioneDLL3Y(dll, QStringLiteral("RecY"), QStringLiteral("A=1"), 14);
    caller.CaricaFunzioneDLLX(dll, QStringLiteral("RecX"), 15);
    const QStringList calls = pluginCalls(plugin);
    ASSERT_EQ(calls.size(), 7) << calls.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(calls[0], QStringLiteral("RecPlain 7"));
    EXPECT_EQ(calls[1], QStringLiteral("Rec2 7 <null>")) << "the empty counted text is a null pointer";
    EXPECT_EQ(calls[2], QString::fromLatin1("Rec2 7 [5]citt\xe0")) << "five bytes in the suite's code page";
    EXPECT_EQ(calls[3], QStringLiteral("Rec2X 7 <null> 12"));
    EXPECT_EQ(calls[4], QStringLiteral("RecY 7 13 ")) << "the empty plain text is an empty string, not null";
    EXPECT_EQ(calls[5], QStringLiteral("RecY 7 14 A=1"));
    EXPECT_EQ(calls[6], QStringLiteral("RecX 7 15"));
    EXPECT_EQ(semaphores(), QStringList{QStringLiteral("15|taskgatetest.dll|RecX|7|1")})
        << "only a critical window called with a window id takes a semaphore";
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(PluginCalls, MissingLibraryOrExportTakesNoSemaphoreAndSaysNothing)
{
    caller.CaricaFunzioneDLLX(QStringLiteral("assente.dll"), QStringLiteral("RecX"), 3);
    caller.CaricaFunzioneDLLX(QStringLiteral("taskgatetest.dll"), QStringLiteral("recx"), 4);
    EXPECT_TRUE(semaphores().isEmpty());
    EXPECT_TRUE(pluginCalls(plugin).isEmpty());
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(PluginCalls, BlockedWindowIsRefusedBeforeTheLibraryIsCalled)
{
    AppDirectory::exec(archive, {QStringLiteral("INSERT INTO SEMAFORIF VALUES ('1','altra.dll','V',3,1,'NOW')")});
    caller.CaricaFunzioneDLLX(QStringLiteral("taskgatetest.dll"), QStringLiteral("RecX"), 20);
    EXPECT_TRUE(pluginCalls(plugin).isEmpty());
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages.first().first, MessageKind::Error);
    EXPECT_EQ(AppDirectory::queryRows(archive, QStringLiteral("SELECT UTENTE,DLL,FORM,DESCRIZIONE FROM SEMAFORIFANOMALIE")),
              QStringList{QStringLiteral("7|taskgatetest.dll|RecX|Semaforo occupato")});
    EXPECT_EQ(semaphores().size(), 1);
}

TEST_F(PluginCalls, EntryPointErrorsReachTheCaller)
{
    EXPECT_THROW(caller.CaricaFunzioneDLLX(QStringLiteral("taskgatetest.dll"), QStringLiteral("GuastoX"), 1),
                 std::runtime_error);
}

TEST_F(PluginCalls, PluginWindowRecordsItsHandleAndReleasesItsSemaphoreWhenClosed)
{
    AppDirectory::exec(archive, {QStringLiteral("INSERT INTO SEMAFORIFCRITICHE (DLL,FORM,OSSERVATASPECIALE) "
                                                "VALUES ('taskgatetest.dll','FinestraX',0)")});
    db::Transaction transaction(&module.IBDatabaseUser);
    db::Query query(&module.IBDatabaseUser, &transaction);
    int session = 0;
    const bool logWindows = true;
    WorkSessions sessions(query, transaction, session, logWindows);
    sessions.ApriSessione(7);
    const int windowId = sessions.AggiornaMartiLogFunz(QStringLiteral("FinestraX"));
    caller.CaricaFunzioneDLLX(QStringLiteral("taskgatetest.dll"), QStringLiteral("FinestraX"), windowId);
    QWidget *window = nullptr;
    for (QWidget *candidate : QApplication::topLevelWidgets()) {
        if (candidate->objectName() == QLatin1String("TrackedWindow"))
            window = candidate;
    }
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(app.queryUserText(QStringLiteral("SELECT HANDLEFINESTRA FROM MARTILOGFUNZ WHERE IDFINESTRA=%1").arg(windowId)),
              QString::number(static_cast<qint64>(window->winId())));
    EXPECT_FALSE(sessions.VerificaFinestreAperte());
    EXPECT_EQ(semaphores(), QStringList{QStringLiteral("%1|taskgatetest.dll|FinestraX|7|1").arg(windowId)});
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(sessions.VerificaFinestreAperte());
    EXPECT_EQ(semaphores(), QStringList{QStringLiteral("%1|taskgatetest.dll|FinestraX|7|0").arg(windowId)});
}

TEST(LibraryNames, StoredNamesTryTheExecutableDirectoryThenTheLoader)
{
    AppDirectory app(AppDirectory::Contents::Empty);
    const QString dir = app.path();
    EXPECT_EQ(DynamicLibrary::candidates(QStringLiteral("Rubrimax.dll")),
              (QStringList{dir + QStringLiteral("Rubrimax.dll"), dir + QStringLiteral("Rubrimax.so"),
                           QStringLiteral("Rubrimax.dll"), QStringLiteral("Rubrimax.so")}));
    EXPECT_EQ(DynamicLibrary::candidates(QStringLiteral("Rptx")),
              (QStringList{dir + QStringLiteral("Rptx"), dir + QStringLiteral("Rptx.so"), QStringLiteral("Rptx"),
                           QStringLiteral("Rptx.so")}));
    EXPECT_EQ(DynamicLibrary::candidates(QStringLiteral("/opt/x/LIB.DLL")),
              (QStringList{QStringLiteral("/opt/x/LIB.DLL"), QStringLiteral("/opt/x/LIB.so")}));
    EXPECT_TRUE(DynamicLibrary::candidates(QString()).isEmpty());
    EXPECT_EQ(DynamicLibrary::load(QStringLiteral("assente.dll")), nullptr);
}

} // namespace
