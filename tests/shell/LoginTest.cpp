#include "AppDirectory.h"
#include "SuiteRows.h"
#include "TestSupport.h"

#include "data/TabX.h"
#include "menu/NavigationBar.h"
#include "platform/ScreenSize.h"
#include "shell/BaseMain.h"
#include "shell/Iniz.h"
#include "shell/SpinButton.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;
using rows::Entry;

namespace {

const QString Refused = QStringLiteral("Accesso negato: scegliere un'utente ed inserire l'eventuale password. "
                                       "Fare attenzione al maiuscolo / minuscolo");
const QString CatalogueFailed = QStringLiteral("Si è verificato un errore durante la configurazione del programma "
                                               "sulla base dei criteri di personalizzazione dell'utente selezionato");

class Login : public ::testing::Test {
protected:
    Login() { ScreenSize::override(QSize(800, 600)); }
    ~Login() override { ScreenSize::override(QSize()); }

    void SetUp() override
    {
        const QString columns = QStringLiteral("PWDUTENTE,DITTA,PROFILOSICUREZZA,PROGETTO,MANTIENISTDMIN,ACCESSOQUADREL");
        app.execUser({rows::user(1, QStringLiteral("MARIO"), columns, QStringLiteral("'Segreta','ROSSI SPA',3,1,NULL,'1'")),
                      rows::user(2, QStringLiteral("ANNA"), columns, QStringLiteral("NULL,'VERDI SRL',NULL,1,'1',NULL")),
                      rows::user(3, QStringLiteral("LUCA"), columns, QStringLiteral("NULL,'ROSSI SPA',NULL,1,NULL,NULL")),
                      rows::user(4, QStringLiteral("SENZAPROGETTO"), columns, QStringLiteral("NULL,'',5,NULL,NULL,NULL")),
                      rows::program(1, QStringLiteral("Vendite")), rows::projectProgram(1, 1),
                      rows::program(7, QStringLiteral("Magazzino")), rows::projectProgram(7, 7),
                      menuEntry(Entry{.program = 1, .menu = 1, .caption = QStringLiteral("Clienti"),
                                      .quick = QStringLiteral("'1'")}),
                      menuEntry(Entry{.program = 7, .menu = 1, .caption = QStringLiteral("Articoli")})});
        // A user without an "Archivio" parameter gets the default archive of
        // the current directory: one is ready there.
        app.createArchive(QStringLiteral("archivio.fdb"));
        previousDirectory = QDir::currentPath();
        QDir::setCurrent(app.path());
        form = std::make_unique<TBaseMainForm>();
    }
    void TearDown() override
    {
        form.reset();
        QDir::setCurrent(previousDirectory);
    }
    void login(const QString &name, const QString &password)
    {
        form->ComboUtenti1->setCurrentIndex(form->ComboUtenti1->findText(name));
        form->EditPassword1->setText(password);
        form->ButtonOk->click();
    }
    QStringList sessions() const
    {
        return app.queryUserRows(QStringLiteral("SELECT CODICEUTENTE FROM MARTILOG ORDER BY CODICESESSIONE"));
    }

    AppDirectory app;
    RecordingPrompter prompter;
    QString previousDirectory;
    std::unique_ptr<TBaseMainForm> form;
};

TEST_F(Login, SuccessfulLoginShowsTheCatalogueAndTakesTheMenuBarAway)
{
    login(QStringLiteral("MARIO"), QStringLiteral("Segreta"));
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Ditta: ROSSI SPA - Utente: MARIO"));
    EXPECT_TRUE(form->utenteCollegato());
    EXPECT_EQ(form->progetto(), 1);
    EXPECT_EQ(form->profiloSicurezza(), 3);
    EXPECT_TRUE(form->NotebookMain->isHidden());
    EXPECT_FALSE(form->MenuProgrammi->isHidden());
    EXPECT_EQ(form->MenuProgrammi->groupCount(), 1);
    EXPECT_EQ(form->menuProgram(), 1);
    EXPECT_TRUE(form->MenuPrincipale->isHidden());
    EXPECT_TRUE(form->Sessioni1->isEnabled());
    EXPECT_TRUE(form->Gestionesemafori1->isEnabled());
    EXPECT_TRUE(form->Accessoaquadrel1->isEnabled());
    EXPECT_TRUE(form->LabelCambioUtente->isEnabled());
    EXPECT_FALSE(form->mantieniStdMin());
    EXPECT_EQ(sessions(), QStringList{QStringLiteral("1")});
    EXPECT_EQ(form->codiceSessione(), 1);
    ASSERT_EQ(form->vociRapide().size(), 1);
    EXPECT_EQ(form->focusWidget(), static_cast<QWidget *>(form->vociRapide().first())) << "the keyboard starts on the first quick entry";
}

TEST_F(Login, RefusedLoginsClearThePasswordsAndChangeNothingElse)
{
    form->EditPassword2->setText(QStringLiteral("x"));
    login(QStringLiteral("MARIO"), QStringLiteral("segreta"));
    form->ComboUtenti1->setCurrentIndex(-1);
    form->ButtonOk->click();
    EXPECT_EQ(prompter.texts(), (QStringList{Refused, Refused}));
    EXPECT_EQ(prompter.messages.first().first, MessageKind::Error);
    EXPECT_TRUE(form->EditPassword1->text().isEmpty());
    EXPECT_TRUE(form->EditPassword2->text().isEmpty());
    EXPECT_FALSE(form->utenteCollegato());
    EXPECT_FALSE(form->NotebookMain->isHidden());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Autenticazione"));
    EXPECT_TRUE(sessions().isEmpty());
    EXPECT_FALSE(form->Sessioni1->isEnabled());
}

TEST_F(Login, MissingConfigurationLeavesTheSessionOpenAndTheMenuBar)
{
    login(QStringLiteral("LUCA"), QString());
    EXPECT_EQ(prompter.messages,
              (QList<QPair<MessageKind, QString>>{
                  {MessageKind::Error, QStringLiteral("E' stato trovato un errore nella configurazione dell'utente "
                                                      "LUCA: manca il profilo sicurezza")}}));
    EXPECT_TRUE(form->utenteCollegato());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Autenticazione"));
    EXPECT_FALSE(form->MenuPrincipale->isHidden());
    EXPECT_FALSE(form->MenuProgrammi->isHidden());
    EXPECT_EQ(form->MenuProgrammi->groupCount(), 0);
    EXPECT_EQ(sessions(), QStringList{QStringLiteral("3")});

    prompter.messages.clear();
    login(QStringLiteral("SENZAPROGETTO"), QString());
    EXPECT_EQ(prompter.texts(), QStringList{QStringLiteral("E' stato trovato un errore nella configurazione "
                                                           "dell'utente SENZAPROGETTO: manca il progetto")});
}

TEST_F(Login, KeepingTheStandardWindowBelongsToTheUserWhoLogsIn)
{
    login(QStringLiteral("ANNA"), QString());
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(form->mantieniStdMin());
    EXPECT_EQ(form->profiloSicurezza(), 0) << "no profile is needed with the flag";
    EXPECT_FALSE(form->LabelCambioUtente->isEnabled());

    // The next login on the same window, by a user without the flag.
    form->NotebookMain->show();
    login(QStringLiteral("MARIO"), QStringLiteral("Segreta"));
    EXPECT_FALSE(form->mantieniStdMin());
}

TEST_F(Login, ParametersOverrideProjectAndProfile)
{
    app.execUser({rows::parameter(1, QStringLiteral("ROSSI SPA"), QStringLiteral("PROGETTO"), QStringLiteral("7"), 1),
                  rows::parameter(1, QStringLiteral("ROSSI SPA"), QStringLiteral("PROFILO SICUREZZA"), QStringLiteral("9"), 2),
                  rows::parameter(1, QStringLiteral("VERDI SRL"), QStringLiteral("PROGETTO"), QStringLiteral("8"), 3)});
    login(QStringLiteral("MARIO"), QStringLiteral("Segreta"));
    EXPECT_EQ(form->progetto(), 7);
    EXPECT_EQ(form->profiloSicurezza(), 9);
    EXPECT_EQ(form->MenuProgrammi->groupCaption(0), QStringLiteral("Magazzino"));
}

TEST_F(Login, ParameterThatIsNotAWholeNumberStopsTheLoginWithAMessage)
{
    app.execUser({rows::parameter(1, QStringLiteral("ROSSI SPA"), QStringLiteral("PROGETTO"), QStringLiteral("sette"), 1)});
    login(QStringLiteral("MARIO"), QStringLiteral("Segreta"));
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages.first().first, MessageKind::Error);
    EXPECT_TRUE(prompter.messages.first().second.contains(QStringLiteral("PROGETTO")));
    EXPECT_TRUE(prompter.messages.first().second.contains(QStringLiteral("sette")));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Autenticazione"));
    EXPECT_FALSE(form->MenuPrincipale->isHidden());
}

TEST_F(Login, ProjectWithoutProgramsReportsTheCatalogueAndGoesOn)
{
    app.execUser({QStringLiteral("DELETE FROM DETTPROGETTI")});
    login(QStringLiteral("MARIO"), QStringLiteral("Segreta"));
    EXPECT_EQ(prompter.texts(), QStringList{CatalogueFailed});
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Ditta: ROSSI SPA - Utente: MARIO"));
    EXPECT_TRUE(form->MenuPrincipale->isHidden());
}

TEST_F(Login, ArchiveOfTheCompanyIsConnected)
{
    const QString archive = app.createArchive(QStringLiteral("rossi.fdb"));
    app.execUser({rows::parameter(1, QStringLiteral("ROSSI SPA"), QStringLiteral("Archivio"), archive, 1)});
    login(QStringLiteral("MARIO"), QStringLiteral("Segreta"));
    EXPECT_TRUE(form->PTabX->TabX->IBDatabase1.connected());
    EXPECT_EQ(form->PTabX->TabX->IBDatabase1.databaseName(), archive);
    EXPECT_EQ(form->queryArchivio1().database(), &form->PTabX->TabX->IBDatabase1);
    QString named;
    form->PTabX->TabX->GetV(QStringLiteral("Archivio"), named);
    EXPECT_EQ(named, archive);
}

TEST_F(Login, EnterOnAnyControlOfTheLoginPagePressesItsOk)
{
    form->show();
    EXPECT_EQ(form->focusWidget(), form->ComboUtenti1) << "the user is chosen first";
    form->ComboUtenti1->setCurrentIndex(form->ComboUtenti1->findText(QStringLiteral("ANNA")));
    QTest::keyClick(form->ComboUtenti1, Qt::Key_Return);
    EXPECT_TRUE(form->utenteCollegato()) << "a user without a password picks the name and presses Enter";

    form->CambioUtente();
    form->NotebookMain->setCurrentWidget(form->ModalitaLista);
    form->ListaUtenti2->setCurrentRow(form->ListaUtenti2->row(form->ListaUtenti2->findItems(QStringLiteral("MARIO"), Qt::MatchExactly).first()));
    form->EditPassword2->setText(QStringLiteral("Segreta"));
    QTest::keyClick(form->SpinButtonLista, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(form->utenteCollegato()) << "the keypad's Enter on the spin buttons";
    EXPECT_EQ(app.queryUserText(QStringLiteral("SELECT COUNT(*) FROM MARTILOG")), QStringLiteral("2"))
        << "one login per Enter";
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(Login, ListLayoutNameAndSpinButtonsStayWithinTheList)
{
    form->NotebookMain->setCurrentWidget(form->ModalitaLista);
    form->ListaUtenti2->setCurrentRow(0);
    EXPECT_EQ(form->GetNomeUtente(), QStringLiteral("MARIO"));
    form->SpinButtonListaUpClick();
    EXPECT_EQ(form->ListaUtenti2->currentRow(), 0);
    const int last = form->ListaUtenti2->count() - 1;
    form->ListaUtenti2->setCurrentRow(last);
    form->SpinButtonListaDownClick();
    EXPECT_EQ(form->ListaUtenti2->currentRow(), last);
    form->SpinButtonListaUpClick();
    EXPECT_EQ(form->ListaUtenti2->currentRow(), last - 1);
    form->ListaUtenti2->clearSelection();
    EXPECT_EQ(form->GetNomeUtente(), QString());

    form->SetPassword(QStringLiteral("pw"));
    EXPECT_EQ(form->GetPassword(), QStringLiteral("pw"));
    EXPECT_EQ(form->EditPassword1->text(), QStringLiteral("pw"));
    form->ListaUtenti2->setCurrentRow(0);
    form->EditPassword2->setText(QStringLiteral("Segreta"));
    form->ButtonOK2->click();
    EXPECT_TRUE(form->utenteCollegato());
    EXPECT_TRUE(prompter.messages.isEmpty());
}

} // namespace

namespace {

TEST(InizForm, ShowsItsTwoCentredMessages)
{
    tg::TInizForm iniz(nullptr);
    EXPECT_EQ(iniz.windowTitle(), QStringLiteral("Inizializzazione"));
    EXPECT_EQ(iniz.size(), QSize(292, 131));
    EXPECT_EQ(iniz.LabelMessaggio1->text(), QStringLiteral("Caricamento delle impostazioni"));
    EXPECT_EQ(iniz.LabelMessaggio2->text(), QStringLiteral("personali in corso..."));
    EXPECT_EQ(iniz.LabelMessaggio1->alignment(), Qt::AlignCenter);
    EXPECT_EQ(iniz.LabelMessaggio2->font().pointSize(), 10);
}

} // namespace
