#include "LoggedInWindow.h"

#include "data/TabX.h"
#include "db/DatabaseError.h"
#include "platform/Clock.h"
#include "sessions/Sessioni.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

QString session(int code, int user, const QString &closing = QStringLiteral("NULL,NULL"))
{
    return QStringLiteral("INSERT INTO MARTILOG (CODICESESSIONE,DATAAPERTURA,ORAAPERTURA,CODICEUTENTE,DATACHIUSURA,"
                          "ORACHIUSURA) VALUES (%1,'03/01/2024','08:00:00',%2,%3)")
        .arg(code)
        .arg(user)
        .arg(closing);
}

// MARIO logged in (his current session has code 1) with two more open
// sessions, 100 and 101, one closed session and an open one of another user.
class SessionsScreen : public LoggedInWindow<> {
protected:
    void SetUp() override
    {
        LoggedInWindow::SetUp();
        app.execUser({session(100, 1), session(101, 1), session(102, 1, QStringLiteral("'03/02/2024','18:00:00'")),
                      session(103, 2)});
        login();
    }

    std::unique_ptr<TSessioniForm> openScreen()
    {
        auto screen = std::make_unique<TSessioniForm>(form.get(), form->PTabX.get());
        screen->show();
        return screen;
    }
    static QStringList listed(const TSessioniForm &screen)
    {
        QStringList codes;
        for (int row = 0; row < screen.SourceSessioni->rowCount(); ++row)
            codes << screen.SourceSessioni->index(row, 0).data().toString();
        return codes;
    }
    static int rowOf(const TSessioniForm &screen, const QString &code)
    {
        return static_cast<int>(listed(screen).indexOf(code));
    }
    static QStringList sorted(QStringList list)
    {
        std::sort(list.begin(), list.end());
        return list;
    }
    // A real double click: press and release make the row current, then the
    // double click arrives.
    static void doubleClick(TSessioniForm &screen, const QString &code)
    {
        const QRect cell = screen.GridSessioni->visualRect(screen.SourceSessioni->index(rowOf(screen, code), 1));
        QTest::mouseClick(screen.GridSessioni->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(screen.GridSessioni->viewport(), Qt::LeftButton, {}, cell.center());
    }
    static void pressF3(TSessioniForm &screen, const QString &code)
    {
        screen.GridSessioni->setCurrentIndex(screen.SourceSessioni->index(rowOf(screen, code), 0));
        QTest::keyClick(screen.GridSessioni, Qt::Key_F3);
    }
    // The colour painted inside a cell of the row, clear of its text.
    static QColor painted(TSessioniForm &screen, const QString &code)
    {
        const QRect cell = screen.GridSessioni->visualRect(screen.SourceSessioni->index(rowOf(screen, code), 2));
        return screen.GridSessioni->viewport()->grab().toImage().pixelColor(cell.topLeft() + QPoint(1, 1));
    }
    QStringList closings() const
    {
        return app.queryUserRows(QStringLiteral(
            "SELECT CODICESESSIONE,DATACHIUSURA,ORACHIUSURA FROM MARTILOG ORDER BY CODICESESSIONE"));
    }
};

TEST_F(SessionsScreen, ListsTheOpenSessionsOfTheUserOnly)
{
    auto screen = openScreen();
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("Sessioni aperte utente: MARIO"));
    EXPECT_EQ(sorted(listed(*screen)), (QStringList{QStringLiteral("1"), QStringLiteral("100"), QStringLiteral("101")}));
    const QModelIndex opened = screen->SourceSessioni->index(rowOf(*screen, QStringLiteral("100")), 1);
    EXPECT_EQ(opened.data().toString(), QStringLiteral("01/03/2024"));
    EXPECT_EQ(opened.siblingAtColumn(2).data().toString(), QStringLiteral("08:00:00"));
    EXPECT_EQ(screen->SourceSessioni->headerData(0, Qt::Horizontal).toString(), QStringLiteral("CODICESESSIONE"));
    EXPECT_EQ(screen->findChild<QPushButton *>(QStringLiteral("ButtonChiudiSel"))->text(),
              QStringLiteral("Ch&iudi selezionate"));
    EXPECT_EQ(screen->findChild<QLabel *>(QStringLiteral("Label1"))->text(),
              QStringLiteral("F3 o doppio click per selezionare / deselezionare"));

    // The grid grows with the window; the buttons keep to its right edge.
    const QRect grid = screen->GridSessioni->geometry();
    const QRect close = screen->ButtonChiudi->geometry();
    screen->resize(screen->size() + QSize(100, 40));
    EXPECT_EQ(screen->GridSessioni->geometry(), grid.adjusted(0, 0, 100, 40));
    EXPECT_EQ(screen->ButtonChiudi->geometry(), close.translated(100, 40));
    EXPECT_EQ(screen->ButtonSel->x(), close.x() + 100);
    EXPECT_EQ(screen->ButtonSel->y(), screen->GridSessioni->y()) << "level with the grid's top";
}

TEST_F(SessionsScreen, DoubleClickAndF3ToggleTheMarkShownInTheDesktopColour)
{
    auto screen = openScreen();
    const QColor desktop = screen->GridSessioni->palette().color(QPalette::Highlight);
    const QColor window = screen->GridSessioni->palette().color(QPalette::Base);
    ASSERT_NE(desktop, window);

    doubleClick(*screen, QStringLiteral("100"));
    EXPECT_EQ(screen->SessioniSelezionate, QStringList{QStringLiteral("100")});
    EXPECT_EQ(painted(*screen, QStringLiteral("100")), desktop);
    EXPECT_EQ(painted(*screen, QStringLiteral("101")), window);
    doubleClick(*screen, QStringLiteral("100"));
    EXPECT_TRUE(screen->SessioniSelezionate.isEmpty());
    EXPECT_EQ(painted(*screen, QStringLiteral("100")), window);

    pressF3(*screen, QStringLiteral("101"));
    EXPECT_EQ(screen->SessioniSelezionate, QStringList{QStringLiteral("101")});
    EXPECT_EQ(painted(*screen, QStringLiteral("101")), desktop);
    QTest::keyClick(screen->GridSessioni, Qt::Key_F2);
    EXPECT_EQ(screen->SessioniSelezionate, QStringList{QStringLiteral("101")}) << "only F3 toggles";
    pressF3(*screen, QStringLiteral("101"));
    EXPECT_TRUE(screen->SessioniSelezionate.isEmpty());
}

TEST_F(SessionsScreen, SelectAllMarksEachListedSessionOnceAndDeselectAllClears)
{
    auto screen = openScreen();
    pressF3(*screen, QStringLiteral("101"));
    QTest::mouseClick(screen->ButtonSel, Qt::LeftButton);
    QTest::mouseClick(screen->ButtonSel, Qt::LeftButton);
    EXPECT_EQ(sorted(screen->SessioniSelezionate),
              (QStringList{QStringLiteral("1"), QStringLiteral("100"), QStringLiteral("101")}));
    EXPECT_EQ(screen->GridSessioni->currentIndex().row(), 0) << "back on the first row";
    EXPECT_EQ(painted(*screen, QStringLiteral("1")), screen->GridSessioni->palette().color(QPalette::Highlight));

    QTest::mouseClick(screen->ButtonDeSel, Qt::LeftButton);
    EXPECT_TRUE(screen->SessioniSelezionate.isEmpty());
    EXPECT_EQ(painted(*screen, QStringLiteral("1")), screen->GridSessioni->palette().color(QPalette::Base));
}

TEST_F(SessionsScreen, MarkedSessionsAreClosedTogetherAtOneMoment)
{
    auto screen = openScreen();
    SteppingClock clock;
    pressF3(*screen, QStringLiteral("100"));
    pressF3(*screen, QStringLiteral("101"));
    QTest::mouseClick(screen->ButtonChiudiSel, Qt::LeftButton);

    EXPECT_EQ(prompter.messages, (QList<QPair<MessageKind, QString>>{
                                     {MessageKind::Confirmation,
                                      QStringLiteral("Effettuare la chiusura delle sessioni selezionate?")}}));
    const QStringList rows = closings();
    EXPECT_EQ(rows[0], QStringLiteral("1||")) << "the current session was not marked";
    EXPECT_EQ(rows[1], QStringLiteral("100|09/03/2024|09:00:00"));
    EXPECT_EQ(rows[2], QStringLiteral("101|09/03/2024|09:00:00"));
    EXPECT_EQ(listed(*screen), QStringList{QStringLiteral("1")}) << "the list is read again";
    EXPECT_EQ(screen->SessioniSelezionate.size(), 2) << "the marks stay";
    EXPECT_EQ(painted(*screen, QStringLiteral("1")), screen->GridSessioni->palette().color(QPalette::Base));
}

TEST_F(SessionsScreen, AnsweringNoWritesNothing)
{
    auto screen = openScreen();
    const QStringList before = closings();
    pressF3(*screen, QStringLiteral("100"));
    prompter.answers = {MessageAnswer::No};
    RecordingObserver observer;
    QTest::mouseClick(screen->ButtonChiudiSel, Qt::LeftButton);
    EXPECT_EQ(closings(), before);
    EXPECT_TRUE(observer.statements.filter(QStringLiteral("UPDATE")).isEmpty());
    EXPECT_EQ(listed(*screen).size(), 3);
}

TEST_F(SessionsScreen, AFailingUpdateUndoesEveryClosingOfTheRun)
{
    app.execUser({QStringLiteral("CREATE EXCEPTION E_SESSIONE 'sessione bloccata'"),
                  QStringLiteral("CREATE TRIGGER T_SESSIONE FOR MARTILOG BEFORE UPDATE AS BEGIN "
                                 "IF (NEW.CODICESESSIONE = 101) THEN EXCEPTION E_SESSIONE; END")});
    auto screen = openScreen();
    const QStringList before = closings();
    pressF3(*screen, QStringLiteral("100"));
    pressF3(*screen, QStringLiteral("101"));
    QTest::mouseClick(screen->ButtonChiudiSel, Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 2);
    EXPECT_EQ(prompter.messages[1],
              qMakePair(MessageKind::Error,
                        QStringLiteral("Errore interno di UPDATE: impossibile chiudere le sessioni selezionate. Riprovare")));
    EXPECT_EQ(closings(), before) << "100 was updated before 101 failed, and is not closed";
    EXPECT_EQ(listed(*screen).size(), 3);

    // The transaction was started again: a later run without 101 works.
    pressF3(*screen, QStringLiteral("101"));
    QTest::mouseClick(screen->ButtonChiudiSel, Qt::LeftButton);
    EXPECT_EQ(sorted(listed(*screen)), (QStringList{QStringLiteral("1"), QStringLiteral("101")}));
}

TEST_F(SessionsScreen, NothingMarkedStillAsksAndReadsTheListAgain)
{
    auto screen = openScreen();
    app.execUser({session(104, 1)}); // opened meanwhile by another workstation
    RecordingObserver observer;
    QTest::mouseClick(screen->ButtonChiudiSel, Qt::LeftButton);
    EXPECT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(observer.statements.filter(QStringLiteral("UPDATE")).isEmpty());
    EXPECT_TRUE(listed(*screen).contains(QStringLiteral("104")));
}

TEST_F(SessionsScreen, ClosingEverySessionClosesTheCurrentOneAndKeepsEarlierClosingMoments)
{
    auto screen = openScreen();
    SteppingClock clock;
    QTest::mouseClick(screen->ButtonSel, Qt::LeftButton);
    QTest::mouseClick(screen->ButtonChiudiSel, Qt::LeftButton);
    EXPECT_TRUE(listed(*screen).isEmpty());
    const QStringList closed = closings();
    EXPECT_EQ(closed[0], QStringLiteral("1|09/03/2024|09:00:00"));
    EXPECT_FALSE(form->VerificaStatoSessione(true));
    EXPECT_EQ(prompter.texts().last(),
              QStringLiteral("Attenzione: la sessione corrente risulta chiusa. Si prega di uscire e rientrare"));

    // The marks outlive the closing, but an empty grid has no row to mark.
    QTest::keyClick(screen->GridSessioni, Qt::Key_F3);
    EXPECT_EQ(screen->SessioniSelezionate.size(), 3);
    EXPECT_FALSE(screen->SessioniSelezionate.contains(QString()));
    // Running the closing again with those marks must not re-date them.
    prompter.messages.clear();
    QTest::mouseClick(screen->ButtonChiudiSel, Qt::LeftButton);
    EXPECT_EQ(prompter.messages.size(), 1) << "only the confirmation";
    EXPECT_EQ(closings(), closed);
}

TEST_F(SessionsScreen, F3OnAnEmptyGridMarksNothingSoALaterClosingWorks)
{
    app.execUser({QStringLiteral("UPDATE MARTILOG SET DATACHIUSURA='03/05/2024' WHERE CODICEUTENTE=1")});
    auto screen = openScreen();
    ASSERT_TRUE(listed(*screen).isEmpty());
    QTest::keyClick(screen->GridSessioni, Qt::Key_F3);
    QTest::mouseDClick(screen->GridSessioni->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(screen->SessioniSelezionate.isEmpty());
    QTest::mouseClick(screen->ButtonChiudiSel, Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), QStringList{QStringLiteral("Effettuare la chiusura delle sessioni selezionate?")});
}

TEST_F(SessionsScreen, AnUnreadableListReachesTheCaller)
{
    app.execUser({QStringLiteral("DROP TABLE MARTILOG")});
    EXPECT_THROW(TSessioniForm(form.get(), form->PTabX.get()), db::DatabaseError);
}

} // namespace
