// The counted and plain text layouts handed to plug-ins.
#include "TestSupport.h"

#include "menu/PluginTexts.h"
#include "platform/TextCodec.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>

using namespace tg;

namespace {

TEST(PluginTexts, CountedTextCarriesCountLengthBytesAndZero)
{
    const CountedText counted(QStringLiteral("l'è´€"));
    const char *characters = counted.data();
    ASSERT_NE(characters, nullptr);
    int32_t header[2];
    std::memcpy(header, characters - CountedText::HeaderSize, sizeof header);
    EXPECT_EQ(header[0], -1);
    EXPECT_EQ(header[1], 5);
    EXPECT_EQ(QByteArray(characters, 6), QByteArray("l'\xE8\xB4\x80", 6));
}

TEST(PluginTexts, EmptyTextsAreNullCountedAndEmptyPlain)
{
    EXPECT_EQ(CountedText(QString()).data(), nullptr);
    EXPECT_EQ(CountedText(QStringLiteral("")).data(), nullptr);
    const PlainText plain{QString()};
    ASSERT_NE(plain.data(), nullptr);
    EXPECT_EQ(plain.data()[0], '\0');
}

// A byte-order mark, or a high surrogate with nothing after it, gives no
// byte in the code page: the plug-in would have received a counted text of
// length 0 instead of the null pointer of the empty text.
TEST(PluginTexts, TextWithoutBytesInTheCodePageIsTheNullCountedText)
{
    for (const QString &text : {QString(QChar(0xFEFF)), QString(QChar(0xD800))}) {
        const int code = text.at(0).unicode();
        ASSERT_TRUE(toSuiteBytes(text).isEmpty()) << "the code page drops U+" << std::hex << code;
        EXPECT_EQ(CountedText(text).data(), nullptr) << "U+" << std::hex << code;
        const PlainText plain(text);
        ASSERT_NE(plain.data(), nullptr);
        EXPECT_EQ(plain.data()[0], '\0');
    }
}

} // namespace
