#include "AppDirectory.h"
#include "TestSupport.h"

#include "data/TabX.h"
#include "db/QueryDataSet.h"
#include "db/TableDataSet.h"
#include "platform/Clock.h"
#include "platform/DynamicLibrary.h"

#include <taskgate/plugin.h>

#include <QFile>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace tg;
using namespace tg::test;

namespace {

// What the test report library handed over, read while its entry runs.
struct ReportCall {
    QString entry;
    void *dataSet = nullptr;
    TTabXForm *module = nullptr;
    QString title;
    QString report;
};
QList<ReportCall> reportCalls;
bool reportFails = false;

class FixedClock : public Clock {
public:
    FixedClock() { Clock::install(this); }
    ~FixedClock() override { Clock::install(nullptr); }
    QDateTime now() const override { return moment; }
    QDateTime moment{QDate(2024, 3, 5), QTime(10, 30)};
};

} // namespace

// Called by the test report library ("Rptx") from inside its entries.
extern "C" TASKGATE_EXPORT void TaskgateReportProbe(const char *entry, void *dataSet, void *moduleAddress)
{
    ReportCall call{QString::fromLatin1(entry), dataSet, *static_cast<TTabXForm **>(moduleAddress), {}, {}};
    call.module->GetV(QStringLiteral("TitoloStampa"), call.title);
    call.module->GetV(QStringLiteral("NomeReport"), call.report);
    reportCalls << call;
    if (reportFails)
        throw std::runtime_error("stampa fallita");
}

namespace {

class ScriptsAndReports : public ::testing::Test {
protected:
    void SetUp() override
    {
        module.Avvia();
        reportCalls.clear();
        reportFails = false;
    }
    QString reportLibrary() const { return app.path() + QStringLiteral("Rptx.so"); }
    void installReportLibrary() const
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(TASKGATE_REPORT_PLUGIN), reportLibrary()));
    }
    bool reportLibraryLoaded() const
    {
        void *handle = dlopen(QFile::encodeName(reportLibrary()).constData(), RTLD_NOW | RTLD_NOLOAD);
        if (handle)
            dlclose(handle);
        return handle != nullptr;
    }
    QStringList scripts() const
    {
        return app.queryUserRows(QStringLiteral(
            "SELECT PROGETTO,SCRIPTFORM,CONTESTO,UTENTE,SCRIPT,DATAULTIMAMODIFICA FROM TABSCRIPT ORDER BY SCRIPTFORM"));
    }

    AppDirectory app;
    RecordingPrompter prompter;
    TTabXForm module{nullptr, 0};
};

TEST_F(ScriptsAndReports, FormScriptIsWrittenOnceThenOnlyWhenEmptyOrOverwritten)
{
    FixedClock clock;
    RecordingObserver observer;
    module.IniScriptForm(QStringLiteral("P1"), QStringLiteral("FORMA"), QStringLiteral("1"), QStringLiteral("7"),
                         QStringLiteral("primo"), QStringLiteral("0"));
    EXPECT_EQ(observer.statements.value(1),
              QStringLiteral("INSERT INTO TABSCRIPT\nVALUES ('P1','FORMA','1','7',NULL,'primo',NULL,'03/05/2024',NULL);"));
    module.IniScriptForm(QStringLiteral("P1"), QStringLiteral("FORMB"), QStringLiteral("1"), QStringLiteral("7"),
                         QString(), QStringLiteral("0"));
    EXPECT_EQ(scripts(), (QStringList{QStringLiteral("P1|FORMA|1|7|primo|05/03/2024"),
                                      QStringLiteral("P1|FORMB|1|7||05/03/2024")}));

    clock.moment = QDateTime(QDate(2024, 4, 9), QTime(8, 0));
    module.IniScriptForm(QStringLiteral("P1"), QStringLiteral("FORMA"), QStringLiteral("1"), QStringLiteral("7"),
                         QStringLiteral("secondo"), QStringLiteral("0"));
    module.IniScriptForm(QStringLiteral("P1"), QStringLiteral("FORMA"), QStringLiteral("1"), QStringLiteral("7"),
                         QStringLiteral("terzo"), QStringLiteral("si"));
    EXPECT_EQ(scripts().value(0), QStringLiteral("P1|FORMA|1|7|primo|05/03/2024")) << "only \"1\" overwrites";

    // The empty script is filled whatever the flag; "1" replaces that row only.
    module.IniScriptForm(QStringLiteral("P1"), QStringLiteral("FORMB"), QStringLiteral("1"), QStringLiteral("7"),
                         QStringLiteral("riempito"), QStringLiteral("0"));
    module.IniScriptForm(QStringLiteral("P1"), QStringLiteral("FORMA"), QStringLiteral("1"), QStringLiteral("7"),
                         QStringLiteral("l'ultimo"), QStringLiteral("1"));
    EXPECT_EQ(scripts(), (QStringList{QStringLiteral("P1|FORMA|1|7|l'ultimo|09/04/2024"),
                                      QStringLiteral("P1|FORMB|1|7|riempito|09/04/2024")}));
    EXPECT_TRUE(observer.statements.contains(
        QStringLiteral("UPDATE TABSCRIPT\nSET SCRIPT='riempito',\nDATAULTIMAMODIFICA='04/09/2024'\n"
                       "WHERE (PROGETTO='P1')AND\n(SCRIPTFORM='FORMB')AND\n(CONTESTO='1')AND\n(UTENTE='7');")));
}

TEST_F(ScriptsAndReports, WindowHandleOfAnUnknownWindowWritesNothingAndSucceeds)
{
    app.execUser({QStringLiteral("INSERT INTO MARTILOGFUNZ (CODICESESSIONE,IDFINESTRA) VALUES (1,5)")});
    EXPECT_TRUE(module.ScritturaHandleDiApertura(99, 1234));
    EXPECT_EQ(app.queryUserRows(QStringLiteral("SELECT IDFINESTRA,HANDLEFINESTRA FROM MARTILOGFUNZ")),
              QStringList{QStringLiteral("5|")});
}

TEST_F(ScriptsAndReports, ReportEntryFollowsTheDataSetKindAndTheLibraryIsUnloaded)
{
    installReportLibrary();
    module.Inserisci(QStringLiteral("VRT"), QStringLiteral("TitoloStampa"), QString(), QString(), QString(), QString(),
                     QString(), QString(), QStringLiteral("0"));
    module.Inserisci(QStringLiteral("VRT"), QStringLiteral("NomeReport"), QString(), QString(), QString(), QString(),
                     QString(), QString(), QStringLiteral("0"));
    db::QueryDataSet query(&module.IBDatabaseUser);
    db::TableDataSet table(&module.IBDatabaseUser);

    module.LanciaStampaConDll(QStringLiteral("Clienti"), QStringLiteral("clienti.rpt"), query);
    module.LanciaStampaConDll(QStringLiteral("Articoli"), QStringLiteral("articoli.rpt"), table);
    ASSERT_EQ(reportCalls.size(), 2);
    EXPECT_EQ(reportCalls[0].entry, QStringLiteral("ShowRptx11FormD"));
    EXPECT_EQ(reportCalls[0].dataSet, static_cast<void *>(&query));
    EXPECT_EQ(reportCalls[0].module, &module);
    EXPECT_EQ(reportCalls[0].title, QStringLiteral("Clienti"));
    EXPECT_EQ(reportCalls[0].report, QStringLiteral("clienti.rpt"));
    EXPECT_EQ(reportCalls[1].entry, QStringLiteral("ShowRptx11MemFormD"));
    EXPECT_EQ(reportCalls[1].dataSet, static_cast<void *>(&table));
    EXPECT_EQ(reportCalls[1].title, QStringLiteral("Articoli"));
    EXPECT_FALSE(reportLibraryLoaded());
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(ScriptsAndReports, ReportWithoutNamedValuesOrLibraryOrWithAFailure)
{
    db::QueryDataSet query(&module.IBDatabaseUser);
    module.Inserisci(QStringLiteral("VRT"), QStringLiteral("NomeReport"), QString(), QString(), QString(), QString(),
                     QString(), QString(), QStringLiteral("0"));

    // No library: nothing is shown, but the report name is stored all the same.
    module.LanciaStampaConDll(QStringLiteral("T"), QStringLiteral("r1"), query);
    QString report;
    module.GetV(QStringLiteral("NomeReport"), report);
    EXPECT_EQ(report, QStringLiteral("r1"));
    EXPECT_TRUE(reportCalls.isEmpty());

    // No "TitoloStampa" record: the title is not kept and the report runs.
    installReportLibrary();
    module.LanciaStampaConDll(QStringLiteral("T"), QStringLiteral("r2"), query);
    ASSERT_EQ(reportCalls.size(), 1);
    EXPECT_EQ(reportCalls[0].title, QString());
    EXPECT_EQ(reportCalls[0].report, QStringLiteral("r2"));
    EXPECT_TRUE(prompter.messages.isEmpty());

    reportFails = true;
    module.LanciaStampaConDll(QStringLiteral("T"), QStringLiteral("r3"), query);
    EXPECT_EQ(prompter.messages, (QList<QPair<MessageKind, QString>>{
                                     {MessageKind::Error, QStringLiteral("Errore nell'accesso alla DLL Rptx delle stampe")}}));
    EXPECT_TRUE(reportLibraryLoaded()) << "left loaded after a failure";
}

TEST_F(ScriptsAndReports, LibraryFunctionGetsItsArgumentAndMissingOnesAreSilent)
{
    module.AvviaFunzXDll(QStringLiteral("nessuna.dll"), QStringLiteral("RecPlain"), 1);
    ASSERT_TRUE(QFile::copy(QStringLiteral(TASKGATE_TEST_PLUGIN), app.path() + QStringLiteral("taskgatetest.so")));
    module.AvviaFunzXDll(QStringLiteral("taskgatetest.dll"), QStringLiteral("Nessuna"), 1);
    module.AvviaFunzXDll(QStringLiteral("taskgatetest.dll"), QStringLiteral("RecPlain"), 42);
    EXPECT_TRUE(prompter.messages.isEmpty());

    void *plugin = DynamicLibrary::load(QStringLiteral("taskgatetest.dll"));
    ASSERT_NE(plugin, nullptr);
    auto calls = reinterpret_cast<const char *(*)()>(DynamicLibrary::symbol(plugin, QStringLiteral("TaskgateTestCalls")));
    ASSERT_NE(calls, nullptr);
    EXPECT_EQ(QString::fromLatin1(calls()), QStringLiteral("RecPlain 42\n"));
    auto reset = reinterpret_cast<void (*)()>(DynamicLibrary::symbol(plugin, QStringLiteral("TaskgateTestReset")));
    reset();
    DynamicLibrary::unload(plugin);
}

} // namespace
