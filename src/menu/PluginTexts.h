#pragma once

#include "taskgate_core_export.h"

#include <QByteArray>
#include <QString>

namespace tg {

// The parameter text handed to a plug-in in counted form: a reference count
// of -1, the length in bytes, the bytes in the suite's code page and a zero
// byte; data() points at the first character, or is null for the empty text
// (a text that gives no byte in the code page).
class TASKGATE_CORE_EXPORT CountedText {
public:
    explicit CountedText(const QString &text);
    const char *data() const { return m_empty ? nullptr : m_buffer.constData() + HeaderSize; }

    static constexpr int HeaderSize = 8;

private:
    QByteArray m_buffer;
    bool m_empty = true;
};

// The same text in plain form: zero-terminated, never null.
class TASKGATE_CORE_EXPORT PlainText {
public:
    explicit PlainText(const QString &text);
    const char *data() const { return m_bytes.constData(); }

private:
    QByteArray m_bytes;
};

} // namespace tg
