#include "menu/PluginTexts.h"

#include "platform/Logging.h"
#include "platform/TextCodec.h"

#include <cstdint>
#include <cstring>

namespace tg {
namespace {

// The suite's code page, with a line in the log when the text loses characters
// it cannot hold: the plug-in gets the text without them.
QByteArray pluginBytes(const QString &text)
{
    QByteArray bytes = toSuiteBytes(text);
    if (fromSuiteBytes(bytes) != text)
        qCWarning(lcPlugin).noquote() << "A text handed to a plug-in loses characters that Windows-1252 lacks:"
                                      << text;
    return bytes;
}

} // namespace

CountedText::CountedText(const QString &text)
{
    const QByteArray bytes = pluginBytes(text);
    // The plug-in sees the bytes: a text that gives none (a byte-order mark
    // or a lone surrogate the code page drops) is the empty text too.
    m_empty = bytes.isEmpty();
    const int32_t header[2] = {-1, static_cast<int32_t>(bytes.size())};
    m_buffer.resize(HeaderSize);
    std::memcpy(m_buffer.data(), header, HeaderSize);
    m_buffer.append(bytes);
    m_buffer.append('\0');
}

PlainText::PlainText(const QString &text) : m_bytes(pluginBytes(text)) {}

} // namespace tg
