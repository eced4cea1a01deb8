#pragma once

#include "db/Query.h"
#include "sessions/OpenSessions.h"
#include "widgets/MarkableGrid.h"

#include <QDialog>
#include <QStringList>

class QAbstractTableModel;
class QLabel;
class QPushButton;

namespace tg {

struct TabXHolder;

// The open-sessions screen: the current user's work sessions that were
// never closed (a user change, a program that ended without its closing),
// which the user marks and closes here. The current session is listed and
// may be closed too.
class TSessioniForm : public QDialog {
    Q_OBJECT

public:
    // Reads the list at once; a failure of that reading reaches the caller.
    TSessioniForm(QWidget *owner, TabXHolder *holder);
    ~TSessioniForm() override;

    // Toggles the mark of the grid's current row.
    void GridSessioniDblClick();
    // A key released in the grid: F3 toggles the current row's mark.
    void GridSessioniKeyUp(int key);
    void ButtonSelClick();
    void ButtonDeSelClick();
    void ButtonChiudiSelClick();
    // Marks every listed session whose workstation is provably gone, so that
    // "Chiudi selezionate" then closes them.
    void ButtonSegnaOrfaneClick();
    void ButtonChiudiClick();
    // Paints one data cell: the desktop colour for a marked row, the window
    // colour otherwise, and the value in black 2 pixels in from the corner.
    void GridSessioniDrawDataCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index);

    // The fill colour of a row's cells.
    QColor cellColour(int row) const;
    bool isMarked(int row) const;
    const OpenSessions &sessioni() const { return m_sessions; }

    TabXHolder *PTabX;
    // The marked session codes, each at most once, in marking order.
    QStringList SessioniSelezionate;
    db::Query QuerySessioni;
    db::Query QueryAux;

    QLabel *Label1;
    MarkableGrid *GridSessioni;
    QPushButton *ButtonSel;
    QPushButton *ButtonDeSel;
    QPushButton *ButtonChiudiSel;
    QPushButton *ButtonSegnaOrfane;
    QPushButton *ButtonChiudi;
    // The grid's rows.
    QAbstractTableModel *SourceSessioni;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    void placeControls();
    void reloadGrid();

    OpenSessions m_sessions;
};

} // namespace tg
