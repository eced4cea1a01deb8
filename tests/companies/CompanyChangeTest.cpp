#include "LoggedInWindow.h"
#include "WidgetTexts.h"

#include "companies/SelezDitta.h"
#include "data/TabX.h"
#include "menu/NavigationBar.h"
#include "platform/ModalRunner.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

// Works the real dialog: picks the company (when given) and presses OK, or
// presses Cancel.
ModalRunner::Script choose(const QString &company, bool ok = true)
{
    return [company, ok](QDialog &dialog) {
        auto &form = dynamic_cast<TSelezDittaForm &>(dialog);
        if (!company.isEmpty()) {
            const auto found = form.ListBoxSelDitta->findItems(company, Qt::MatchExactly);
            if (!found.isEmpty())
                form.ListBoxSelDitta->setCurrentItem(found.first());
        }
        (ok ? form.ButtonOk : form.ButtonCancel)->click();
        return form.result();
    };
}

class CompanyChange : public LoggedInWindow<> {
protected:
    void SetUp() override
    {
        LoggedInWindow::SetUp();
        app.execUser({rows::parameter(1, QStringLiteral("Vecchia <inattiva>"), QStringLiteral("Archivio"), QStringLiteral("x"), 3),
                      rows::parameter(1, QString(), QStringLiteral("Libero"), QStringLiteral("x"), 4),
                      rows::parameter(2, QStringLiteral("ALTRO UTENTE"), QStringLiteral("Archivio"), QStringLiteral("x"), 1),
                      rows::program(2, QStringLiteral("Magazzino")), rows::projectProgram(2, 2)});
    }
    void TearDown() override
    {
        ModalRunner::install({});
        LoggedInWindow::TearDown();
    }
    QString storedCompany() const { return app.queryUserText(QStringLiteral("SELECT DITTA FROM UTENTI WHERE CODICE=1")); }
};

TEST_F(CompanyChange, DialogListsActiveCompaniesAndPreselectsTheCurrentIgnoringCase)
{
    TBaseMainForm &main = login();
    app.execUser({QStringLiteral("UPDATE UTENTI SET DITTA='verdi srl' WHERE CODICE=1")});
    main.PTabX->TabX->SetUserPerNum(1);
    TSelezDittaForm dialog(&main, main.edizione(), main.PTabX.get());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Selezione Ditta"));
    EXPECT_EQ(items(dialog.ListBoxSelDitta), (QStringList{QStringLiteral("ROSSI SPA"), QStringLiteral("VERDI SRL")}));
    EXPECT_EQ(dialog.selectedCompany(), QStringLiteral("VERDI SRL"));
    EXPECT_EQ(dialog.size(), QSize(230, 300));
    EXPECT_EQ(dialog.pos(), QPoint(0, 0));

    dialog.ListBoxSelDitta->clearSelection();
    dialog.ButtonOk->click();
    EXPECT_EQ(dialog.result(), 0) << "OK needs a selected company";
    dialog.ListBoxSelDitta->setCurrentRow(0);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(&dialog, &enter);
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
}

TEST_F(CompanyChange, InactiveMarkerInAnyCaseAndDialogScalesWhenShown)
{
    EXPECT_TRUE(isInactiveCompany(QStringLiteral("X <InAttiva>")));
    EXPECT_TRUE(isInactiveCompany(QStringLiteral("<INATTIVA>")));
    EXPECT_FALSE(isInactiveCompany(QStringLiteral("INATTIVA")));
    TBaseMainForm &main = login();
    ScreenSize::override(QSize(1024, 768));
    TSelezDittaForm dialog(&main, main.edizione(), main.PTabX.get());
    dialog.show();
    EXPECT_EQ(dialog.frameGeometry(), QRect(0, 0, 589, 768)) << "256 percent of 230 by 300, frame included";
    EXPECT_EQ(dialog.ButtonOk->size(), QSize(192, 64));
    EXPECT_EQ(dialog.font().pixelSize(), 28);
}

TEST_F(CompanyChange, CancelChangesNothing)
{
    TBaseMainForm &main = login();
    RecordingObserver observer;
    ModalRunner::install(choose(QStringLiteral("VERDI SRL"), false));
    main.CambioDitta();
    EXPECT_EQ(storedCompany(), QStringLiteral("ROSSI SPA"));
    for (const QString &statement : std::as_const(observer.statements))
        EXPECT_FALSE(statement.startsWith(QStringLiteral("UPDATE"))) << statement.toStdString();
    EXPECT_EQ(main.PTabX->TabX->IBDatabase1.databaseName(), rossi);
}

TEST_F(CompanyChange, ChosenCompanyIsRecordedAndItsArchiveAndMenusLoaded)
{
    app.execUser({rows::parameter(1, QStringLiteral("VERDI SRL"), QStringLiteral("PROGETTO"), QStringLiteral("2"), 5)});
    TBaseMainForm &main = login();
    ModalRunner::install(choose(QStringLiteral("VERDI SRL")));
    main.CambioDitta();
    EXPECT_EQ(storedCompany(), QStringLiteral("VERDI SRL"));
    EXPECT_EQ(main.PTabX->TabX->dittaCorrente(), QStringLiteral("VERDI SRL"));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Ditta: VERDI SRL - Utente: MARIO"));
    EXPECT_EQ(main.PTabX->TabX->IBDatabase1.databaseName(), verdi);
    EXPECT_EQ(main.progetto(), 2);
    EXPECT_EQ(main.MenuProgrammi->groupCaption(0), QStringLiteral("Magazzino"));
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(CompanyChange, ParameterThatIsNotANumberIsReportedAndTheChangeGoesOn)
{
    app.execUser({rows::parameter(1, QStringLiteral("VERDI SRL"), QStringLiteral("PROGETTO"), QStringLiteral("due"), 5)});
    TBaseMainForm &main = login();
    ModalRunner::install(choose(QStringLiteral("VERDI SRL")));
    main.CambioDitta();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.first().second.contains(QStringLiteral("\"due\"")));
    EXPECT_EQ(main.progetto(), 1) << "the number of the user's row stays";
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Ditta: VERDI SRL - Utente: MARIO"));
    EXPECT_EQ(main.PTabX->TabX->IBDatabase1.databaseName(), verdi);
}

TEST_F(CompanyChange, FailedWriteIsDumpedAndNothingChanges)
{
    // Another program of the suite refuses the change.
    app.execUser({QStringLiteral("CREATE EXCEPTION E_DITTA 'ditta bloccata'"),
                  QStringLiteral("CREATE TRIGGER T_DITTA FOR UTENTI BEFORE UPDATE AS BEGIN "
                                 "IF (NEW.DITTA = 'VERDI SRL') THEN EXCEPTION E_DITTA; END")});
    TBaseMainForm &main = login();
    ModalRunner::install(choose(QStringLiteral("VERDI SRL")));
    main.CambioDitta();
    EXPECT_EQ(prompter.texts(), QStringList{QStringLiteral("Errore interno: impossibile effettuare il cambio ditta. Riprovare")});
    EXPECT_TRUE(QFile::exists(app.path() + QStringLiteral("Taskgate.CambioDitta.sql")));
    EXPECT_EQ(main.PTabX->TabX->dittaCorrente(), QStringLiteral("ROSSI SPA"));
    EXPECT_EQ(main.PTabX->TabX->IBDatabase1.databaseName(), rossi);
}

TEST_F(CompanyChange, CriticalWindowOpenAcrossTheChangeReleasesItsSemaphoreInItsOwnArchive)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(TASKGATE_TEST_PLUGIN), app.path() + QStringLiteral("/taskgatetest.so")));
    AppDirectory::exec(rossi, {QStringLiteral("INSERT INTO SEMAFORIFCRITICHE (DLL,FORM,OSSERVATASPECIALE) "
                                              "VALUES ('taskgatetest.dll','FinestraX',1)")});
    TBaseMainForm &main = login();
    const int windowId = main.AggiornaMartiLogFunz(QStringLiteral("FinestraX"));
    main.CaricaFunzioneDLLX(QStringLiteral("taskgatetest.dll"), QStringLiteral("FinestraX"), windowId);
    const QString taken = QStringLiteral("SELECT OCCUPATO FROM SEMAFORIF WHERE ID='%1'").arg(windowId);
    ASSERT_EQ(AppDirectory::queryText(rossi, taken), QStringLiteral("1"));

    ModalRunner::install(choose(QStringLiteral("VERDI SRL")));
    main.CambioDitta();
    ASSERT_EQ(main.PTabX->TabX->IBDatabase1.databaseName(), verdi);
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("TrackedWindow"))
            window->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(AppDirectory::queryText(rossi, taken), QStringLiteral("0"))
        << "a semaphore left taken would block the window in its company for good";
}

} // namespace
