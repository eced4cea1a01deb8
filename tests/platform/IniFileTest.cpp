#include "TestSupport.h"

#include "platform/IniFile.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace tg;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(IniFile, MissingFileSectionOrKeyReadsEmpty)
{
    test::TempDir dir;
    EXPECT_EQ(IniFile(dir.file(QStringLiteral("assente.ini"))).readString(QStringLiteral("CONFIG"),
                                                                          QStringLiteral("Alias")),
              QString());
    writeBytes(dir.file(QStringLiteral("dati.ini")), "[CONFIG]\r\nNome Server=SRV1\r\n");
    const IniFile ini(dir.file(QStringLiteral("dati.ini")));
    EXPECT_EQ(ini.readString(QStringLiteral("ALTRO"), QStringLiteral("Nome Server")), QString());
    EXPECT_EQ(ini.readString(QStringLiteral("CONFIG"), QStringLiteral("Alias")), QString());
    EXPECT_EQ(ini.readString(QStringLiteral("config"), QStringLiteral("NOME SERVER")), QStringLiteral("SRV1"))
        << "sections and keys match without regard to case";
}

TEST(IniFile, WriteCreatesFileAndSectionAndKeepsOtherKeys)
{
    test::TempDir dir;
    IniFile ini(dir.file(QStringLiteral("dati.ini")));
    ASSERT_TRUE(ini.writeString(QStringLiteral("CONFIG"), QStringLiteral("Nome Server"), QStringLiteral("SRV")));
    ASSERT_TRUE(ini.writeString(QStringLiteral("CONFIG"), QStringLiteral("Lettera Disco Server"), QStringLiteral("D")));
    ASSERT_TRUE(ini.writeString(QStringLiteral("config"), QStringLiteral("nome server"), QStringLiteral("SRV2")));
    EXPECT_EQ(ini.readString(QStringLiteral("CONFIG"), QStringLiteral("Nome Server")), QStringLiteral("SRV2"));
    EXPECT_EQ(ini.readString(QStringLiteral("CONFIG"), QStringLiteral("Lettera Disco Server")), QStringLiteral("D"));
    EXPECT_EQ(readBytes(ini.path()).count("Nome Server"), 1) << "the key was replaced, not repeated";
}

TEST(IniFile, ValuesAreStoredInTheSuiteCodePage)
{
    test::TempDir dir;
    IniFile ini(dir.file(QStringLiteral("u.ini")));
    const QString value = QStringLiteral("Società d´Italia €");
    ASSERT_TRUE(ini.writeString(QStringLiteral("ROSSI SPA"), QStringLiteral("Percorso"), value));
    EXPECT_TRUE(readBytes(ini.path()).contains(toSuiteBytes(value)));
    EXPECT_EQ(ini.readString(QStringLiteral("ROSSI SPA"), QStringLiteral("Percorso")), value);
}

TEST(IniFile, UnwritableLocationReportsFailure)
{
    IniFile ini(QStringLiteral("/proc/nessuna/cartella/dati.ini"));
    EXPECT_FALSE(ini.writeString(QStringLiteral("CONFIG"), QStringLiteral("Nome Server"), QStringLiteral("X")));
}

} // namespace
