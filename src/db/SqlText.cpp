#include "db/SqlText.h"

namespace tg::db {

QString quotedValue(const QString &text)
{
    QString result = text;
    result.replace(QLatin1Char('\''), QStringLiteral("''"));
    return result;
}

} // namespace tg::db
