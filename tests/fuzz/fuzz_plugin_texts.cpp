// The text layouts handed to plug-ins, over arbitrary texts (any UTF-16
// content, unpaired surrogates and characters outside the code page
// included). Counted form: null exactly when the text gives no byte in the
// code page (the empty text among them); otherwise the pointer is preceded by
// a reference count of -1 and the length in bytes, and followed by the bytes
// of the text in the code page and a zero byte. Plain form: never null, the
// same bytes, zero-terminated. Every byte of the code page reads as one
// character.
//
// Input: the text; the first byte chooses how the rest is read (bit 0 set:
// UTF-16 code units, little-endian; clear: the suite's code page).

#include "FuzzSupport.h"

#include "menu/PluginTexts.h"
#include "platform/TextCodec.h"

#include <cstring>

using namespace tg;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input input(data, size);
    const bool utf16 = (input.byte() & 1) != 0;
    const QByteArray raw = input.rest();
    QString text;
    if (utf16) {
        for (qsizetype i = 0; i + 1 < raw.size(); i += 2)
            text += QChar(static_cast<char16_t>(static_cast<uint8_t>(raw[i]) | (static_cast<uint8_t>(raw[i + 1]) << 8)));
    } else {
        text = fromSuiteBytes(raw);
    }
    const QByteArray bytes = toSuiteBytes(text);
    const QString case_ = QStringLiteral("text: ") + text;

    const CountedText counted(text);
    if (bytes.isEmpty()) {
        // Also a text that gives no byte in the code page: the plug-in
        // must not receive a counted text of length 0.
        FUZZ_CHECK(counted.data() == nullptr, case_);
    } else {
        const char *characters = counted.data();
        FUZZ_CHECK(characters != nullptr, case_);
        int32_t header[2];
        std::memcpy(header, characters - CountedText::HeaderSize, sizeof header);
        FUZZ_CHECK(header[0] == -1, case_);
        FUZZ_CHECK(header[1] == bytes.size(), case_ + QStringLiteral("\nlength %1, bytes %2").arg(header[1]).arg(bytes.size()));
        FUZZ_CHECK(std::memcmp(characters, bytes.constData(), static_cast<size_t>(bytes.size())) == 0, case_);
        FUZZ_CHECK(characters[header[1]] == '\0', case_);
    }
    FUZZ_CHECK(!text.isEmpty() || counted.data() == nullptr, case_);

    const PlainText plain(text);
    const char *characters = plain.data();
    FUZZ_CHECK(characters != nullptr, case_);
    FUZZ_CHECK(std::memcmp(characters, bytes.constData(), static_cast<size_t>(bytes.size())) == 0, case_);
    FUZZ_CHECK(characters[bytes.size()] == '\0', case_);

    // Every byte of the code page is one character, and the bytes of a
    // text read from the code page are those it was read from when they
    // read back as the same text.
    if (!utf16) {
        FUZZ_CHECK(text.size() == raw.size(), case_);
        if (fromSuiteBytes(bytes) == text)
            FUZZ_CHECK(bytes.size() == text.size(), case_);
    }
    return 0;
}
