// The login from OK to the navigation bar ready, and the build of a program's
// menu tree, on a generated catalogue: 50 programs of 40 entries each (half
// of them quick entries), a user with two menu languages, and a program with
// a 256-entry tree. Each benchmark reports the statements run per iteration.

#include "AppDirectory.h"
#include "SuiteRows.h"
#include "SuiteSetup.h"
#include "data/TabX.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/StatementObserver.h"
#include "db/Transaction.h"
#include "platform/ExecutableDirectory.h"
#include "shell/Application.h"
#include "shell/BaseMain.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using tg::test::rows::Entry;

constexpr int Programs = 50;
constexpr int EntriesPerProgram = 40;
constexpr int TreeProgram = 900;

class CountingObserver : public tg::db::StatementObserver {
public:
    void statementRun(const QString &) override { ++statements; }
    long statements = 0;
};

QString applicationDirectory;


// 50 programs in project 1, each with 40 top-level entries of which every
// second is a quick entry; translations in language 2 for a third of them and
// in language 3 for another third. Program 900 holds a tree of 16 entries
// with 15 children each (256 entries).
QStringList catalogueRows(const QString &archive)
{
    namespace rows = tg::test::rows;
    QStringList statements{
        rows::user(1, QStringLiteral("MARIO"), QStringLiteral("DITTA,PROFILOSICUREZZA,PROGETTO,LINGUA1,LINGUA2"),
                   QStringLiteral("'ROSSI SPA',1,1,2,3")),
        rows::parameter(1, QStringLiteral("ROSSI SPA"), QStringLiteral("Archivio"), archive, 1),
        QStringLiteral("INSERT INTO PROGETTI (CODICE,MODOMENUSISTEMA) VALUES (1,0)")};
    for (int program = 1; program <= Programs; ++program) {
        statements << rows::program(program, QStringLiteral("Programma %1").arg(program))
                   << rows::projectProgram(1, program);
        for (int menu = 1; menu <= EntriesPerProgram; ++menu) {
            statements << rows::menuEntry(Entry{.program = program, .menu = menu,
                                                .caption = QStringLiteral("Voce %1").arg(menu),
                                                .quick = menu % 2 ? QStringLiteral("'1'") : QStringLiteral("'0'")});
            if (menu % 3 != 0)
                statements << rows::translation(program, menu, menu % 3 == 1 ? 2 : 3, QStringLiteral("'Item %1'").arg(menu));
        }
    }
    for (int top = 1; top <= 16; ++top) {
        const int topMenu = top * 100;
        statements << rows::menuEntry(Entry{.program = TreeProgram, .menu = topMenu,
                                            .caption = QStringLiteral("Gruppo %1").arg(top)});
        for (int child = 1; child <= 15; ++child)
            statements << rows::menuEntry(Entry{.program = TreeProgram, .menu = topMenu + child,
                                                .parent = QString::number(topMenu), .level = 1,
                                                .caption = QStringLiteral("Voce %1").arg(child)});
    }
    return statements;
}

std::unique_ptr<tg::TBaseMainForm> newMainWindow()
{
    auto form = std::make_unique<tg::TBaseMainForm>();
    form->ComboUtenti1->setCurrentIndex(form->ComboUtenti1->findText(QStringLiteral("MARIO")));
    form->EditPassword1->clear();
    return form;
}

void BM_LoginToNavigationBar(benchmark::State &state)
{
    CountingObserver observer;
    long statements = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto form = newMainWindow();
        tg::db::StatementObserver::install(&observer);
        observer.statements = 0;
        state.ResumeTiming();
        form->ButtonOkClick();
        state.PauseTiming();
        tg::db::StatementObserver::install(nullptr);
        statements = observer.statements;
        if (form->vociRapide().size() != Programs * EntriesPerProgram / 2)
            state.SkipWithError("the navigation bar is not complete");
        form.reset();
        state.ResumeTiming();
    }
    state.counters["statements"] = static_cast<double>(statements);
}
BENCHMARK(BM_LoginToNavigationBar)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_CaricaMenu256Entries(benchmark::State &state)
{
    auto form = newMainWindow();
    form->ButtonOkClick();
    CountingObserver observer;
    tg::db::StatementObserver::install(&observer);
    for (auto _ : state) {
        observer.statements = 0;
        form->CaricaMenu(TreeProgram);
    }
    tg::db::StatementObserver::install(nullptr);
    if (form->vociMenu().size() != 256)
        state.SkipWithError("the tree is not complete");
    state.counters["statements"] = static_cast<double>(observer.statements);
}
BENCHMARK(BM_CaricaMenu256Entries)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    tg::TaskgateApplication application(argc, argv);
    QTemporaryDir directory;
    applicationDirectory = directory.path() + QLatin1Char('/');
    QDir().mkpath(applicationDirectory + QStringLiteral("Grafica"));
    QDir::setCurrent(applicationDirectory);
    const QString userDatabase = tg::setup::userDatabasePath(applicationDirectory);
    const QString archive = applicationDirectory + QStringLiteral("rossi.fdb");
    tg::setup::createUserDatabase(userDatabase);
    tg::setup::createArchiveDatabase(archive);
    tg::test::AppDirectory::exec(userDatabase, catalogueRows(archive));
    tg::ExecutableDirectory::override(applicationDirectory);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
