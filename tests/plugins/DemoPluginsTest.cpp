// The demo plug-ins against the demo suite (tools/DemoSuite.cpp): every
// function its menus and picture buttons name is exported by the library
// they name, each is called in exactly one form and shows what it received
// in that form, and the demo's critical windows keep each other out when
// opened through the front-end's plug-in calls.

#include "AppDirectory.h"
#include "SuiteSetup.h"
#include "TestSupport.h"

#include "data/TabX.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "menu/HostServices.h"
#include "menu/PluginCaller.h"
#include "menu/PluginTexts.h"
#include "sessions/WorkSessions.h"

#include <taskgate/plugin.h>

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QMap>
#include <QPlainTextEdit>
#include <QSet>
#include <QWidget>
#include <dlfcn.h>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

const QString kPluginDirectory = QStringLiteral(TASKGATE_DEMO_PLUGIN_DIRECTORY);

// The five calling forms, as the dispatcher chooses them.
enum class Form { Plain, Counted, X, CountedX, PlainY };

const char *formName(Form form)
{
    switch (form) {
    case Form::Plain:
        return "plain";
    case Form::Counted:
        return "2";
    case Form::X:
        return "X";
    case Form::CountedX:
        return "2X";
    case Form::PlainY:
        return "3Y";
    }
    return "?";
}

bool takesWindowId(Form form)
{
    return form == Form::X || form == Form::CountedX || form == Form::PlainY;
}

bool takesText(Form form)
{
    return form == Form::Counted || form == Form::CountedX || form == Form::PlainY;
}

// By the last character of the entry name, case included, and the level.
Form formOf(const QString &function, bool secondLevel)
{
    if (function.endsWith(QLatin1Char('Y')))
        return Form::PlainY;
    if (function.endsWith(QLatin1Char('X')))
        return secondLevel ? Form::CountedX : Form::X;
    return secondLevel ? Form::Counted : Form::Plain;
}

bool isBuiltInCommand(const QString &function)
{
    const QString upper = function.toUpper();
    return upper == QLatin1String("CHIUDI") || upper == QLatin1String("CAMBIOUTENTE")
           || upper == QLatin1String("CAMBIODITTA");
}

// One way the demo suite calls a plug-in function.
struct Call {
    QString dll;
    QString function;
    Form form;
    QString parameters;
    QString where; // the row, for messages
};

QHash<QString, QVariant> rowValues(const setup::DemoRow &row)
{
    QHash<QString, QVariant> values;
    for (qsizetype i = 0; i < row.columns.size(); ++i)
        values.insert(row.columns[i], row.values.value(i));
    return values;
}

// Every call the demo's quick entries, menu trees and picture buttons make.
// A menu entry is second level when it is a leaf below the top level of a
// visible tree with LIVELLO2VERSIONE "1"; its quick entry (and an entry
// that no tree shows) runs at the first level.
QList<Call> demoCalls()
{
    QList<QHash<QString, QVariant>> menu;
    QList<QHash<QString, QVariant>> buttons;
    for (const setup::DemoRow &row : setup::demoSuiteRows({})) {
        if (row.table == QLatin1String("DETTMENU"))
            menu << rowValues(row);
        else if (row.table == QLatin1String("PULSANTONI"))
            buttons << rowValues(row);
    }
    auto key = [](const QHash<QString, QVariant> &entry, const QString &column) {
        return entry.value(QStringLiteral("PROGRAMMA")).toString() + QLatin1Char('/') + entry.value(column).toString();
    };
    QHash<QString, QHash<QString, QVariant>> entries;
    QSet<QString> parents;
    for (const auto &entry : menu) {
        entries.insert(key(entry, QStringLiteral("MENU")), entry);
        if (entry.value(QStringLiteral("MENUPREC")).isValid())
            parents.insert(key(entry, QStringLiteral("MENUPREC")));
    }
    auto inTree = [&](QHash<QString, QVariant> entry) {
        for (;;) {
            if (entry.value(QStringLiteral("VISIBILE")).toString() != QLatin1String("1"))
                return false;
            if (!entry.value(QStringLiteral("MENUPREC")).isValid())
                return true;
            entry = entries.value(key(entry, QStringLiteral("MENUPREC")));
        }
    };

    QList<Call> calls;
    for (const auto &entry : menu) {
        const QString function = entry.value(QStringLiteral("FUNZIONE")).toString();
        if (function.isEmpty() || isBuiltInCommand(function))
            continue;
        const QString dll = entry.value(QStringLiteral("DLL")).toString();
        const QString parameters = entry.value(QStringLiteral("PARAMETRIBLOB")).toString();
        const QString where = QStringLiteral("DETTMENU ") + key(entry, QStringLiteral("MENU"));
        const bool quick = entry.value(QStringLiteral("VOCERAPIDA")).toString() == QLatin1String("1");
        const bool tree = inTree(entry) && !parents.contains(key(entry, QStringLiteral("MENU")));
        if (tree) {
            const bool secondLevel =
                entry.value(QStringLiteral("LIVELLOMENU")).toInt() > 0
                && entry.value(QStringLiteral("LIVELLO2VERSIONE")).toString() == QLatin1String("1");
            calls.append({dll, function, formOf(function, secondLevel), parameters, where + QStringLiteral(" (tree)")});
        }
        if (quick || !tree)
            calls.append({dll, function, formOf(function, false), parameters, where + QStringLiteral(" (quick)")});
    }
    for (const auto &button : buttons) {
        const QString function = button.value(QStringLiteral("FUNZIONE")).toString();
        if (function.isEmpty() || isBuiltInCommand(function))
            continue;
        const bool secondLevel = button.value(QStringLiteral("LIVELLO2VERSIONE")).toString() == QLatin1String("1");
        calls.append({button.value(QStringLiteral("DLL")).toString(), function, formOf(function, secondLevel),
                      button.value(QStringLiteral("PARAMETRIBLOB")).toString(),
                      QStringLiteral("PULSANTONI ") + button.value(QStringLiteral("ID")).toString()});
    }
    return calls;
}

// The file a library name of the tables resolves to.
QString libraryFile(const QString &dll)
{
    const QString base = dll.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive) ? dll.left(dll.size() - 4) : dll;
    return base + QStringLiteral(".so");
}

// The built library, loaded once and kept for the test run.
void *library(const QString &dll)
{
    static QHash<QString, void *> loaded;
    auto found = loaded.find(dll);
    if (found == loaded.end()) {
        const QByteArray path = QFile::encodeName(kPluginDirectory + QLatin1Char('/') + libraryFile(dll));
        void *handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
        EXPECT_NE(handle, nullptr) << dlerror();
        found = loaded.insert(dll, handle);
    }
    return *found;
}

void *entry(const QString &dll, const QString &function)
{
    void *handle = library(dll);
    return handle ? dlsym(handle, function.toLatin1().constData()) : nullptr;
}

QList<QWidget *> demoWindows(const QString &title = QString())
{
    QList<QWidget *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("DemoWindow") && widget->isVisible()
            && (title.isNull() || widget->windowTitle() == title))
            windows << widget;
    }
    return windows;
}

void closeWindow(QWidget *window)
{
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void closeAllDemoWindows()
{
    for (QWidget *window : demoWindows())
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString labelText(QWidget *window, const QString &name)
{
    const QLabel *label = window->findChild<QLabel *>(name);
    return label ? label->text() : QStringLiteral("<none>");
}

} // namespace

TEST(DemoPlugins, EveryDemoFunctionIsExportedByTheLibraryItNames)
{
    const QList<Call> calls = demoCalls();
    ASSERT_GE(calls.size(), 30);
    QSet<QString> libraries;
    for (const Call &call : calls) {
        EXPECT_NE(entry(call.dll, call.function), nullptr) << qPrintable(call.where) << ": " << qPrintable(call.dll)
                                                           << " does not export " << qPrintable(call.function);
        libraries.insert(call.dll);
    }
    EXPECT_EQ(libraries.size(), 8);

    // The agenda the login opens, under both default entry names.
    EXPECT_NE(entry(QStringLiteral("Rubrimax.dll"), QStringLiteral("ShowContattAgendaFormX")), nullptr);
    EXPECT_NE(entry(QStringLiteral("Rubrimax.dll"), QStringLiteral("ShowContattAgendaFormD")), nullptr);

    // Names are exact: the loader's look-up is case-sensitive, and nothing
    // but the entry points is exported.
    EXPECT_EQ(entry(QStringLiteral("demovendite.dll"), QStringLiteral("apriordinix")), nullptr);
    EXPECT_EQ(
        entry(QStringLiteral("demovendite.dll"), QStringLiteral("_ZN13taskgate_demo10openWindowERKNS_8ReceivedE")),
        nullptr);
}

TEST(DemoPlugins, EachFunctionIsCalledInOneFormOnly)
{
    // An export has one signature; a name the dispatcher reaches in two
    // forms would receive arguments it does not expect.
    QMap<QString, QSet<int>> forms;
    QMap<QString, QStringList> places;
    for (const Call &call : demoCalls()) {
        const QString name = call.dll + QLatin1Char('/') + call.function;
        forms[name].insert(static_cast<int>(call.form));
        places[name] << call.where + QLatin1Char(' ') + QLatin1String(formName(call.form));
    }
    ASSERT_FALSE(forms.isEmpty());
    for (auto it = forms.begin(); it != forms.end(); ++it)
        EXPECT_EQ(it.value().size(), 1) << qPrintable(it.key()) << ": " << qPrintable(places[it.key()].join(", "));
    // The demo uses the forms with a window id, with and without text.
    QSet<int> used;
    for (const QSet<int> &set : forms)
        used.unite(set);
    for (Form form : {Form::Plain, Form::X, Form::CountedX, Form::PlainY})
        EXPECT_TRUE(used.contains(static_cast<int>(form))) << formName(form);
}

TEST(DemoPlugins, EveryFunctionShowsWhatItReceivedInItsForm)
{
    HostServices::install(nullptr);
    closeAllDemoWindows();
    int32_t windowId = 100;
    QSet<QString> called;
    for (const Call &call : demoCalls()) {
        SCOPED_TRACE((call.where + QLatin1Char(' ') + call.function).toStdString());
        // The data-entry window works on the user's archive, not on what it
        // receives; the records tests drive it.
        if (call.dll == QLatin1String("demoinserimento.dll"))
            continue;
        void *function = entry(call.dll, call.function);
        ASSERT_NE(function, nullptr);
        if (called.contains(call.dll + call.function + call.parameters))
            continue;
        called.insert(call.dll + call.function + call.parameters);

        // The texts exactly as the front-end builds them.
        const CountedText counted(call.parameters);
        const PlainText plain(call.parameters);
        ++windowId;
        switch (call.form) {
        case Form::Plain:
            reinterpret_cast<TaskgateEntry>(function)(7);
            break;
        case Form::Counted:
            reinterpret_cast<TaskgateEntry2>(function)(7, counted.data());
            break;
        case Form::X:
            reinterpret_cast<TaskgateEntryX>(function)(7, windowId);
            break;
        case Form::CountedX:
            reinterpret_cast<TaskgateEntry2X>(function)(7, counted.data(), windowId);
            break;
        case Form::PlainY:
            reinterpret_cast<TaskgateEntry3Y>(function)(7, windowId, plain.data());
            break;
        }

        const QList<QWidget *> windows = demoWindows();
        ASSERT_EQ(windows.size(), 1) << "one window per call";
        QWidget *window = windows.first();
        EXPECT_EQ(window->windowTitle(), call.function);
        EXPECT_FALSE(window->isModal());
        EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
        EXPECT_EQ(labelText(window, QStringLiteral("libreria")), call.dll);
        EXPECT_EQ(labelText(window, QStringLiteral("utente")), QStringLiteral("7"));
        if (takesWindowId(call.form))
            EXPECT_EQ(labelText(window, QStringLiteral("finestra")), QString::number(windowId));
        else
            EXPECT_EQ(window->findChild<QLabel *>(QStringLiteral("finestra")), nullptr);
        const auto *parameters = window->findChild<QPlainTextEdit *>(QStringLiteral("parametri"));
        if (takesText(call.form)) {
            ASSERT_NE(parameters, nullptr);
            EXPECT_EQ(parameters->toPlainText(), call.parameters);
        } else {
            EXPECT_EQ(parameters, nullptr);
        }
        closeWindow(window);
        EXPECT_TRUE(demoWindows().isEmpty());
    }
    EXPECT_GE(called.size(), 30);
}

TEST(DemoPlugins, ParameterTextsAreReadInTheSuitesCodePage)
{
    const QString text = QStringLiteral("CITTÀ=Forlì\nIMPORTO=5€");
    const CountedText counted(text);
    const PlainText plain(text);
    // One byte per character in Windows-1252.
    ASSERT_EQ(taskgate_counted_length(counted.data()), text.size());

    auto parametersOf = [](const QString &function) {
        const QList<QWidget *> windows = demoWindows(function);
        const auto *edit =
            windows.size() == 1 ? windows.first()->findChild<QPlainTextEdit *>(QStringLiteral("parametri")) : nullptr;
        return edit ? edit->toPlainText() : QStringLiteral("<no window>");
    };

    auto counted2X = reinterpret_cast<TaskgateEntry2X>(
        entry(QStringLiteral("demovendite.dll"), QStringLiteral("ApriOrdiniApertiX")));
    auto plain3Y =
        reinterpret_cast<TaskgateEntry3Y>(entry(QStringLiteral("demovendite.dll"), QStringLiteral("StatisticheY")));
    ASSERT_NE(counted2X, nullptr);
    ASSERT_NE(plain3Y, nullptr);
    counted2X(3, counted.data(), 0);
    EXPECT_EQ(parametersOf(QStringLiteral("ApriOrdiniApertiX")), text);
    plain3Y(3, 0, plain.data());
    EXPECT_EQ(parametersOf(QStringLiteral("StatisticheY")), text);
    closeAllDemoWindows();

    // The empty text: a null counted text, an empty plain one.
    counted2X(3, CountedText(QString()).data(), 0);
    EXPECT_EQ(parametersOf(QStringLiteral("ApriOrdiniApertiX")), QString());
    plain3Y(3, 0, PlainText(QString()).data());
    EXPECT_EQ(parametersOf(QStringLiteral("StatisticheY")), QString());
    closeAllDemoWindows();
}

namespace {

// The demo plug-ins called through the front-end's plug-in calls, on an
// archive holding the demo's critical windows.
class DemoCriticalWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const QString &file : {QStringLiteral("demovendite.so"), QStringLiteral("democontabilita.so"),
                                    QStringLiteral("demoanagrafiche.so")})
            ASSERT_TRUE(QFile::copy(kPluginDirectory + QLatin1Char('/') + file, app.path() + file)) << qPrintable(file);
        archive = app.createArchive(QStringLiteral("rossi.fdb"));
        ASSERT_GT(setup::insertDemoArchiveData(archive), 0);
        app.execUser({QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE) VALUES (7,'MARIO')")});
        module.Avvia();
        module.SetUserPerNum(7);
        module.ConnettiDatabase0(archive);
        HostServices::install(&module);
        sessions.ApriSessione(7);
    }
    void TearDown() override
    {
        closeAllDemoWindows();
        HostServices::install(nullptr);
    }

    // Opens a function the way the dispatcher does: logged first, then
    // called with the window id the log gave. Returns that window id.
    int open(const QString &dll, const QString &function)
    {
        const int windowId = sessions.AggiornaMartiLogFunz(function);
        caller.CaricaFunzioneDLLX(dll, function, windowId);
        return windowId;
    }
    int openSales(const QString &function) { return open(QStringLiteral("demovendite.dll"), function); }
    int openAccounts(const QString &function) { return open(QStringLiteral("democontabilita.dll"), function); }

    QStringList semaphores() const
    {
        return AppDirectory::queryRows(archive, QStringLiteral("SELECT ID,FORM,OCCUPATO FROM SEMAFORIF ORDER BY ID"));
    }
    QStringList anomalies() const
    {
        return AppDirectory::queryRows(archive,
                                       QStringLiteral("SELECT UTENTE,DLL,FORM FROM SEMAFORIFANOMALIE ORDER BY ID"));
    }
    QString taken(int windowId, const QString &form, bool stillTaken = true) const
    {
        return QStringLiteral("%1|%2|%3").arg(windowId).arg(form).arg(stillTaken ? 1 : 0);
    }
    QWidget *onlyWindow(const QString &title) const
    {
        const QList<QWidget *> windows = demoWindows(title);
        return windows.size() == 1 ? windows.first() : nullptr;
    }

    AppDirectory app;
    QString archive;
    RecordingPrompter prompter;
    TTabXForm module{nullptr, 0};
    PluginCaller caller{module};
    db::Transaction transaction{&module.IBDatabaseUser};
    db::Query query{&module.IBDatabaseUser, &transaction};
    int session = 0;
    bool logWindows = true;
    WorkSessions sessions{query, transaction, session, logWindows};
};

} // namespace

TEST_F(DemoCriticalWindows, OrdersAndInvoicesKeepEachOtherOut)
{
    const int orders = openSales(QStringLiteral("ApriOrdiniX"));
    QWidget *window = onlyWindow(QStringLiteral("ApriOrdiniX"));
    ASSERT_NE(window, nullptr);
    // The window recorded its handle for the closing check.
    EXPECT_EQ(
        app.queryUserText(QStringLiteral("SELECT HANDLEFINESTRA FROM MARTILOGFUNZ WHERE IDFINESTRA=%1").arg(orders)),
        QString::number(static_cast<qint64>(window->winId())));
    EXPECT_FALSE(sessions.VerificaFinestreAperte());
    EXPECT_EQ(semaphores(), QStringList{taken(orders, QStringLiteral("ApriOrdiniX"))});

    const int refused = openSales(QStringLiteral("ApriFattureX"));
    EXPECT_TRUE(demoWindows(QStringLiteral("ApriFattureX")).isEmpty());
    EXPECT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(anomalies(), QStringList{QStringLiteral("7|demovendite.dll|ApriFattureX")});
    EXPECT_EQ(semaphores(), QStringList{taken(orders, QStringLiteral("ApriOrdiniX"))}) << refused;

    // Closing the orders releases their semaphore: the invoices open, and
    // now keep out the orders, from the menu and from the picture button.
    closeWindow(window);
    EXPECT_TRUE(sessions.VerificaFinestreAperte());
    const int invoices = openSales(QStringLiteral("ApriFattureX"));
    ASSERT_NE(onlyWindow(QStringLiteral("ApriFattureX")), nullptr);
    EXPECT_EQ(semaphores(), (QStringList{taken(orders, QStringLiteral("ApriOrdiniX"), false),
                                         taken(invoices, QStringLiteral("ApriFattureX"))}));
    openSales(QStringLiteral("ApriOrdiniX"));
    const int button = sessions.AggiornaMartiLogFunz(QStringLiteral("ApriOrdiniApertiX"));
    caller.CaricaFunzioneDLL2X(QStringLiteral("demovendite.dll"), QStringLiteral("ApriOrdiniApertiX"),
                               QStringLiteral("STATO=APERTI"), button);
    EXPECT_TRUE(demoWindows(QStringLiteral("ApriOrdiniX")).isEmpty());
    EXPECT_TRUE(demoWindows(QStringLiteral("ApriOrdiniApertiX")).isEmpty());
    EXPECT_EQ(prompter.messages.size(), 3);

    // A window that is not critical opens beside them and takes nothing.
    open(QStringLiteral("demoanagrafiche.dll"), QStringLiteral("ApriClientiX"));
    open(QStringLiteral("demoanagrafiche.dll"), QStringLiteral("ApriClientiX"));
    EXPECT_EQ(demoWindows(QStringLiteral("ApriClientiX")).size(), 2);
    EXPECT_EQ(semaphores().size(), 2);

    closeWindow(onlyWindow(QStringLiteral("ApriFattureX")));
    caller.CaricaFunzioneDLL2X(QStringLiteral("demovendite.dll"), QStringLiteral("ApriOrdiniApertiX"),
                               QStringLiteral("STATO=APERTI"), button);
    QWidget *filtered = onlyWindow(QStringLiteral("ApriOrdiniApertiX"));
    ASSERT_NE(filtered, nullptr);
    const auto *parameters = filtered->findChild<QPlainTextEdit *>(QStringLiteral("parametri"));
    ASSERT_NE(parameters, nullptr);
    EXPECT_EQ(parameters->toPlainText(), QStringLiteral("STATO=APERTI"));
    EXPECT_EQ(prompter.messages.size(), 3);
}

TEST_F(DemoCriticalWindows, JournalOpensOnceAtATimeAndKeepsOutTheDueDates)
{
    const int journal = openAccounts(QStringLiteral("ApriPrimaNotaX"));
    QWidget *window = onlyWindow(QStringLiteral("ApriPrimaNotaX"));
    ASSERT_NE(window, nullptr);

    // Under special watch: a second opening is refused, by the same user too.
    openAccounts(QStringLiteral("ApriPrimaNotaX"));
    EXPECT_EQ(demoWindows(QStringLiteral("ApriPrimaNotaX")).size(), 1);
    openAccounts(QStringLiteral("ApriScadenzarioX"));
    EXPECT_TRUE(demoWindows(QStringLiteral("ApriScadenzarioX")).isEmpty());
    EXPECT_EQ(anomalies(), (QStringList{QStringLiteral("7|democontabilita.dll|ApriPrimaNotaX"),
                                        QStringLiteral("7|democontabilita.dll|ApriScadenzarioX")}));
    EXPECT_EQ(semaphores(), QStringList{taken(journal, QStringLiteral("ApriPrimaNotaX"))});

    closeWindow(window);
    // The due dates are not under special watch: they open more than once,
    // and keep the journal out while any of them is open.
    const int dueDates = openAccounts(QStringLiteral("ApriScadenzarioX"));
    const int moreDueDates = openAccounts(QStringLiteral("ApriScadenzarioX"));
    EXPECT_EQ(demoWindows(QStringLiteral("ApriScadenzarioX")).size(), 2);
    openAccounts(QStringLiteral("ApriPrimaNotaX"));
    EXPECT_TRUE(demoWindows(QStringLiteral("ApriPrimaNotaX")).isEmpty());
    EXPECT_EQ(prompter.messages.size(), 3);
    EXPECT_EQ(semaphores(), (QStringList{taken(journal, QStringLiteral("ApriPrimaNotaX"), false),
                                         taken(dueDates, QStringLiteral("ApriScadenzarioX")),
                                         taken(moreDueDates, QStringLiteral("ApriScadenzarioX"))}));

    closeAllDemoWindows();
    openAccounts(QStringLiteral("ApriPrimaNotaX"));
    EXPECT_NE(onlyWindow(QStringLiteral("ApriPrimaNotaX")), nullptr);
    EXPECT_EQ(prompter.messages.size(), 3);
}
