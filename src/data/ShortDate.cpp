#include "data/ShortDate.h"

#include "data/ConversionError.h"

namespace tg {
namespace {
QString currentFormat = QStringLiteral("dd/MM/yyyy");
}

const QString &shortDateFormat()
{
    return currentFormat;
}

void setShortDateFormat(const QString &format)
{
    currentFormat = format;
}

QDate parseShortDate(const QString &text)
{
    // Day and month may be typed with one digit, as the short format allows.
    const QString trimmed = text.trimmed();
    QDate date = QDate::fromString(trimmed, currentFormat);
    if (!date.isValid())
        date = QDate::fromString(trimmed, QStringLiteral("d/M/yyyy"));
    if (!date.isValid())
        throw ConversionError(QStringLiteral("'%1' is not a valid date").arg(text));
    return date;
}

} // namespace tg
