// The dispatch of a click without any window: the database module, the
// sessions and a host that records what the dispatcher asks of it.

#include "AppDirectory.h"
#include "SuiteRows.h"
#include "TestSupport.h"

#include "data/TabX.h"
#include "shell/FunctionDispatcher.h"

#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;
using rows::Entry;

namespace {

class RecordingHost : public DispatchHost {
public:
    void closeProgram() override { asked << QStringLiteral("close"); }
    void changeUser() override { asked << QStringLiteral("user"); }
    void changeCompany() override { asked << QStringLiteral("company"); }
    bool recordCurrentCompany(bool userFound, const QString &storedCompany) override
    {
        asked << QStringLiteral("record %1 %2").arg(userFound).arg(storedCompany);
        return true;
    }
    void callPlugin(const PluginCall &call) override
    {
        asked << QStringLiteral("call %1 %2 %3 %4 %5")
                     .arg(static_cast<int>(call.form))
                     .arg(call.dll, call.funzione, call.parametri)
                     .arg(call.windowId);
    }
    QStringList asked;
};

class Dispatcher : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto withLibrary = [](const char *table, const char *key) {
            return QStringLiteral("UPDATE %1 SET DLL='lib.dll',PARAMETRIBLOB='P=1' WHERE %2").arg(QLatin1String(table), QLatin1String(key));
        };
        app.execUser({rows::user(1, QStringLiteral("MARIO"), QStringLiteral("DITTA"), QStringLiteral("'ROSSI SPA'")),
                      QStringLiteral("INSERT INTO PROFILI (CODICE,LIVELLOPREDEFINITO) VALUES (1,'5')"),
                      rows::menuEntry(Entry{.program = 1, .menu = 1, .caption = QStringLiteral("Clienti"),
                                            .function = QStringLiteral("'ApriClientiX'")}),
                      rows::menuEntry(Entry{.program = 1, .menu = 2, .caption = QStringLiteral("Stampa"),
                                            .function = QStringLiteral("'StampaY'")}),
                      rows::menuEntry(Entry{.program = 1, .menu = 3, .caption = QStringLiteral("Esci"),
                                            .function = QStringLiteral("'Chiudi'")}),
                      rows::menuEntry(Entry{.program = 1, .menu = 4, .caption = QStringLiteral("Senza libreria"),
                                            .function = QStringLiteral("'Apri'")}),
                      rows::pictureButton(7, 1, QStringLiteral("NULL")),
                      QStringLiteral("UPDATE PULSANTONI SET FUNZIONE='Elenco',LIVELLO2VERSIONE='1' WHERE ID=7"),
                      withLibrary("DETTMENU", "MENU IN (1,2)"), withLibrary("PULSANTONI", "ID=7")});
        module.Avvia();
        transaction.start();
        sessions.ApriSessione(1);
    }

    QStringList calls() const
    {
        return app.queryUserRows(QStringLiteral("SELECT FUNZIONECHIAMATA,IDFINESTRA FROM MARTILOGFUNZ ORDER BY IDFINESTRA"));
    }

    AppDirectory app;
    RecordingPrompter prompter;
    TTabXForm module{nullptr, 0};
    db::Transaction transaction{&module.IBDatabaseUser};
    db::Query query{&module.IBDatabaseUser, &transaction};
    int sessionCode = 0;
    bool logWindows = true;
    WorkSessions sessions{query, transaction, sessionCode, logWindows};
    RecordingHost host;
    FunctionDispatcher dispatcher{query, sessions, host};
    Caller mario{.user = 1, .userName = QStringLiteral("MARIO"), .profile = 1, .checkProfile = true};
};

TEST_F(Dispatcher, EachClickIsOneReadAndOneWriteAndReachesTheHostInItsCallingForm)
{
    RecordingObserver observer;
    dispatcher.runMenuEntry(1, 1, false, mario);
    EXPECT_EQ(observer.statements.size(), 2) << observer.statements.join(QLatin1Char('\n')).toStdString();
    dispatcher.runMenuEntry(1, 1, true, mario);
    dispatcher.runMenuEntry(1, 2, false, mario);
    dispatcher.runPictureButton(QStringLiteral("7"), mario);
    EXPECT_EQ(host.asked, (QStringList{"record 1 ROSSI SPA", "call 2 lib.dll ApriClientiX  1",
                                       "record 1 ROSSI SPA", "call 3 lib.dll ApriClientiX P=1 2",
                                       "record 1 ROSSI SPA", "call 4 lib.dll StampaY P=1 3",
                                       "record 1 ROSSI SPA", "call 1 lib.dll Elenco P=1 0"}));
    EXPECT_EQ(calls(), (QStringList{"ApriClientiX|1", "ApriClientiX|2", "StampaY|3", "Elenco|4"}));

    host.asked.clear();
    dispatcher.runMenuEntry(1, 3, false, mario);
    dispatcher.runMenuEntry(1, 4, false, mario);
    EXPECT_EQ(host.asked, QStringList{"close"}) << "a built-in command is not logged and calls no library";
    EXPECT_EQ(prompter.texts(), QStringList{"Impossibile caricare la finestra relativa alla voce di menu selezionata. "
                                            "Controllare le impostazioni di menu del programma 1: manca la DLL di "
                                            "riferimento per caricare la finestra nel menu 4"});
    EXPECT_EQ(calls().size(), 4);
}

TEST_F(Dispatcher, NothingRunsForAClosedSessionOrAProfileThatDoesNotExist)
{
    Caller unknownProfile = mario;
    unknownProfile.profile = 9;
    dispatcher.runMenuEntry(1, 1, false, unknownProfile);
    unknownProfile.checkProfile = false;
    dispatcher.runMenuEntry(1, 1, false, unknownProfile);
    EXPECT_EQ(host.asked.size(), 2) << "a user who keeps the standard minimum has no profile checked";

    // Another workstation closes the session from its sessions screen.
    app.execUser({QStringLiteral("UPDATE MARTILOG SET DATACHIUSURA='12/09/2026' WHERE CODICESESSIONE=%1").arg(sessionCode)});
    dispatcher.runMenuEntry(1, 1, false, mario);
    dispatcher.runPictureButton(QStringLiteral("7"), mario);
    EXPECT_EQ(host.asked.size(), 2);
    EXPECT_EQ(calls().size(), 1);
    EXPECT_EQ(prompter.texts(),
              (QStringList{"Errore di configurazione dell'utente MARIO: il profilo sicurezza assegnato non esiste",
                           "Attenzione: la sessione corrente risulta chiusa. Si prega di uscire e rientrare",
                           "Attenzione: la sessione corrente risulta chiusa. Si prega di uscire e rientrare"}));
}

} // namespace
