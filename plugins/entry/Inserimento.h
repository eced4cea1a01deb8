// A data-entry window over one archive table: a grid of the table's rows,
// and the buttons of the suite's data-entry windows (save, cancel, delete,
// refresh, new row, print). Editing a cell first locks its row through the
// data module, so that a row edited on another workstation is refused at
// once.
#pragma once

#include "db/TableDataSet.h"

#include <QStyledItemDelegate>
#include <QTableView>
#include <QVariant>
#include <QWidget>

class QPushButton;

namespace tg {
class TTabXForm;
}

namespace taskgate_entry {

class DataSetModel;

// Opens an editor only when the data set agrees to enter edit mode (its
// before-edit hook may refuse): a refused edit leaves the cell as it is.
class LockingDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    LockingDelegate(tg::db::DataSet &dataSet, QObject *parent) : QStyledItemDelegate(parent), m_dataSet(dataSet) {}
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;

private:
    tg::db::DataSet &m_dataSet;
};

class TInserimentoForm : public QWidget {
    Q_OBJECT

public:
    // The window works on the module's company archive (IBDatabase1), on
    // the table named, and takes new keys from the generator named.
    TInserimentoForm(tg::TTabXForm &module, const QString &tableName, const QString &generator,
                     QWidget *parent = nullptr);
    ~TInserimentoForm() override;

    tg::db::TableDataSet DataSetTabella;
    QTableView *GridTabella;
    QPushButton *ButtonSalva;
    QPushButton *ButtonAnnulla;
    QPushButton *ButtonElimina;
    QPushButton *ButtonAggiorna;
    QPushButton *ButtonNuovo;
    QPushButton *ButtonStampa;

    void ButtonSalvaClick();
    void ButtonAnnullaClick();
    void ButtonEliminaClick();
    void ButtonAggiornaClick();
    void ButtonNuovoClick();
    // Prints the table's rows through the suite's report library.
    void ButtonStampaClick();

    DataSetModel *model() const { return m_model; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Runs a service of the module and shows the data set as it left it;
    // a database error is reported as the program reports any.
    template <typename Service>
    void run(Service &&service);
    void showCurrentRow();
    // Hands the text of an open cell editor to its row and closes it.
    void commitOpenEditor();

    tg::TTabXForm &m_module;
    QString m_tableName;
    QString m_generator;
    DataSetModel *m_model;
    QVariant m_bookmark;
    bool m_bookmarkValid = false;
};

} // namespace taskgate_entry
