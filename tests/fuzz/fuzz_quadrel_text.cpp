// The parameter-set text: the editor's parse (the line rules used when the
// editor saves), the rendering of the rows into the stored text, the
// conversions between the stored and the edited form, the removal of
// apostrophes and the company enabling, checked against one another:
//  - every entry the parse gives has a section and a key, no line break in
//    any field, a key without "=" that does not open a header;
//  - carriage returns change nothing the parse sees; stored and edited forms
//    convert into each other;
//  - rendering the parsed entries, in text order or in the stored order
//    (sorted by section), and parsing the rendering gives the same entries
//    back, and rendering again gives the same text;
//  - rendering arbitrary rows gives one line per row plus one per header,
//    each ending with a line feed, and rows of the kind the parse gives come
//    back unchanged;
//  - the company enabling touches header lines only, is idempotent, and
//    marks exactly the listed companies;
//  - a section name without its markers carries no marker.
//
// Input: the text (UTF-8), then up to three inactive company names, then
// rows as section, key, value triples; pieces separated by zero bytes.

#include "FuzzSupport.h"

#include "data/QuadrelText.h"

#include <algorithm>

using namespace tg;

namespace {

QString shownEntries(const QVector<TQuadrel> &entries)
{
    QStringList lines;
    for (const TQuadrel &entry : entries)
        lines << QLatin1Char('(') + entry.Intestazione + QLatin1Char('|') + entry.Parametro + QLatin1Char('|')
                     + entry.Valore + QLatin1Char(')');
    return lines.join(QLatin1Char(' '));
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// A row of the kind the parse gives: the rendering must carry it unchanged.
bool parseable(const TQuadrel &row)
{
    return !row.Intestazione.isEmpty() && !row.Parametro.isEmpty() && !hasLineBreak(row.Intestazione)
           && !hasLineBreak(row.Parametro) && !hasLineBreak(row.Valore) && !row.Parametro.contains(QLatin1Char('='))
           && !row.Parametro.startsWith(QLatin1Char('['));
}

// The rows in the order the store reads them back: by section, then by
// position (the text order).
QVector<TQuadrel> storedOrder(QVector<TQuadrel> rows)
{
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TQuadrel &a, const TQuadrel &b) { return a.Intestazione < b.Intestazione; });
    return rows;
}

void checkRenderingRoundTrip(const QVector<TQuadrel> &rows, const QString &case_)
{
    const QString rendered = renderQuadrel(rows);
    const QVector<TQuadrel> back = parseQuadrel(rendered);
    FUZZ_CHECK(back == rows, case_ + QStringLiteral("\nrows: ") + shownEntries(rows) + QStringLiteral("\nrendered: ")
                                 + rendered + QStringLiteral("\nparsed back: ") + shownEntries(back));
    FUZZ_CHECK(renderQuadrel(back) == rendered, case_ + QStringLiteral("\nrendered: ") + rendered);
    FUZZ_CHECK(!rendered.contains(QLatin1Char('\r')), case_);
}

void checkParse(const QString &text)
{
    const QString case_ = QStringLiteral("text: ") + text;
    const QVector<TQuadrel> entries = parseQuadrel(text);
    FUZZ_CHECK(entries.size() <= text.count(QLatin1Char('\n')) + 1, case_);
    for (const TQuadrel &entry : entries)
        FUZZ_CHECK(parseable(entry), case_ + QStringLiteral("\nentry: ") + shownEntries({entry}));

    // Carriage returns are no part of the lines.
    const QString stored = testoDaMemorizzare(text);
    const QString edited = testoPerEditor(text);
    FUZZ_CHECK(!edited.contains(QLatin1Char('\r')), case_);
    FUZZ_CHECK(parseQuadrel(stored) == entries, case_ + QStringLiteral("\nstored form: ") + stored);
    FUZZ_CHECK(parseQuadrel(edited) == entries, case_ + QStringLiteral("\nedited form: ") + edited);
    FUZZ_CHECK(testoPerEditor(stored) == edited, case_);
    FUZZ_CHECK(stored.count(QLatin1Char('\n')) == text.count(QLatin1Char('\n')), case_);
    if (!text.contains(QLatin1Char('\r')))
        FUZZ_CHECK(testoPerEditor(stored) == text, case_);

    // What the editor saves holds no apostrophe, in the text or in the rows.
    const QString saved = senzaApici(text);
    FUZZ_CHECK(!saved.contains(QLatin1Char('\'')), case_);
    FUZZ_CHECK(saved.size() == text.size() - text.count(QLatin1Char('\'')), case_);
    FUZZ_CHECK(senzaApici(saved) == saved, case_);
    for (const TQuadrel &entry : parseQuadrel(saved))
        FUZZ_CHECK(!(entry.Intestazione + entry.Parametro + entry.Valore).contains(QLatin1Char('\'')), case_);

    checkRenderingRoundTrip(entries, case_);
    checkRenderingRoundTrip(storedOrder(entries), case_ + QStringLiteral(" (stored order)"));
}

void checkRendering(const QVector<TQuadrel> &rows)
{
    const QString case_ = QStringLiteral("rows: ") + shownEntries(rows);
    const QString rendered = renderQuadrel(rows);
    FUZZ_CHECK(rows.isEmpty() == rendered.isEmpty(), case_);
    FUZZ_CHECK(rendered.isEmpty() || rendered.endsWith(QLatin1Char('\n')), case_);

    bool lineBreakInside = false;
    qsizetype headers = 0;
    QString last;
    for (const TQuadrel &row : rows) {
        lineBreakInside = lineBreakInside || (row.Intestazione + row.Parametro + row.Valore).contains(QLatin1Char('\n'));
        if (!row.Intestazione.isEmpty() && row.Intestazione != last) {
            ++headers;
            last = row.Intestazione;
        }
    }
    if (!lineBreakInside) {
        // One line per row and one per header, in row order.
        const QStringList lines = rendered.split(QLatin1Char('\n'));
        FUZZ_CHECK(lines.size() == rows.size() + headers + 1, case_ + QStringLiteral("\nrendered: ") + rendered);
        qsizetype line = 0;
        last.clear();
        for (const TQuadrel &row : rows) {
            if (!row.Intestazione.isEmpty() && row.Intestazione != last) {
                FUZZ_CHECK(lines.at(line++) == QLatin1Char('[') + row.Intestazione + QLatin1Char(']'), case_);
                last = row.Intestazione;
            }
            const QString expected =
                row.Parametro.isEmpty() ? QString() : row.Parametro + QLatin1Char('=') + row.Valore;
            FUZZ_CHECK(lines.at(line++) == expected, case_ + QStringLiteral("\nrendered: ") + rendered);
        }
    }
    if (std::all_of(rows.begin(), rows.end(), parseable))
        checkRenderingRoundTrip(rows, case_);
}

void checkEnabling(const QString &text, const QStringList &inactive)
{
    const QString case_ = QStringLiteral("text: ") + text + QStringLiteral("\ninactive: ") + inactive.join(u'|');
    const QString result = applicaDitteInattive(text, inactive);
    FUZZ_CHECK(applicaDitteInattive(result, inactive) == result, case_ + QStringLiteral("\nonce: ") + result);

    const QStringList before = text.split(QLatin1Char('\n'));
    const QStringList after = result.split(QLatin1Char('\n'));
    FUZZ_CHECK(before.size() == after.size(), case_);
    for (qsizetype i = 0; i < before.size(); ++i) {
        QString line = before.at(i);
        if (!line.startsWith(QLatin1Char('['))) {
            FUZZ_CHECK(after.at(i) == line, case_);
            continue;
        }
        // Markers go first; a carriage return then at the end of the header
        // stays there.
        QString unmarked = senzaMarcatoreInattiva(line);
        QString changed = after.at(i);
        FUZZ_CHECK(unmarked.endsWith(QLatin1Char('\r')) == changed.endsWith(QLatin1Char('\r')), case_);
        if (unmarked.endsWith(QLatin1Char('\r'))) {
            unmarked.chop(1);
            changed.chop(1);
        }
        FUZZ_CHECK(changed.startsWith(QLatin1Char('[')), case_);
        // Marked exactly when it names a listed company; otherwise nothing
        // but markers is removed.
        const qsizetype listed = std::count_if(inactive.begin(), inactive.end(), [&](const QString &name) {
            return unmarked == QLatin1Char('[') + name + QLatin1Char(']');
        });
        if (listed > 0)
            FUZZ_CHECK(changed == unmarked.chopped(1) + MarcatoreInattiva + QLatin1Char(']'),
                       case_ + QStringLiteral("\nheader: ") + changed);
        else
            FUZZ_CHECK(changed == unmarked, case_ + QStringLiteral("\nheader: ") + changed);
    }
}

void checkMarker(const QString &section)
{
    const QString unmarked = senzaMarcatoreInattiva(section);
    FUZZ_CHECK(!haMarcatoreInattiva(unmarked), QStringLiteral("section: ") + section + QStringLiteral("\nunmarked: ") + unmarked);
    FUZZ_CHECK(haMarcatoreInattiva(section) == (unmarked != section), QStringLiteral("section: ") + section);
    FUZZ_CHECK(haMarcatoreInattiva(section + MarcatoreInattiva), QStringLiteral("section: ") + section);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input input(data, size);
    const QString text = QString::fromUtf8(input.piece());
    QStringList inactive;
    for (int i = 0; i < 3; ++i) {
        const QByteArray name = input.piece();
        if (!name.isEmpty())
            inactive << QString::fromUtf8(name);
    }
    QVector<TQuadrel> rows;
    for (;;) {
        const QByteArray section = input.piece();
        const QByteArray key = input.piece();
        const QByteArray value = input.piece();
        if (section.isEmpty() && key.isEmpty() && value.isEmpty())
            break;
        rows.append({QString::fromUtf8(section), QString::fromUtf8(key), QString::fromUtf8(value)});
    }

    checkParse(text);
    checkRendering(rows);
    checkEnabling(text, inactive);
    for (const QString &line : text.split(QLatin1Char('\n')))
        checkMarker(line);
    for (const QString &name : inactive)
        checkMarker(name);
    return 0;
}
