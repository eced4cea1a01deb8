#include "data/QuadrelText.h"

namespace tg {

QVector<TQuadrel> parseQuadrel(const QString &text)
{
    QVector<TQuadrel> entries;
    QString section;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line.remove(QLatin1Char('\r'));
        if (line.startsWith(QLatin1Char('['))) {
            section = line.size() >= 2 ? line.mid(1, line.size() - 2) : QString();
            continue;
        }
        if (line.isEmpty()) {
            // Lines after an empty one belong to no section until the next header.
            section.clear();
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue; // no key
        TQuadrel entry{section, line.left(equals), line.mid(equals + 1)};
        if (!entry.Intestazione.isEmpty() && !entry.Parametro.isEmpty())
            entries.append(std::move(entry));
    }
    return entries;
}

QString renderQuadrel(const QVector<TQuadrel> &rows)
{
    QString text;
    QString lastHeader;
    for (const TQuadrel &row : rows) {
        if (!row.Intestazione.isEmpty() && row.Intestazione != lastHeader) {
            text += QLatin1Char('[') + row.Intestazione + QStringLiteral("]\n");
            lastHeader = row.Intestazione;
        }
        if (!row.Parametro.isEmpty())
            text += row.Parametro + QLatin1Char('=') + row.Valore;
        text += QLatin1Char('\n');
    }
    return text;
}

QString senzaApici(const QString &text)
{
    QString result = text;
    result.remove(QLatin1Char('\''));
    return result;
}

QString testoPerEditor(const QString &stored)
{
    QString result = stored;
    result.remove(QLatin1Char('\r'));
    return result;
}

QString testoDaMemorizzare(const QString &editorText)
{
    QString result = editorText;
    result.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return result;
}

bool haMarcatoreInattiva(const QString &section)
{
    return section.contains(MarcatoreInattiva);
}

QString senzaMarcatoreInattiva(const QString &section)
{
    // One pass can join the pieces around a removed marker into a new one
    // (" <IN <INATTIVA>ATTIVA>"): remove until none is left.
    QString result = section;
    while (result.contains(MarcatoreInattiva))
        result.remove(MarcatoreInattiva);
    return result;
}

QString applicaDitteInattive(const QString &text, const QStringList &inactive)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (!line.startsWith(QLatin1Char('[')))
            continue;
        // A stored text may still end its lines with a carriage return; it
        // is looked for once the markers are gone, since a marker removed
        // after it would otherwise leave it at the end for the next time.
        line = senzaMarcatoreInattiva(line);
        const bool carriageReturn = line.endsWith(QLatin1Char('\r'));
        if (carriageReturn)
            line.chop(1);
        for (const QString &name : inactive) {
            if (line == QLatin1Char('[') + name + QLatin1Char(']')) {
                line = QLatin1Char('[') + name + MarcatoreInattiva + QLatin1Char(']');
                break;
            }
        }
        if (carriageReturn)
            line += QLatin1Char('\r');
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace tg
