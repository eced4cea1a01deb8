#include "LoggedInWindow.h"

#include "data/TabX.h"
#include "db/DatabaseError.h"
#include "semaphores/Semafori.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

const QString ReleaseFailed =
    QStringLiteral("Errore interno di UPDATE: impossibile liberare il semaforo selezionato. Riprovare");
const QString Confirmation = QStringLiteral("Liberare i semafori selezionati?");
const QString EmptySelection = QStringLiteral("Selezionare almeno un semaforo da liberare");

// MARIO logged in on the ROSSI SPA archive, which holds the semaphores.
class SemaphoresScreen : public LoggedInWindow<> {
protected:
    void SetUp() override
    {
        LoggedInWindow::SetUp();
        login();
    }

    void semaphore(const QString &id, int taken, int user = 2)
    {
        AppDirectory::exec(rossi, {QStringLiteral("INSERT INTO SEMAFORIF VALUES(%1,'vendite.dll','Ordini',%2,%3,'NOW')")
                                       .arg(id)
                                       .arg(user)
                                       .arg(taken)});
    }
    // Semaphores 5, 12 and 9 taken, 7 released.
    void fourSemaphores()
    {
        for (const char *id : {"5", "12", "9"})
            semaphore(QString::fromLatin1(id), 1);
        semaphore(QStringLiteral("7"), 0);
    }
    std::unique_ptr<TSemaforiForm> openScreen()
    {
        auto screen = std::make_unique<TSemaforiForm>(form.get(), form->PTabX.get());
        screen->show();
        return screen;
    }
    static QStringList listed(const TSemaforiForm &screen)
    {
        QStringList ids;
        for (int row = 0; row < screen.SourceSemafori->rowCount(); ++row)
            ids << screen.SourceSemafori->index(row, 0).data().toString();
        return ids;
    }
    static void doubleClick(TSemaforiForm &screen, int row)
    {
        const QRect cell = screen.GridSemafori->visualRect(screen.SourceSemafori->index(row, 1));
        QTest::mouseClick(screen.GridSemafori->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(screen.GridSemafori->viewport(), Qt::LeftButton, {}, cell.center());
    }
    static void pressF3(TSemaforiForm &screen, int row)
    {
        screen.GridSemafori->setCurrentIndex(screen.SourceSemafori->index(row, 0));
        QTest::keyClick(screen.GridSemafori, Qt::Key_F3);
    }
    // The colour painted inside a cell of the row, clear of its text.
    static QColor painted(TSemaforiForm &screen, int row)
    {
        const QRect cell = screen.GridSemafori->visualRect(screen.SourceSemafori->index(row, 2));
        return screen.GridSemafori->viewport()->grab().toImage().pixelColor(cell.topLeft() + QPoint(1, 1));
    }
    static QColor desktop(const TSemaforiForm &screen) { return screen.GridSemafori->palette().color(QPalette::Highlight); }
    static QColor window(const TSemaforiForm &screen) { return screen.GridSemafori->palette().color(QPalette::Base); }

    QStringList states() const
    {
        return AppDirectory::queryRows(rossi, QStringLiteral("SELECT ID,OCCUPATO FROM SEMAFORIF ORDER BY ID"));
    }
    QStringList anomalies() const
    {
        return AppDirectory::queryRows(rossi, QStringLiteral("SELECT UTENTE,DLL,FORM,DESCRIZIONE FROM SEMAFORIFANOMALIE"));
    }
    const QString releaseLogged = QStringLiteral("1|||Libera semafori");
};

TEST_F(SemaphoresScreen, ListsTheTakenSemaphoresHighestIdFirstInTheDesignedLayout)
{
    fourSemaphores();
    const DesignedTextSize designed;
    auto screen = openScreen();
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("Gestione semafori - Utente: MARIO"));
    EXPECT_EQ(listed(*screen), (QStringList{QStringLiteral("12"), QStringLiteral("9"), QStringLiteral("5")}));
    QStringList titles;
    for (int column = 0; column < screen->SourceSemafori->columnCount(); ++column)
        titles << screen->SourceSemafori->headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(titles.join(QLatin1Char(',')), QStringLiteral("ID,DLL,FORM,UTENTE,OCCUPATO,DATAORA"));
    EXPECT_EQ(screen->findChild<QPushButton *>(QStringLiteral("ButtonLiberaSemafori"))->text(),
              QStringLiteral("&Libera semafori"));

    // The designed places; the buttons as wide as their captions need, at
    // least the designed 105 pixels, ending 8 pixels from the right edge.
    const QRect grid = screen->GridSemafori->geometry();
    EXPECT_EQ(grid.topLeft(), QPoint(8, 24));
    EXPECT_EQ(grid.height(), 178);
    EXPECT_EQ(grid.right() + 1 + 7, screen->ButtonSel->x());
    const int buttonWidth = screen->ButtonSel->width();
    EXPECT_GE(buttonWidth, 105);
    EXPECT_EQ(screen->ButtonSel->geometry(), QRect(544 - buttonWidth, 24, buttonWidth, 25));
    EXPECT_EQ(screen->ButtonDeSel->geometry(), QRect(544 - buttonWidth, 49, buttonWidth, 25));
    EXPECT_EQ(screen->ButtonLiberaSemafori->geometry(), QRect(544 - buttonWidth, 74, buttonWidth, 25));
    EXPECT_EQ(screen->ButtonChiudi->geometry(), QRect(544 - buttonWidth, 179, buttonWidth, 25));
    screen->resize(screen->size() + QSize(100, 50));
    EXPECT_EQ(screen->GridSemafori->geometry(), grid.adjusted(0, 0, 100, 50));
    EXPECT_EQ(screen->ButtonLiberaSemafori->geometry(), QRect(644 - buttonWidth, 74, buttonWidth, 25));
    EXPECT_EQ(screen->ButtonChiudi->geometry(), QRect(644 - buttonWidth, 229, buttonWidth, 25));
    EXPECT_EQ(screen->findChild<QLabel *>(QStringLiteral("Label1"))->pos(), QPoint(8, 7));
}

TEST_F(SemaphoresScreen, OpeningSeesSemaphoresTakenSinceTheArchiveTransactionStarted)
{
    TTabXForm &module = *form->PTabX->TabX;
    db::Query earlier(&module.IBDatabase1, &module.IBTransaction1);
    earlier.sql() << QStringLiteral("SELECT COUNT(*) FROM SEMAFORIF");
    earlier.open(); // the archive's transaction now holds a snapshot without the row below
    semaphore(QStringLiteral("30"), 1);
    auto screen = openScreen();
    EXPECT_EQ(listed(*screen), QStringList{QStringLiteral("30")});
}

TEST_F(SemaphoresScreen, DoubleClickAndF3ToggleTheSelectionShownInTheDesktopColour)
{
    fourSemaphores();
    auto screen = openScreen();
    ASSERT_NE(desktop(*screen), window(*screen));
    doubleClick(*screen, 1);
    EXPECT_EQ(screen->Selezione, QStringList{QStringLiteral("9")});
    EXPECT_EQ(painted(*screen, 1), desktop(*screen));
    EXPECT_EQ(painted(*screen, 0), window(*screen));

    pressF3(*screen, 0);
    EXPECT_EQ(screen->Selezione, (QStringList{QStringLiteral("9"), QStringLiteral("12")}));
    pressF3(*screen, 0);
    EXPECT_EQ(screen->Selezione, QStringList{QStringLiteral("9")}) << "F3 twice leaves the row unselected";
    EXPECT_EQ(painted(*screen, 0), window(*screen));
    doubleClick(*screen, 1);
    EXPECT_TRUE(screen->Selezione.isEmpty());
    EXPECT_EQ(painted(*screen, 1), window(*screen));
}

TEST_F(SemaphoresScreen, ReleasedRowsLeaveTheGridAndTheClickIsLogged)
{
    fourSemaphores();
    auto screen = openScreen();
    pressF3(*screen, 0);
    pressF3(*screen, 2);
    QTest::mouseClick(screen->ButtonLiberaSemafori, Qt::LeftButton);
    EXPECT_EQ(prompter.messages, (QList<QPair<MessageKind, QString>>{{MessageKind::Confirmation, Confirmation}}));
    EXPECT_EQ(states(), (QStringList{QStringLiteral("5|0"), QStringLiteral("7|0"), QStringLiteral("9|1"),
                                     QStringLiteral("12|0")}));
    EXPECT_EQ(listed(*screen), QStringList{QStringLiteral("9")});
    EXPECT_EQ(anomalies(), QStringList{releaseLogged});
    EXPECT_EQ(screen->Selezione, (QStringList{QStringLiteral("12"), QStringLiteral("5")})) << "the selection stays";
    EXPECT_EQ(painted(*screen, 0), window(*screen));
}

TEST_F(SemaphoresScreen, RowsSharingAnIdAreSelectedAndReleasedTogether)
{
    semaphore(QStringLiteral("0"), 1);
    semaphore(QStringLiteral("0"), 1, 3);
    semaphore(QStringLiteral("9"), 1);
    auto screen = openScreen();
    QTest::mouseClick(screen->ButtonSel, Qt::LeftButton);
    EXPECT_EQ(screen->Selezione, (QStringList{QStringLiteral("9"), QStringLiteral("0")})) << "each ID once";
    QTest::mouseClick(screen->ButtonDeSel, Qt::LeftButton);
    EXPECT_TRUE(screen->Selezione.isEmpty());
    EXPECT_EQ(painted(*screen, 0), window(*screen));

    pressF3(*screen, 2);
    EXPECT_EQ(painted(*screen, 1), desktop(*screen)) << "the other row with ID 0";
    QTest::mouseClick(screen->ButtonLiberaSemafori, Qt::LeftButton);
    EXPECT_EQ(states(), (QStringList{QStringLiteral("0|0"), QStringLiteral("0|0"), QStringLiteral("9|1")}));
}

TEST_F(SemaphoresScreen, AnsweringNoReleasesNothingButIsLogged)
{
    fourSemaphores();
    auto screen = openScreen();
    const QStringList before = states();
    pressF3(*screen, 0);
    prompter.answers = {MessageAnswer::No};
    QTest::mouseClick(screen->ButtonLiberaSemafori, Qt::LeftButton);
    EXPECT_EQ(states(), before);
    EXPECT_EQ(anomalies(), QStringList{releaseLogged});
    EXPECT_EQ(listed(*screen).size(), 3);
}

TEST_F(SemaphoresScreen, AFailedReleaseUndoesTheWholeClickAndIsStillLogged)
{
    fourSemaphores();
    AppDirectory::exec(rossi, {QStringLiteral("CREATE EXCEPTION E_SEMAFORO 'semaforo bloccato'"),
                               QStringLiteral("CREATE TRIGGER T_SEMAFORO FOR SEMAFORIF BEFORE UPDATE AS BEGIN "
                                              "IF (OLD.ID = 5) THEN EXCEPTION E_SEMAFORO; END")});
    auto screen = openScreen();
    const QStringList before = states();
    pressF3(*screen, 0);
    pressF3(*screen, 2);
    QTest::mouseClick(screen->ButtonLiberaSemafori, Qt::LeftButton);
    EXPECT_EQ(prompter.messages, (QList<QPair<MessageKind, QString>>{{MessageKind::Confirmation, Confirmation},
                                                                     {MessageKind::Error, ReleaseFailed}}));
    EXPECT_EQ(states(), before) << "12 was released before 5 failed, and is taken again";
    EXPECT_EQ(listed(*screen).size(), 3);
    EXPECT_EQ(anomalies(), QStringList{releaseLogged});
}

TEST_F(SemaphoresScreen, WithoutTheTableTheScreenOpensEmpty)
{
    AppDirectory::exec(rossi, {QStringLiteral("DROP TABLE SEMAFORIF")});
    auto screen = openScreen();
    EXPECT_EQ(prompter.messages,
              (QList<QPair<MessageKind, QString>>{
                  {MessageKind::Error, QStringLiteral("Errore: tabella SEMAFORIF non esistente nell'archivio corrente. "
                                                      "Eseguire prima le manutenzioni.")}}));
    EXPECT_EQ(screen->SourceSemafori->rowCount(), 0);
    prompter.messages.clear();
    QTest::mouseClick(screen->ButtonSel, Qt::LeftButton);
    QTest::keyClick(screen->GridSemafori, Qt::Key_F3);
    QTest::mouseClick(screen->ButtonLiberaSemafori, Qt::LeftButton);
    EXPECT_EQ(prompter.messages, (QList<QPair<MessageKind, QString>>{{MessageKind::Error, EmptySelection}}));
    EXPECT_TRUE(anomalies().isEmpty()) << "a refused click is not logged";
}

TEST_F(SemaphoresScreen, ARowWithoutIdCannotBeSelectedAndDoesNotSpoilSelectAll)
{
    semaphore(QStringLiteral("NULL"), 1);
    semaphore(QStringLiteral("12"), 1);
    auto screen = openScreen();
    ASSERT_EQ(listed(*screen), (QStringList{QStringLiteral("12"), QString()}));
    pressF3(*screen, 1);
    EXPECT_TRUE(screen->Selezione.isEmpty());
    QTest::mouseClick(screen->ButtonSel, Qt::LeftButton);
    EXPECT_EQ(screen->Selezione, QStringList{QStringLiteral("12")});
    QTest::mouseClick(screen->ButtonLiberaSemafori, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList{Confirmation}) << "no failed release";
    EXPECT_EQ(states(), (QStringList{QStringLiteral("|1"), QStringLiteral("12|0")}));
}

TEST_F(SemaphoresScreen, AFailedAnomalyWriteReachesTheCallerAfterTheRelease)
{
    fourSemaphores();
    AppDirectory::exec(rossi, {QStringLiteral("DROP TABLE SEMAFORIFANOMALIE")});
    auto screen = openScreen();
    pressF3(*screen, 0);
    EXPECT_THROW(screen->ButtonLiberaSemaforiClick(), db::DatabaseError);
    EXPECT_EQ(states()[3], QStringLiteral("12|0")) << "the release was committed before";
    EXPECT_EQ(listed(*screen).size(), 2);
}

} // namespace
