#include "TestSupport.h"

#include "widgets/MarkableGrid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace tg;

namespace {

// A list as the screens hold one: its rows keyed by their first column.
class Codes {
public:
    const QStringList &columns() const { return m_columns; }
    const QVector<QStringList> &rows() const { return m_rows; }
    QString code(int row) const { return row >= 0 && row < m_rows.size() ? m_rows[row].value(0) : QString(); }

    void set(const QStringList &columns, const QVector<QStringList> &rows)
    {
        m_columns = columns;
        m_rows = rows;
    }

private:
    QStringList m_columns;
    QVector<QStringList> m_rows;
};

// Rows 0 to 3 keyed A, B, A and (none).
class MarkableGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        codes.set({QStringLiteral("CODE"), QStringLiteral("NAME"), QStringLiteral("NOTE")},
                  {{QStringLiteral("A"), QStringLiteral("first"), QString()},
                   {QStringLiteral("B"), QStringLiteral("second"), QString()},
                   {QStringLiteral("A"), QStringLiteral("third"), QString()},
                   {QString(), QStringLiteral("fourth"), QString()}});
        grid = std::make_unique<MarkableGrid>(MarkableGrid::rowsOf(codes, &Codes::code), marks, nullptr);
        grid->resize(400, 200);
        grid->reload([] {});
        grid->show();
    }
    void TearDown() override { grid.reset(); }

    void doubleClick(int row)
    {
        const QRect cell = grid->visualRect(grid->source()->index(row, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void pressF3(int row)
    {
        grid->setCurrentIndex(grid->source()->index(row, 0));
        QTest::keyClick(grid.get(), Qt::Key_F3);
    }
    // The colour painted inside a cell of the row, clear of its text.
    QColor painted(int row)
    {
        const QRect cell = grid->visualRect(grid->source()->index(row, 2));
        return grid->viewport()->grab().toImage().pixelColor(cell.topLeft() + QPoint(1, 1));
    }
    QColor highlight() const { return grid->palette().color(QPalette::Highlight); }
    QColor base() const { return grid->palette().color(QPalette::Base); }

    Codes codes;
    QStringList marks;
    std::unique_ptr<MarkableGrid> grid;
};

TEST_F(MarkableGridTest, ShowsTheOwnersRowsAsText)
{
    QAbstractTableModel *source = grid->source();
    EXPECT_EQ(source->rowCount(), 4);
    EXPECT_EQ(source->columnCount(), 3);
    EXPECT_EQ(source->headerData(1, Qt::Horizontal).toString(), QStringLiteral("NAME"));
    EXPECT_EQ(source->index(2, 1).data().toString(), QStringLiteral("third"));
    EXPECT_EQ(source->index(2, 1).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::black));
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid->currentRow(), 0) << "a reading stands on the first row";
}

TEST_F(MarkableGridTest, DoubleClickAndF3ToggleTheKeyOfTheRowInTheHighlightColour)
{
    ASSERT_NE(highlight(), base());
    doubleClick(1);
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(marks, QStringList{QStringLiteral("B")});
    EXPECT_EQ(painted(1), highlight());
    EXPECT_EQ(painted(0), base());

    pressF3(0);
    EXPECT_EQ(marks, (QStringList{QStringLiteral("B"), QStringLiteral("A")}));
    EXPECT_TRUE(grid->isMarked(2)) << "the other row keyed A";
    EXPECT_EQ(painted(2), highlight());
    QTest::keyClick(grid.get(), Qt::Key_F2);
    EXPECT_EQ(marks.size(), 2) << "only F3 toggles";
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_F3, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(grid.get(), &repeated);
    EXPECT_EQ(marks.size(), 2) << "an auto-repeated release does not toggle";

    pressF3(2);
    EXPECT_EQ(marks, QStringList{QStringLiteral("B")});
    EXPECT_EQ(painted(0), base());
    doubleClick(1);
    EXPECT_TRUE(marks.isEmpty());
}

TEST_F(MarkableGridTest, ARowWithoutKeyOrNoCurrentRowMarksNothing)
{
    pressF3(3);
    doubleClick(3);
    EXPECT_TRUE(marks.isEmpty());

    codes.set({QStringLiteral("CODE")}, {});
    grid->reload([] {});
    EXPECT_EQ(grid->currentRow(), -1);
    QTest::keyClick(grid.get(), Qt::Key_F3);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    grid->toggleCurrentMark();
    EXPECT_TRUE(marks.isEmpty());
}

TEST_F(MarkableGridTest, MarkAllTakesEachKeyOnceInRowOrderAndClearMarksEmpties)
{
    marks << QStringLiteral("Z");
    grid->setCurrentIndex(grid->source()->index(3, 1));
    grid->markAll();
    EXPECT_EQ(marks, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(grid->currentIndex(), grid->source()->index(0, 1)) << "the first row, in the same column";
    EXPECT_EQ(painted(2), highlight());
    EXPECT_EQ(painted(3), base());

    grid->clearMarks();
    EXPECT_TRUE(marks.isEmpty());
    EXPECT_EQ(painted(0), base());
}

TEST_F(MarkableGridTest, MarksChangedByTheOwnerShowAfterRepaintMarks)
{
    marks << QStringLiteral("B");
    grid->repaintMarks();
    EXPECT_EQ(painted(1), highlight());
    EXPECT_EQ(grid->source()->index(1, 0).data(Qt::BackgroundRole).value<QBrush>().color(), highlight());
}

TEST_F(MarkableGridTest, ReloadShowsTheNewRowsOnTheFirstOneAndPassesAFailureOn)
{
    grid->setCurrentIndex(grid->source()->index(2, 0));
    grid->reload([this] { codes.set({QStringLiteral("CODE")}, {{QStringLiteral("C")}, {QStringLiteral("D")}}); });
    EXPECT_EQ(grid->source()->rowCount(), 2);
    EXPECT_EQ(grid->source()->columnCount(), 1);
    EXPECT_EQ(grid->currentRow(), 0);

    EXPECT_THROW(grid->reload([this] {
        codes.set({}, {});
        throw std::runtime_error("unreadable");
    }),
                 std::runtime_error);
    EXPECT_EQ(grid->source()->rowCount(), 0) << "the grid shows what the failed reading left";
    EXPECT_EQ(grid->currentRow(), -1);
}

} // namespace
