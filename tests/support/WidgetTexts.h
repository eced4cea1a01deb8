#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QStringList>

// The texts a list or a combo box offers, in their order.
namespace tg::test {

inline QStringList items(const QListWidget *list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

inline QStringList items(const QComboBox *combo)
{
    QStringList result;
    for (int i = 0; i < combo->count(); ++i)
        result << combo->itemText(i);
    return result;
}

} // namespace tg::test
