#pragma once

#include "taskgate_core_export.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The parameter-set text as the configuration editor reads and writes it:
// section headers in square brackets, one "key=value" line per parameter.
// Nothing here knows a widget or a database, so the rules are tested (and
// fuzzed) on their own.
namespace tg {

// One parameter of the text: the section (company) it belongs to, its key
// and its value.
struct TASKGATE_CORE_EXPORT TQuadrel {
    QString Intestazione;
    QString Parametro;
    QString Valore;

    friend bool operator==(const TQuadrel &, const TQuadrel &) = default;
};

// The marker that a deactivated company carries at the end of its section
// name, blank included.
inline const QString MarcatoreInattiva = QStringLiteral(" <INATTIVA>");

// The parameters of a text, in text order. Lines are split at line feeds (a
// last line without one counts) and every carriage return is dropped. A line
// starting with "[" opens the section named by the line without its first and
// last character; an empty line closes the section; any other line is a
// parameter: the key before the first "=", the value after it (no "=" means
// no key). Only a line with both a section and a key gives a parameter.
TASKGATE_CORE_EXPORT QVector<TQuadrel> parseQuadrel(const QString &text);

// The parameter-set text rebuilt from rows taken in the stored order (a NULL
// column given as the empty text). A row whose section is non-empty and
// differs from the last header written first gives the header line "[" +
// section + "]"; every row then gives the line key "=" value, or an empty
// line when its key is empty. Every line ends with a line feed; the text has
// no carriage return of its own.
TASKGATE_CORE_EXPORT QString renderQuadrel(const QVector<TQuadrel> &rows);

// The text with every single-quote character removed.
TASKGATE_CORE_EXPORT QString senzaApici(const QString &text);

// The stored text as the editor shows it: lines separated by line feeds
// only. Carriage returns are dropped, as the parse ignores them, so that what
// the editor shows is exactly what it parses.
TASKGATE_CORE_EXPORT QString testoPerEditor(const QString &stored);

// The editor's text as it is stored: lines separated by carriage return and
// line feed.
TASKGATE_CORE_EXPORT QString testoDaMemorizzare(const QString &editorText);

// Whether a section name carries the inactive marker (exact case, blank
// included), and the name with every marker removed (also the markers that
// removing others brings together), so that it carries none.
TASKGATE_CORE_EXPORT bool haMarcatoreInattiva(const QString &section);
TASKGATE_CORE_EXPORT QString senzaMarcatoreInattiva(const QString &section);

// The text with the company enabling applied: every header line loses its
// markers, then each header naming one of the inactive companies (exact
// case) gets the marker before its closing bracket. Only header lines are
// touched: a key or value that mentions a company or the marker stays as it
// is.
TASKGATE_CORE_EXPORT QString applicaDitteInattive(const QString &text, const QStringList &inactive);

} // namespace tg
