#pragma once

#include "db/Query.h"
#include "semaphores/TakenSemaphores.h"
#include "widgets/MarkableGrid.h"

#include <QDialog>
#include <QStringList>

class QAbstractTableModel;
class QLabel;
class QPushButton;

namespace tg {

struct TabXHolder;

// The semaphores screen: the semaphores taken in the current company's
// archive, of which the user selects some by ID and releases them. Every
// use of the release command is written to the anomaly log.
class TSemaforiForm : public QDialog {
    Q_OBJECT

public:
    // Reads the list at once; when SEMAFORIF cannot be read the error is
    // shown and the screen opens with an empty grid.
    TSemaforiForm(QWidget *owner, TabXHolder *holder);
    ~TSemaforiForm() override;

    // Toggles the selection of the current row's ID.
    void GridSemaforiDblClick();
    // A key released in the grid: F3 acts as a double click.
    void GridSemaforiKeyUp(int key);
    void ButtonSelClick();
    void ButtonDeSelClick();
    void ButtonLiberaSemaforiClick();
    // Selects every listed semaphore whose workstation is provably gone, so
    // that "Libera semafori" then releases them.
    void ButtonSegnaOrfaniClick();
    void ButtonChiudiClick();
    // Paints one data cell: the desktop colour for a selected row, the
    // window colour otherwise, and the value in black 2 pixels in from the
    // corner.
    void GridSemaforiDrawDataCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index);

    QColor cellColour(int row) const;
    bool isSelected(int row) const;
    const TakenSemaphores &semafori() const { return m_semafori; }

    TabXHolder *PTabX;
    // The selected IDs as text, in selection order.
    QStringList Selezione;
    db::Query QuerySemafori;
    db::Query QueryAux;

    QLabel *Label1;
    MarkableGrid *GridSemafori;
    QPushButton *ButtonSel;
    QPushButton *ButtonDeSel;
    QPushButton *ButtonLiberaSemafori;
    QPushButton *ButtonSegnaOrfani;
    QPushButton *ButtonChiudi;
    // The grid's rows.
    QAbstractTableModel *SourceSemafori;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void createControls();
    void placeControls();
    void reloadGrid();

    TakenSemaphores m_semafori;
};

} // namespace tg
