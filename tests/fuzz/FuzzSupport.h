#pragma once

// Shared pieces of the fuzz targets: splitting an input into parts, a
// prompter that records the messages, and the check that ends the run with a
// report when a property does not hold (libFuzzer keeps the input as a
// finding; the corpus replay test fails).

#include "platform/Prompter.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace tg::fuzz {

// A text in a form that shows every character: printable ASCII as it is,
// anything else as \uXXXX.
inline QByteArray shown(const QString &text)
{
    QByteArray result;
    for (const QChar c : text) {
        const ushort code = c.unicode();
        if (code >= 0x20 && code < 0x7F && code != '\\')
            result += static_cast<char>(code);
        else
            result += QStringLiteral("\\u%1").arg(code, 4, 16, QLatin1Char('0')).toLatin1();
    }
    return result;
}

[[noreturn]] inline void fail(const char *file, int line, const char *condition, const QString &detail)
{
    std::fprintf(stderr, "%s:%d: property violated: %s\n%s\n", file, line, condition, shown(detail).constData());
    std::fflush(stderr);
    std::abort();
}

#define FUZZ_CHECK(condition, detail)                                                                 \
    do {                                                                                              \
        if (!(condition))                                                                             \
            ::tg::fuzz::fail(__FILE__, __LINE__, #condition, (detail));                               \
    } while (0)

// The parts of an input: raw bytes taken one at a time from the front, then
// pieces separated by zero bytes; the last piece asked for is the rest of the
// input, zero bytes included. An exhausted input gives zero bytes and empty
// pieces.
class Input {
public:
    Input(const uint8_t *data, size_t size)
        : m_data(reinterpret_cast<const char *>(data)), m_size(static_cast<qsizetype>(size))
    {
    }

    uint8_t byte()
    {
        if (m_pos >= m_size)
            return 0;
        return static_cast<uint8_t>(m_data[m_pos++]);
    }

    // The bytes up to the next zero byte (which is consumed) or to the end.
    QByteArray piece()
    {
        qsizetype end = m_pos;
        while (end < m_size && m_data[end] != '\0')
            ++end;
        QByteArray result(m_data + m_pos, end - m_pos);
        m_pos = end < m_size ? end + 1 : end;
        return result;
    }

    QByteArray rest()
    {
        QByteArray result(m_data + m_pos, m_size - m_pos);
        m_pos = m_size;
        return result;
    }

private:
    const char *m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

// Records every message shown while it is installed and answers Ok/Yes.
class RecordingPrompter : public Prompter {
public:
    RecordingPrompter() { Prompter::install(this); }
    ~RecordingPrompter() override { Prompter::install(nullptr); }
    RecordingPrompter(const RecordingPrompter &) = delete;
    RecordingPrompter &operator=(const RecordingPrompter &) = delete;

    MessageAnswer show(MessageKind kind, const QString &text, MessageButtons buttons) override
    {
        messages.append({kind, text});
        return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }

    QStringList texts() const
    {
        QStringList result;
        for (const auto &message : messages)
            result << message.second;
        return result;
    }

    QList<QPair<MessageKind, QString>> messages;
};

} // namespace tg::fuzz
