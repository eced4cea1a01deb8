// A full dispatch, from the click on a quick entry to the plug-in's entry
// point called: profile check, function row, session check, call log with a
// window id, company record, critical-window check with a linked window, the
// semaphore taken, the call. The plug-in does nothing. Reports the
// statements and commits per dispatch.

#include "AppDirectory.h"
#include "SuiteRows.h"
#include "SuiteSetup.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/StatementObserver.h"
#include "db/Transaction.h"
#include "menu/NavigationBar.h"
#include "platform/ExecutableDirectory.h"
#include "shell/Application.h"
#include "shell/BaseMain.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QToolButton>
#include <benchmark/benchmark.h>

namespace {

using tg::test::rows::Entry;

class CountingObserver : public tg::db::StatementObserver {
public:
    void statementRun(const QString &) override { ++statements; }
    void committed(bool) override { ++commits; }
    long statements = 0;
    long commits = 0;
};


void BM_DispatchQuickEntry(benchmark::State &state)
{
    tg::TBaseMainForm form;
    form.ComboUtenti1->setCurrentIndex(0);
    form.ButtonOkClick();
    if (form.vociRapide().isEmpty()) {
        state.SkipWithError("login failed");
        return;
    }
    QToolButton *entry = form.vociRapide().first();
    CountingObserver observer;
    tg::db::StatementObserver::install(&observer);
    for (auto _ : state)
        entry->click();
    tg::db::StatementObserver::install(nullptr);
    state.counters["statements"] = static_cast<double>(observer.statements) / static_cast<double>(state.iterations());
    state.counters["commits"] = static_cast<double>(observer.commits) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_DispatchQuickEntry)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    tg::TaskgateApplication application(argc, argv);
    QTemporaryDir directory;
    const QString app = directory.path() + QLatin1Char('/');
    QDir().mkpath(app + QStringLiteral("Grafica"));
    QDir::setCurrent(app);
    QFile::copy(QStringLiteral(TASKGATE_TEST_PLUGIN), app + QStringLiteral("taskgatetest.so"));
    const QString user = tg::setup::userDatabasePath(app);
    const QString archive = app + QStringLiteral("archivio.fdb");
    tg::setup::createUserDatabase(user);
    tg::setup::createArchiveDatabase(archive);
    namespace rows = tg::test::rows;
    tg::test::AppDirectory::exec(user, {rows::user(1, QStringLiteral("MARIO"), QStringLiteral("DITTA,PROFILOSICUREZZA,PROGETTO"),
                              QStringLiteral("'ROSSI SPA',1,1")),
                   rows::parameter(1, QStringLiteral("ROSSI SPA"), QStringLiteral("Archivio"), archive, 1),
                   QStringLiteral("INSERT INTO PROFILI (CODICE,LIVELLOPREDEFINITO) VALUES (1,'5')"),
                   rows::program(1, QStringLiteral("Vendite")), rows::projectProgram(1, 1),
                   rows::menuEntry(Entry{.program = 1, .menu = 1, .caption = QStringLiteral("Clienti"),
                                         .quick = QStringLiteral("'1'"), .function = QStringLiteral("'RecX'")}),
                   QStringLiteral("UPDATE DETTMENU SET DLL='taskgatetest.dll'")});
    tg::test::AppDirectory::exec(archive, {QStringLiteral("INSERT INTO SEMAFORIFCRITICHE (DLL,FORM,OSSERVATASPECIALE) "
                                     "VALUES ('taskgatetest.dll','RecX',0)"),
                      QStringLiteral("INSERT INTO SEMAFORIFCRITICHECOLL (DLLPRIN,FORMPRIN,DLLCOLLEGATA,FORMCOLLEGATA) "
                                     "VALUES ('taskgatetest.dll','RecX','altra.dll','Ordini')")});
    tg::ExecutableDirectory::override(app);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
