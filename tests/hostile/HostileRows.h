// Values that the suite's other programs and its users may leave in any text
// column, and a check that what the front-end was not asked to change stays
// exactly as it was.
#pragma once

#include "AppDirectory.h"

#include "db/SqlText.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <functional>

namespace tg::test::hostile {

// An apostrophe, accented capital and small letters, the acute accent and the
// euro sign: every one of them one byte in the suite's code page.
inline const QString Mixed = QStringLiteral("L'Àncora di Forlì ´ 5€");

// A text of exactly `length` characters made of the mixed text, repeated.
inline QString longest(int length, const QString &seed = Mixed)
{
    QString text;
    while (text.size() < length)
        text += seed;
    return text.left(length);
}

// The statement literal of a text: between single quotes, apostrophes doubled.
inline QString literal(const QString &text)
{
    return QLatin1Char('\'') + db::quotedValue(text) + QLatin1Char('\'');
}

// Every row of every table of a database, read as text ("|" between the
// values), per table. The texts are all within the suite's single-byte code
// page, so equal texts are equal bytes.
using Tables = QMap<QString, QStringList>;

inline Tables readTables(const QString &database)
{
    Tables tables;
    const QStringList names = AppDirectory::queryRows(
        database, QStringLiteral("SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS "
                                 "WHERE RDB$SYSTEM_FLAG=0 AND RDB$VIEW_BLR IS NULL"));
    for (const QString &name : names) {
        QStringList rows = AppDirectory::queryRows(database, QStringLiteral("SELECT * FROM \"%1\"").arg(name));
        rows.sort();
        tables.insert(name, rows);
    }
    return tables;
}

// Which rows an operation was meant to change (or remove): table and row text.
using MayChange = std::function<bool(const QString &table, const QString &row)>;

inline const MayChange NothingChanges = [](const QString &, const QString &) { return false; };

// Every row of `before` that may not change is still there, as often and byte
// for byte; rows may be added.
inline void expectRowsKept(const Tables &before, const Tables &after, const MayChange &mayChange,
                           const char *where)
{
    for (auto table = before.cbegin(); table != before.cend(); ++table) {
        const QStringList now = after.value(table.key());
        for (const QString &row : table.value()) {
            if (mayChange(table.key(), row))
                continue;
            EXPECT_GE(now.count(row), table.value().count(row))
                << where << ": row of " << table.key().toStdString() << " changed or lost: " << row.toStdString();
        }
    }
}

} // namespace tg::test::hostile
