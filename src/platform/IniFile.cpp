#include "platform/IniFile.h"

#include "platform/TextCodec.h"

#include <QFile>
// Bytes are kept as they are (the suite's code page); no wide-character build.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace tg {
namespace {

// Loads the file into a SimpleIni document (CSimpleIniA matches names without regard to case); a missing or
// unreadable file gives an empty document.
void loadDocument(CSimpleIniA &document, const QString &path)
{
    document.SetUnicode(false);
    document.SetMultiKey(false);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    document.LoadData(bytes.constData(), static_cast<size_t>(bytes.size()));
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

QString IniFile::readString(const QString &section, const QString &key) const
{
    CSimpleIniA document;
    loadDocument(document, m_path);
    const char *value = document.GetValue(toSuiteBytes(section).constData(),
                                          toSuiteBytes(key).constData(), nullptr);
    return value ? fromSuiteBytes(QByteArray(value)) : QString();
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    CSimpleIniA document;
    loadDocument(document, m_path);
    document.SetValue(toSuiteBytes(section).constData(), toSuiteBytes(key).constData(),
                      toSuiteBytes(value).constData());
    std::string contents;
    if (document.Save(contents) < 0)
        return false;
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(contents.data(), static_cast<qint64>(contents.size()))
           == static_cast<qint64>(contents.size());
}

} // namespace tg
