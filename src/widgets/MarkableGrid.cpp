#include "widgets/MarkableGrid.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace tg {

// The owner's rows, as the grid shows them.
class MarkableGrid::Source : public QAbstractTableModel {
public:
    explicit Source(MarkableGrid *grid) : QAbstractTableModel(grid), m_grid(grid) {}

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_grid->m_rows.rows().size());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_grid->m_rows.columns().size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        switch (role) {
        case Qt::DisplayRole: return m_grid->m_rows.rows()[index.row()].value(index.column());
        case Qt::BackgroundRole: return QBrush(m_grid->cellColour(index.row()));
        case Qt::ForegroundRole: return QBrush(Qt::black);
        default: return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return m_grid->m_rows.columns().value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    void beginReload() { beginResetModel(); }
    void endReload() { endResetModel(); }
    // The marks changed: every cell is painted again.
    void marksChanged()
    {
        if (rowCount() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
    }

private:
    MarkableGrid *m_grid;
};

// Hands the painting of every data cell to the grid.
class MarkableGrid::CellPainter : public QStyledItemDelegate {
public:
    explicit CellPainter(MarkableGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        m_grid->drawDataCell(painter, option, index);
    }

private:
    MarkableGrid *m_grid;
};

MarkableGrid::MarkableGrid(Rows rows, QStringList &marks, QWidget *parent)
    : QTableView(parent), m_rows(std::move(rows)), m_marks(marks), m_source(new Source(this))
{
    setModel(m_source);
    setItemDelegate(new CellPainter(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    // A header wider than its column is cut at its end, never at its start.
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QAbstractTableModel *MarkableGrid::source() const
{
    return m_source;
}

int MarkableGrid::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

bool MarkableGrid::isMarked(int row) const
{
    return !m_rows.rows().isEmpty() && m_marks.contains(m_rows.key(row));
}

QColor MarkableGrid::cellColour(int row) const
{
    return palette().color(isMarked(row) ? QPalette::Highlight : QPalette::Base);
}

void MarkableGrid::toggleCurrentMark()
{
    // Without a current row there is nothing to mark: an empty key would
    // make every later write by the marked keys fail.
    const QString key = m_rows.key(currentRow());
    if (key.isEmpty())
        return;
    if (!m_marks.removeOne(key))
        m_marks << key;
    repaintMarks();
}

void MarkableGrid::keyUp(int key)
{
    if (key == Qt::Key_F3)
        toggleCurrentMark();
}

void MarkableGrid::markAll()
{
    m_marks.clear();
    setUpdatesEnabled(false);
    const int rowCount = m_source->rowCount();
    for (int row = 0; row < rowCount; ++row) {
        const QString key = m_rows.key(row);
        if (!key.isEmpty() && !m_marks.contains(key))
            m_marks << key;
    }
    if (rowCount > 0)
        setCurrentIndex(m_source->index(0, qMax(0, currentIndex().column())));
    setUpdatesEnabled(true);
    repaintMarks();
}

void MarkableGrid::clearMarks()
{
    m_marks.clear();
    repaintMarks();
}

void MarkableGrid::repaintMarks()
{
    m_source->marksChanged();
    viewport()->update();
}

void MarkableGrid::reload(const std::function<void()> &read)
{
    m_source->beginReload();
    try {
        read();
    } catch (...) {
        m_source->endReload();
        throw;
    }
    m_source->endReload();
    // Every column as wide as its header and its widest value.
    resizeColumnsToContents();
    // The reread list stands on its first row.
    if (m_source->rowCount() > 0)
        setCurrentIndex(m_source->index(0, 0));
}

void MarkableGrid::drawDataCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QColor fill = cellColour(index.row());
    painter->save();
    painter->fillRect(option.rect, fill);
    painter->setClipRect(option.rect);
    painter->setFont(option.font);
    painter->setPen(Qt::black);
    painter->drawText(option.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = option.rect;
        focus.state = option.state | QStyle::State_KeyboardFocusChange;
        focus.backgroundColor = fill;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, this);
    }
    painter->restore();
}

void MarkableGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The row under the pointer becomes current before its mark toggles.
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid())
        setCurrentIndex(at);
    toggleCurrentMark();
    event->accept();
}

void MarkableGrid::keyReleaseEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat())
        keyUp(event->key());
    QTableView::keyReleaseEvent(event);
}

} // namespace tg
