#include "data/MemTabX.h"

#include "data/ConversionError.h"
#include "data/ShortDate.h"

#include <limits>

namespace tg {

int MemTabX::locate(const std::function<bool(const Record &)> &accepts) const
{
    for (int i = 0; i < m_records.size(); ++i) {
        if (accepts(m_records[i]))
            return i;
    }
    return -1;
}

int MemTabX::post(Record record, int index)
{
    record.Tipo.truncate(TipoWidth);
    record.Nome.truncate(NomeWidth);
    record.Testo.truncate(TestoWidth);
    if (index < 0) {
        record.Codice = ++m_lastCodice;
        m_records.append(std::move(record));
        return static_cast<int>(m_records.size()) - 1;
    }
    m_records[index] = std::move(record);
    return index;
}

std::optional<qint64> MemTabX::numberFromText(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok)
        throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

std::optional<qint16> MemTabX::smallFromText(const QString &text)
{
    const std::optional<qint64> value = numberFromText(text);
    if (!value)
        return std::nullopt;
    if (*value < std::numeric_limits<qint16>::min() || *value > std::numeric_limits<qint16>::max())
        throw ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return static_cast<qint16>(*value);
}

QDate MemTabX::dateFromText(const QString &text)
{
    return text.isEmpty() ? QDate() : parseShortDate(text);
}

} // namespace tg
