#pragma once

#include "taskgate_core_export.h"

#include <QDate>
#include <QString>
#include <QVector>
#include <functional>
#include <optional>

namespace tg {

// The in-memory table of named values. Records are only added or changed,
// never deleted; text fields keep at most their width.
class TASKGATE_CORE_EXPORT MemTabX {
public:
    static constexpr int TipoWidth = 10;
    static constexpr int NomeWidth = 64;
    static constexpr int TestoWidth = 128;

    struct Record {
        int Codice = 0;
        QString Tipo;
        QString Nome;
        std::optional<qint64> Numero;
        QString Testo;
        QDate Data; // null date: empty
        QString Memo;
        std::optional<qint16> Livello1;
        std::optional<qint16> Livello2;
        std::optional<qint16> Utente;
    };

    void open() { m_open = true; }
    bool isOpen() const { return m_open; }
    int recordCount() const { return static_cast<int>(m_records.size()); }

    // Index of the first record the predicate accepts, or -1.
    int locate(const std::function<bool(const Record &)> &accepts) const;
    const Record &record(int index) const { return m_records.at(index); }

    // Stores a record at index (or appends it when index is -1, giving it the
    // next record number), cutting its texts to their widths. Returns its index.
    int post(Record record, int index = -1);

    // The value fields of a record taken from their texts: an empty text
    // leaves a field empty, numbers are decimal integers, dates are in the
    // short date format. Throws ConversionError on a text that is neither.
    static std::optional<qint64> numberFromText(const QString &text);
    static std::optional<qint16> smallFromText(const QString &text);
    static QDate dateFromText(const QString &text);

private:
    bool m_open = false;
    int m_lastCodice = 0;
    QVector<Record> m_records;
};

} // namespace tg
