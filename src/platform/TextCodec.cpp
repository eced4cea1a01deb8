#include "platform/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tg {

QByteArray toSuiteBytes(const QString &text)
{
    QStringEncoder encoder("windows-1252");
    return encoder.encode(text);
}

QString fromSuiteBytes(const char *bytes, qsizetype length)
{
    QStringDecoder decoder("windows-1252");
    return decoder.decode(QByteArrayView(bytes, length));
}

} // namespace tg
