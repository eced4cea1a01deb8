#include "db/QueryDataSet.h"

#include <QRegularExpression>

namespace tg::db {

QueryDataSet::QueryDataSet(Database *database, Transaction *transaction) : DataSet(database, transaction) {}

QString QueryDataSet::tableName() const
{
    if (!m_updateTable.isEmpty())
        return m_updateTable;
    static const QRegularExpression from(QStringLiteral("\\bFROM\\s+([A-Za-z_][A-Za-z0-9_$]*)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = from.match(m_sql.join(QLatin1Char('\n')));
    return match.hasMatch() ? match.captured(1) : QString();
}

} // namespace tg::db
