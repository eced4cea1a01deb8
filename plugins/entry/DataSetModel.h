// The rows of a data set as a table model for a grid: values shown and
// edited in their text form, columns named after the fields.
#pragma once

#include <QAbstractTableModel>

namespace tg::db {
class DataSet;
}

namespace taskgate_entry {

class DataSetModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit DataSetModel(tg::db::DataSet &dataSet, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Writes the text into the data set's current row (the data set's
    // before-edit hook has already run when the editor opened); a text the
    // column cannot take is reported and refused.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Shows the data set as it is now. The data set closes silently when its
    // transaction ends, so the window calls this after every service.
    void refresh();

private:
    tg::db::DataSet &m_dataSet;
    bool m_writing = false;
};

} // namespace taskgate_entry
