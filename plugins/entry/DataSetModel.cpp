#include "DataSetModel.h"

#include "db/DataSet.h"
#include "db/DatabaseError.h"
#include "platform/Prompter.h"

namespace taskgate_entry {

DataSetModel::DataSetModel(tg::db::DataSet &dataSet, QObject *parent) : QAbstractTableModel(parent), m_dataSet(dataSet)
{
    connect(&m_dataSet, &tg::db::DataSet::rowsChanged, this, [this] {
        if (!m_writing)
            refresh();
    });
}

int DataSetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_dataSet.recordCount();
}

int DataSetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_dataSet.active() ? 0 : m_dataSet.fieldCount();
}

QVariant DataSetModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return m_dataSet.value(index.row(), index.column()).asText();
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return m_dataSet.fieldName(section);
    return section + 1;
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool DataSetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid())
        return false;
    if (m_dataSet.value(index.row(), index.column()).asText() == value.toString())
        return false; // an editor left unchanged writes nothing
    m_writing = true;
    bool written = false;
    try {
        written = m_dataSet.moveTo(index.row()) && m_dataSet.setFieldValue(index.column(), value);
    } catch (const tg::db::DatabaseError &error) {
        tg::showMessage(tg::MessageKind::Error, error.message());
    }
    m_writing = false;
    if (written)
        emit dataChanged(index, index);
    return written;
}

void DataSetModel::refresh()
{
    beginResetModel();
    endResetModel();
}

} // namespace taskgate_entry
