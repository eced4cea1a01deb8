#include "LoggedInWindow.h"

#include "data/TabX.h"
#include "menu/NavigationBar.h"
#include "platform/ModalRunner.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;
using rows::Entry;

namespace {

QString function(const char *name)
{
    return QLatin1Char('\'') + QString::fromLatin1(name) + QLatin1Char('\'');
}

QString withLibrary(int menu, const QString &dll = QStringLiteral("'lib.dll'"))
{
    return QStringLiteral("UPDATE DETTMENU SET DLL=%1, PARAMETRIBLOB='P=1' WHERE PROGRAMMA=1 AND MENU=%2").arg(dll).arg(menu);
}

class Dispatch : public LoggedInWindow<RecordingMainForm> {
protected:
    void SetUp() override
    {
        LoggedInWindow::SetUp();
        app.execUser({menuEntry(Entry{.program = 1, .menu = 1, .caption = QStringLiteral("Clienti"),
                                      .quick = QStringLiteral("'1'"), .function = function("ApriClientiX")}),
                      menuEntry(Entry{.program = 1, .menu = 2, .caption = QStringLiteral("Minuscola"),
                                      .quick = QStringLiteral("'1'"), .level2 = QStringLiteral("'1'"),
                                      .function = function("ApriClientix")}),
                      menuEntry(Entry{.program = 1, .menu = 3, .caption = QStringLiteral("Stampa"), .function = function("StampaY")}),
                      menuEntry(Entry{.program = 1, .menu = 10, .caption = QStringLiteral("Gruppo")}),
                      menuEntry(Entry{.program = 1, .menu = 11, .parent = QStringLiteral("10"), .level = 1,
                                      .caption = QStringLiteral("Secondo livello"), .level2 = QStringLiteral("'1'"),
                                      .function = function("ApriClientiX")}),
                      withLibrary(1), withLibrary(2), withLibrary(3), withLibrary(11)});
    }
};

TEST_F(Dispatch, CallingFormFollowsTheLastCharacterAndTheLevel)
{
    RecordingMainForm &main = login();
    ASSERT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();
    main.vociRapide().first()->click();
    main.EseguiFunzioneVoce(1, 1, 2);
    main.EseguiFunzioneVoce(1, 2, 1);
    main.EseguiFunzioneVoce(1, 2, 2);
    main.EseguiFunzioneVoce(1, 3, 1);
    main.EseguiFunzioneVoce(1, 3, 2);
    EXPECT_EQ(main.calls, (QStringList{QStringLiteral("DLLX|lib.dll|ApriClientiX||1"),
                                       QStringLiteral("DLL2X|lib.dll|ApriClientiX|P=1|2"),
                                       QStringLiteral("DLL|lib.dll|ApriClientix||0"),
                                       QStringLiteral("DLL2|lib.dll|ApriClientix|P=1|0"),
                                       QStringLiteral("DLL3Y|lib.dll|StampaY|P=1|5"),
                                       QStringLiteral("DLL3Y|lib.dll|StampaY|P=1|6")}));
    EXPECT_EQ(calls().size(), 6) << "every call is logged, with a window id each";
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(Dispatch, SecondLevelEntryCallsWithTheTextAndRebuildsTheMenu)
{
    RecordingMainForm &main = login();
    QMenu *group = main.MenuPrincipale->actions().last()->menu();
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->title(), QStringLiteral("Gruppo"));
    QAction *entry = group->actions().first();
    ASSERT_EQ(entry->property("clickHandler"), QStringLiteral("EventoVoce2OnClick"));
    entry->trigger();
    EXPECT_EQ(main.calls, QStringList{QStringLiteral("DLL2X|lib.dll|ApriClientiX|P=1|1")});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main.vociMenu().size(), 5) << "the tree was rebuilt";

    app.execUser({QStringLiteral("DELETE FROM PROFILI")});
    main.transazioneMain().commit(); // the main window's snapshot is renewed
    main.vociMenu().at(4)->trigger();
    EXPECT_EQ(main.calls.size(), 1) << "refused by the profile check";
    EXPECT_EQ(main.vociMenu().size(), 5) << "and rebuilt all the same";
}

TEST_F(Dispatch, BuiltInCommandsRunInAnyCaseWithoutLogging)
{
    app.execUser({menuEntry(Entry{.program = 1, .menu = 20, .caption = QStringLiteral("Ditta"), .function = function("CambioDitta")}),
                  menuEntry(Entry{.program = 1, .menu = 21, .caption = QStringLiteral("Utente"), .function = function("cambioutente")}),
                  menuEntry(Entry{.program = 1, .menu = 22, .caption = QStringLiteral("Esci"), .function = function("chiudi")})});
    RecordingMainForm &main = login();
    main.show();
    int dialogs = 0;
    ModalRunner::install([&](QDialog &) { ++dialogs; return int(QDialog::Rejected); });
    main.EseguiFunzioneVoce(1, 20, 1);
    ModalRunner::install({});
    EXPECT_EQ(dialogs, 1);
    main.EseguiFunzioneVoce(1, 21, 1);
    EXPECT_FALSE(main.utenteCollegato());
    EXPECT_FALSE(main.NotebookMain->isHidden());
    main.EseguiFunzioneVoce(1, 22, 1);
    EXPECT_FALSE(main.isVisible()) << "CHIUDI closes the main window";
    EXPECT_TRUE(calls().isEmpty());
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(Dispatch, MissingProfileRefusesEveryMenuFunctionUnlessTheUserKeepsTheStandardWindow)
{
    app.execUser({menuEntry(Entry{.program = 1, .menu = 22, .caption = QStringLiteral("Esci"), .function = function("CHIUDI")}),
                  QStringLiteral("DELETE FROM PROFILI")});
    RecordingMainForm &main = login();
    main.show();
    main.EseguiFunzioneVoce(1, 1, 1);
    main.EseguiFunzioneVoce(1, 22, 1);
    const QString refused = QStringLiteral("Errore di configurazione dell'utente MARIO: il profilo sicurezza assegnato non esiste");
    EXPECT_EQ(prompter.texts(), (QStringList{refused, refused}));
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(main.calls.isEmpty());

    prompter.messages.clear();
    main.setMantieniStdMin(true);
    main.EseguiFunzioneVoce(1, 1, 1);
    EXPECT_EQ(main.calls.size(), 1);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(Dispatch, IncompleteRowsAreReportedWithTheirNumbers)
{
    app.execUser({menuEntry(Entry{.program = 1, .menu = 30, .caption = QStringLiteral("Senza DLL"), .function = function("ApriX")}),
                  menuEntry(Entry{.program = 1, .menu = 31, .caption = QStringLiteral("Senza funzione")}), withLibrary(31)});
    RecordingMainForm &main = login();
    main.EseguiFunzioneVoce(5, 12, 1);
    main.EseguiFunzioneVoce(1, 30, 1);
    main.EseguiFunzioneVoce(1, 31, 1);
    const QString opening = QStringLiteral("Impossibile caricare la finestra relativa alla voce di menu selezionata. "
                                           "Controllare le impostazioni di menu del programma ");
    EXPECT_EQ(prompter.texts(),
              (QStringList{opening + QStringLiteral("5: manca il menu 12"),
                           opening + QStringLiteral("1: manca la DLL di riferimento per caricare la finestra nel menu 30"),
                           opening + QStringLiteral("1: manca la funzione di riferimento per caricare la finestra nel menu 31")}));
    EXPECT_TRUE(main.calls.isEmpty());
    EXPECT_TRUE(calls().isEmpty());
}

TEST_F(Dispatch, LoginInAWindowOnScreenBuildsTheBarAndTheMenuOfItsFirstGroup)
{
    // The bar is built while the window is visible, before the event loop
    // runs again: its first group must count as active at once.
    RecordingMainForm &main = login(true);
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(main.MenuProgrammi->activeGroup(), 0);
    main.vociRapide().first()->click();
    EXPECT_EQ(main.calls.size(), 1);
}

TEST_F(Dispatch, ClosedSessionStopsTheCallBeforeTheLog)
{
    RecordingMainForm &main = login();
    app.execUser({QStringLiteral("UPDATE MARTILOG SET DATACHIUSURA='01/01/2024'")});
    main.EseguiFunzioneVoce(1, 1, 1);
    EXPECT_EQ(prompter.texts(), QStringList{QStringLiteral(
                                    "Attenzione: la sessione corrente risulta chiusa. Si prega di uscire e rientrare")});
    EXPECT_TRUE(main.calls.isEmpty());
    EXPECT_TRUE(calls().isEmpty());
}

TEST_F(Dispatch, CurrentCompanyIsWrittenBackBeforeTheCall)
{
    RecordingMainForm &main = login();
    app.execUser({QStringLiteral("UPDATE UTENTI SET DITTA='rossi spa' WHERE CODICE=1")});
    RecordingObserver observer;
    main.EseguiFunzioneVoce(1, 1, 1);
    EXPECT_EQ(app.queryUserText(QStringLiteral("SELECT DITTA FROM UTENTI WHERE CODICE=1")), QStringLiteral("ROSSI SPA"))
        << "a value differing only in case is overwritten";
    observer.statements.clear();
    EXPECT_TRUE(main.AggiornaDittaUtente(1, QStringLiteral("ROSSI SPA")));
    for (const QString &statement : std::as_const(observer.statements))
        EXPECT_FALSE(statement.startsWith(QStringLiteral("UPDATE"))) << "an equal value is not written again";
    EXPECT_TRUE(main.AggiornaDittaUtente(99, QStringLiteral("X"))) << "a missing row is no failure";
    EXPECT_TRUE(main.AggiornaDittaUtente(1, QStringLiteral("L'OLIVO")));
    EXPECT_EQ(app.queryUserText(QStringLiteral("SELECT DITTA FROM UTENTI WHERE CODICE=1")), QStringLiteral("L'OLIVO"));
}

TEST_F(Dispatch, PictureButtonsNeedNoProfileAndTakeTheirLevelFromTheRow)
{
    app.execUser({QStringLiteral("INSERT INTO PULSANTONI (ID,PROGETTO,VISIBILE,POS_X,POS_Y,LARGHEZZA,ALTEZZA,NOME,DLL,"
                                 "FUNZIONE,LIVELLO2VERSIONE,PARAMETRIBLOB) VALUES "
                                 "(4,1,'1',0,0,50,50,'Uno','b.dll','Apri','1','T=2')"),
                  QStringLiteral("INSERT INTO PULSANTONI (ID,PROGETTO,VISIBILE,POS_X,POS_Y,LARGHEZZA,ALTEZZA,NOME,DLL,"
                                 "FUNZIONE) VALUES (5,1,'1',60,0,50,50,'Due',NULL,'ApriX')"),
                  QStringLiteral("DELETE FROM PROFILI")});
    RecordingMainForm &main = login();
    main.pulsantoni().at(0)->click();
    main.pulsantoni().at(1)->click();
    EXPECT_EQ(main.calls, QStringList{QStringLiteral("DLL2|b.dll|Apri|T=2|0")});
    EXPECT_EQ(prompter.texts(),
              QStringList{QStringLiteral("Impossibile caricare la finestra relativa al pulsantone premuto. Controllare le "
                                         "impostazioni del pulsantone 5: manca la DLL di riferimento per caricare la finestra")});
    prompter.messages.clear();
    main.pulsantoni().at(0)->setProperty("tag", 99);
    main.pulsantoni().at(0)->click();
    EXPECT_EQ(prompter.messages, (QList<QPair<MessageKind, QString>>{
                                     {MessageKind::Warning, QStringLiteral("Errore nella configurazione del pulsantone")}}));
}

TEST_F(Dispatch, StartFunctionAndAgendaRunAfterTheLogin)
{
    app.execUser({rows::parameter(1, QStringLiteral("ROSSI SPA"), QStringLiteral("AperturaForm"), QStringLiteral("1,3"), 3),
                  rows::parameter(1, QStringLiteral("ROSSI SPA"), QStringLiteral("AperturaAgenda"), QStringLiteral("SI"), 4)});
    RecordingMainForm &main = login();
    EXPECT_EQ(main.calls, (QStringList{QStringLiteral("DLLX|Rubrimax.dll|ShowContattAgendaFormX||1"),
                                       QStringLiteral("DLL3Y|lib.dll|StampaY|P=1|2")}));
    EXPECT_EQ(calls(), (QStringList{QStringLiteral("ShowContattAgendaFormD|1"), QStringLiteral("StampaY|2")}));
}

TEST_F(Dispatch, AgendaOnlyForSiAndAStartValueThatIsNotTwoNumbersIsReported)
{
    app.execUser({rows::parameter(1, QStringLiteral("ROSSI SPA"), QStringLiteral("AperturaForm"), QStringLiteral("12"), 3),
                  rows::parameter(1, QStringLiteral("ROSSI SPA"), QStringLiteral("AperturaAgenda"), QStringLiteral("si"), 4)});
    RecordingMainForm &main = login();
    EXPECT_TRUE(main.calls.isEmpty());
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.first().second.contains(QStringLiteral("\"12\"")));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Ditta: ROSSI SPA - Utente: MARIO")) << "the login stays successful";
}

} // namespace
