#include "LoggedInWindow.h"

#include "data/TabX.h"
#include "menu/NavigationBar.h"
#include "platform/NativeWindows.h"
#include "shell/CompanyChange.h"
#include "shell/KeyCommands.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

qint64 openWindowHandle = 0;
bool windowStillOpen(qint64 handle)
{
    return handle != 0 && handle == openWindowHandle;
}

class KeysAndClosing : public LoggedInWindow<> {
protected:
    void SetUp() override
    {
        LoggedInWindow::SetUp();
        app.execUser({rows::parameter(1, QStringLiteral("BIANCHI SRL"), QStringLiteral("Archivio"), rossi, 3)});
        NativeWindows::install(windowStillOpen);
    }
    void TearDown() override
    {
        NativeWindows::install(nullptr);
        openWindowHandle = 0;
        LoggedInWindow::TearDown();
    }
    void release(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
        QTest::keyRelease(target, static_cast<Qt::Key>(key), modifiers);
    }
    QString storedCompany() const { return app.queryUserText(QStringLiteral("SELECT DITTA FROM UTENTI WHERE CODICE=1")); }
};

TEST(KeyCommands, FunctionKeysActOnlyForALoggedInUserWithoutTheStandardWindow)
{
    EXPECT_EQ(KeyCommands::forKey(Qt::Key_F8, true, false), KeyCommand::ChangeUser);
    EXPECT_EQ(KeyCommands::forKey(Qt::Key_F9, true, false), KeyCommand::ChangeCompany);
    EXPECT_EQ(KeyCommands::forKey(Qt::Key_F12, true, false), KeyCommand::NextCompany);
    EXPECT_EQ(KeyCommands::forKey(Qt::Key_F10, true, false), KeyCommand::None);
    for (int key : {Qt::Key_F8, Qt::Key_F9, Qt::Key_F12}) {
        EXPECT_EQ(KeyCommands::forKey(key, false, false), KeyCommand::None) << "on the login page";
        EXPECT_EQ(KeyCommands::forKey(key, true, true), KeyCommand::None) << "for a user who keeps the standard window";
    }
}

TEST(CompanyChangeChoice, TheNextCompanyIgnoresLetterCaseAndWrapsAround)
{
    const QStringList companies{QStringLiteral("BIANCHI SRL"), QStringLiteral("ROSSI SPA"), QStringLiteral("VERDI SRL")};
    EXPECT_EQ(CompanyChange::nextCompany(companies, QStringLiteral("rossi spa")), QStringLiteral("VERDI SRL"));
    EXPECT_EQ(CompanyChange::nextCompany(companies, QStringLiteral("VERDI SRL")), QStringLiteral("BIANCHI SRL"));
    EXPECT_EQ(CompanyChange::nextCompany(companies, QStringLiteral("NERI SNC")), QStringLiteral("BIANCHI SRL"))
        << "a company not listed steps to the first";
    EXPECT_EQ(CompanyChange::nextCompany({}, QStringLiteral("ROSSI SPA")), QString());
}

TEST_F(KeysAndClosing, F12StepsToTheNextCompanyAndWrapsAround)
{
    TBaseMainForm &main = login();
    main.show();
    const QString archive = main.PTabX->TabX->IBDatabase1.databaseName();
    release(Qt::Key_F12);
    EXPECT_EQ(storedCompany(), QStringLiteral("VERDI SRL"));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Ditta: VERDI SRL - Utente: MARIO"));
    release(Qt::Key_F12);
    EXPECT_EQ(storedCompany(), QStringLiteral("BIANCHI SRL")) << "the last company wraps around to the first";
    release(Qt::Key_F12);
    EXPECT_EQ(storedCompany(), QStringLiteral("ROSSI SPA"));
    EXPECT_EQ(main.PTabX->TabX->IBDatabase1.databaseName(), archive) << "F12 does not reconnect the archive";

    app.execUser({QStringLiteral("UPDATE UTENTI SET DITTA='verdi srl' WHERE CODICE=1")});
    main.PTabX->TabX->SetUserPerNum(1);
    release(Qt::Key_F12);
    EXPECT_EQ(storedCompany(), QStringLiteral("BIANCHI SRL")) << "the current company is found ignoring case";
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(KeysAndClosing, F12WithoutCompaniesDoesNothingAndAFailedWriteChangesNothing)
{
    TBaseMainForm &main = login();
    main.show();
    app.execUser({QStringLiteral("CREATE EXCEPTION E_DITTA 'ditta bloccata'"),
                  QStringLiteral("CREATE TRIGGER T_DITTA FOR UTENTI BEFORE UPDATE AS BEGIN EXCEPTION E_DITTA; END")});
    release(Qt::Key_F12);
    EXPECT_EQ(prompter.texts(), QStringList{QStringLiteral("Errore interno: impossibile effettuare il cambio ditta. Riprovare")});
    EXPECT_TRUE(QFile::exists(app.path() + QStringLiteral("Taskgate.CambioDitta.sql")));
    EXPECT_EQ(main.PTabX->TabX->dittaCorrente(), QStringLiteral("ROSSI SPA"));

    prompter.messages.clear();
    app.execUser({QStringLiteral("DELETE FROM TABQUADREL")});
    main.PTabX->TabX->TransazioneUser.commit();
    release(Qt::Key_F12);
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Ditta: ROSSI SPA - Utente: MARIO"));
}

TEST_F(KeysAndClosing, F12ReportsATransactionThatCannotStartAfreshAsAFailedWrite)
{
    TBaseMainForm &main = login();
    main.show();
    main.transazioneMain().params() << QStringLiteral("isc_tpb_sconosciuto");
    release(Qt::Key_F12);
    EXPECT_EQ(prompter.texts(), QStringList{QStringLiteral("Errore interno: impossibile effettuare il cambio ditta. Riprovare")});
    EXPECT_TRUE(QFile::exists(app.path() + QStringLiteral("Taskgate.CambioDitta.sql")));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Ditta: ROSSI SPA - Utente: MARIO"));
}

TEST_F(KeysAndClosing, AfterF8TheLoginPageCoversThePictureButtonsAndNothingOfTheCatalogueRuns)
{
    app.execUser({rows::pictureButton(1, 1, QStringLiteral("NULL")),
                  QStringLiteral("UPDATE PULSANTONI SET DLL='taskgatetest.dll',FUNZIONE='RecPlain'"),
                  rows::menuEntry(rows::Entry{.program = 1, .menu = 1, .caption = QStringLiteral("Clienti"),
                                              .quick = QStringLiteral("'1'"), .function = QStringLiteral("'RecPlain'")}),
                  QStringLiteral("UPDATE DETTMENU SET DLL='taskgatetest.dll'")});
    TBaseMainForm &main = login(true);
    ASSERT_EQ(main.pulsantoni().size(), 1);
    QPushButton *button = main.pulsantoni().first();
    release(Qt::Key_F8);
    ASSERT_FALSE(main.utenteCollegato());
    EXPECT_NE(main.Panel1->childAt(button->geometry().center()), button) << "the login page covers the buttons";
    QTest::mouseClick(button, Qt::LeftButton);
    main.VoceRapidaClick(1, 1);
    EXPECT_EQ(app.queryUserText(QStringLiteral("SELECT COUNT(*) FROM MARTILOGFUNZ")), QStringLiteral("0"))
        << "nobody is logged in: no function runs";
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(KeysAndClosing, F8WithShiftReturnsToTheLoginPageAndKeysSleepThere)
{
    TBaseMainForm &main = login();
    main.show();
    release(Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_FALSE(main.utenteCollegato());
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Autenticazione"));
    EXPECT_FALSE(main.NotebookMain->isHidden());
    EXPECT_TRUE(main.MenuProgrammi->isHidden());
    EXPECT_EQ(main.MenuProgrammi->groupCount(), 0);
    EXPECT_TRUE(main.EditPassword1->text().isEmpty());
    release(Qt::Key_F12);
    EXPECT_EQ(storedCompany(), QStringLiteral("ROSSI SPA")) << "no key acts on the login page";
    EXPECT_EQ(app.queryUserRows(QStringLiteral("SELECT DATACHIUSURA FROM MARTILOG")), QStringList{QString()})
        << "the session stays open";
}

TEST_F(KeysAndClosing, KeysSleepForAUserWhoKeepsTheStandardWindow)
{
    TBaseMainForm &main = login();
    main.show();
    main.setMantieniStdMin(true);
    release(Qt::Key_F8);
    EXPECT_TRUE(main.utenteCollegato());
}

TEST_F(KeysAndClosing, ClosingAndTheUserChangeAreRefusedWhileAPluginWindowIsOpen)
{
    TBaseMainForm &main = login();
    main.show();
    main.AggiornaMartiLogFunz(QStringLiteral("ApriClientiX"));
    app.execUser({QStringLiteral("UPDATE MARTILOGFUNZ SET HANDLEFINESTRA=777")});
    openWindowHandle = 777;
    EXPECT_FALSE(main.close());
    EXPECT_EQ(prompter.messages, (QList<QPair<MessageKind, QString>>{
                                     {MessageKind::Warning, QStringLiteral("Chiudere prima tutte le finestre aperte")}}));
    EXPECT_TRUE(main.PTabX->TabX->IBDatabaseUser.connected());
    prompter.messages.clear();
    release(Qt::Key_F8);
    EXPECT_TRUE(main.utenteCollegato()) << "the next user would find this user's window on screen";
    EXPECT_EQ(prompter.texts(), QStringList{QStringLiteral("Chiudere prima tutte le finestre aperte")});

    openWindowHandle = 0;
    EXPECT_TRUE(main.close());
    EXPECT_FALSE(main.PTabX->TabX->IBDatabaseUser.connected()) << "the module's connections are closed";
    EXPECT_EQ(app.queryUserRows(QStringLiteral("SELECT COUNT(*) FROM MARTILOG WHERE DATACHIUSURA IS NOT NULL")),
              QStringList{QStringLiteral("1")});
    EXPECT_EQ(app.queryUserRows(QStringLiteral("SELECT CODICEUTENTE,CODICESITUAZIONE,CODICEPROGETTO FROM \"STOPOS1\"")),
              QStringList{QStringLiteral("1|1|1")});
}

TEST_F(KeysAndClosing, WithoutWindowColumnsClosingIsNeverRefused)
{
    TBaseMainForm &main = login();
    main.show();
    main.setLogFinestre(false);
    openWindowHandle = 777;
    app.execUser({QStringLiteral("UPDATE MARTILOGFUNZ SET HANDLEFINESTRA=777")});
    EXPECT_TRUE(main.close());
}

TEST_F(KeysAndClosing, FailedWindowCheckLetsTheWindowsOnScreenDecideAndFailedSavesDoNotStopTheClosing)
{
    TBaseMainForm &main = login();
    main.show();
    app.execUser({QStringLiteral("DROP TABLE MARTILOGFUNZ")});
    QWidget pluginWindow;
    pluginWindow.show();
    EXPECT_FALSE(main.close()) << "a window of this process may hold unsaved work";
    ASSERT_EQ(prompter.messages.size(), 2);
    EXPECT_EQ(prompter.messages.first().first, MessageKind::Error);
    EXPECT_TRUE(prompter.messages.first().second.contains(QStringLiteral("MARTILOGFUNZ")));
    EXPECT_EQ(prompter.messages.last().second, QStringLiteral("Chiudere prima tutte le finestre aperte"));
    EXPECT_EQ(app.queryUserRows(QStringLiteral("SELECT COUNT(*) FROM MARTILOG WHERE DATACHIUSURA IS NOT NULL")),
              QStringList{QStringLiteral("0")});

    prompter.messages.clear();
    pluginWindow.hide();
    app.execUser({QStringLiteral("DROP TABLE \"STOPOS1\"")});
    EXPECT_TRUE(main.close()) << "the user is never locked in";
    ASSERT_EQ(prompter.messages.size(), 2);
    EXPECT_TRUE(prompter.messages.first().second.contains(QStringLiteral("MARTILOGFUNZ")));
    EXPECT_TRUE(prompter.messages.last().second.contains(QStringLiteral("STOPOS1")));
    EXPECT_EQ(app.queryUserRows(QStringLiteral("SELECT COUNT(*) FROM MARTILOG WHERE DATACHIUSURA IS NOT NULL")),
              QStringList{QStringLiteral("1")});
}

TEST_F(KeysAndClosing, ClosingOnTheLoginPageLeavesTheEarlierSessionOpen)
{
    TBaseMainForm &main = login();
    main.show();
    main.CambioUtente();
    EXPECT_TRUE(main.close());
    EXPECT_EQ(app.queryUserRows(QStringLiteral("SELECT COUNT(*) FROM MARTILOG WHERE DATACHIUSURA IS NULL")),
              QStringList{QStringLiteral("1")});
    EXPECT_TRUE(app.queryUserRows(QStringLiteral("SELECT * FROM \"STOPOS1\"")).isEmpty());
}

} // namespace
