#pragma once

#include <QStringList>
#include <QTableView>
#include <QVector>
#include <functional>

class QAbstractTableModel;
class QKeyEvent;
class QModelIndex;
class QMouseEvent;
class QPainter;
class QStyleOptionViewItem;

namespace tg {

// A read-only grid of rows, every value as text, whose rows the user marks
// and unmarks with a double click or F3. A row is marked by its key (the
// value of one of its columns): rows sharing a key are marked together, and
// a row with an empty key cannot be marked, so no empty key is ever among
// the marks. Marked rows are painted in the palette's highlight colour, the
// others in its base colour, every value in black 2 pixels in from the cell's
// corner.
//
// The rows and the list of marks belong to the grid's owner: the grid reads
// them at every paint, and the owner reads the rows again through reload().
// Both must outlive the grid.
class MarkableGrid : public QTableView {
    Q_OBJECT

public:
    // Where the grid finds the rows it shows.
    struct Rows {
        std::function<const QStringList &()> columns;
        std::function<const QVector<QStringList> &()> rows;
        // The key of a row; empty for a row that cannot be marked or does
        // not exist.
        std::function<QString(int row)> key;
    };
    // The rows of a list with columns(), rows() and a member giving a row's key.
    template <class List>
    static Rows rowsOf(const List &list, QString (List::*key)(int) const)
    {
        return {[&list]() -> const QStringList & { return list.columns(); },
                [&list]() -> const QVector<QStringList> & { return list.rows(); },
                [&list, key](int row) { return (list.*key)(row); }};
    }

    // marks holds the marked keys, each at most once, in marking order.
    MarkableGrid(Rows rows, QStringList &marks, QWidget *parent);

    // The model the grid shows: a child of the grid.
    QAbstractTableModel *source() const;

    // The current row, -1 without one.
    int currentRow() const;
    bool isMarked(int row) const;
    // The fill colour of a row's cells.
    QColor cellColour(int row) const;

    // Marks the current row's key, or unmarks it when it was marked; a row
    // with an empty key, or no current row, changes nothing.
    void toggleCurrentMark();
    // A key released in the grid: F3 toggles the current row's mark.
    void keyUp(int key);
    // Marks every non-empty key of the rows, each once, in row order, in
    // place of the earlier marks; the first row becomes current, in the
    // current column.
    void markAll();
    void clearMarks();
    // The marks changed outside the grid: every cell is painted again.
    void repaintMarks();
    // Reads the rows again through read, which the grid shows afterwards
    // standing on the first row. A failure of read reaches the caller, with
    // the grid showing whatever rows read left.
    void reload(const std::function<void()> &read);

    // Paints one data cell in its row's colour, with its value and, for the
    // current cell of a focused grid, the focus frame.
    void drawDataCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;

protected:
    // A double click makes the row under the pointer current and toggles
    // its mark; it does nothing else.
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    class Source;
    class CellPainter;

    Rows m_rows;
    QStringList &m_marks;
    Source *m_source;
};

} // namespace tg
