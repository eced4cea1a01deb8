#include "menu/PluginTexts.h"

#include "platform/TextCodec.h"

#include <cstdint>
#include <cstring>

namespace tg {

CountedText::CountedText(const QString &text)
{
    const QByteArray bytes = toSuiteBytes(text);
    // The plug-in sees the bytes: a text that gives none (a byte-order mark
    // or a lone surrogate the code page drops) is the empty text too.
    m_empty = bytes.isEmpty();
    const int32_t header[2] = {-1, static_cast<int32_t>(bytes.size())};
    m_buffer.resize(HeaderSize);
    std::memcpy(m_buffer.data(), header, HeaderSize);
    m_buffer.append(bytes);
    m_buffer.append('\0');
}

PlainText::PlainText(const QString &text) : m_bytes(toSuiteBytes(text)) {}

} // namespace tg
