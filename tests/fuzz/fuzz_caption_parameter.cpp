// The "<LINEA>…</LINEA>" substitution of menu captions over arbitrary stored
// descriptions, shown captions and parameter values. Checked:
//  - without "<LINEA>" in both texts the shown caption stands and no
//    parameter is read;
//  - otherwise exactly one parameter is read, its name is the text between
//    the first "<LINEA>" of the shown caption and the next "</LINEA>" (or the
//    end), and the caption is the shown text before that marker followed by
//    the value as it is (markers in the value are not substituted again);
//  - it ends quickly whatever the input (libFuzzer's time-out catches a
//    hang).
//
// Input: the stored description, the shown caption and the parameter's
// value (UTF-8), separated by zero bytes.

#include "FuzzSupport.h"

#include "menu/CaptionParameter.h"

using namespace tg;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input input(data, size);
    const QString stored = QString::fromUtf8(input.piece());
    const QString shown = QString::fromUtf8(input.piece());
    const QString value = QString::fromUtf8(input.rest());
    const QString case_ = QStringLiteral("stored: ") + stored + QStringLiteral("\nshown: ") + shown
                          + QStringLiteral("\nvalue: ") + value;

    const QString open = QStringLiteral("<LINEA>");
    const QString close = QStringLiteral("</LINEA>");

    QStringList read;
    const QString caption = captionWithParameter(stored, shown, [&](const QString &name) {
        read << name;
        return value;
    });
    const QString outcome = case_ + QStringLiteral("\ncaption: ") + caption + QStringLiteral("\nread: ") + read.join(u'|');

    if (!stored.contains(open) || !shown.contains(open)) {
        FUZZ_CHECK(caption == shown, outcome);
        FUZZ_CHECK(read.isEmpty(), outcome);
        return 0;
    }

    FUZZ_CHECK(read.size() == 1, outcome);
    const QString name = read.first();
    // The shown text splits into: a prefix without the marker, the marker,
    // the name, and either nothing or the closing marker and anything.
    const qsizetype prefixLength = caption.size() - value.size();
    FUZZ_CHECK(prefixLength >= 0 && caption.endsWith(value), outcome);
    const QString prefix = caption.left(prefixLength);
    FUZZ_CHECK(!prefix.contains(open), outcome);
    FUZZ_CHECK(!name.contains(close), outcome);
    FUZZ_CHECK(shown.startsWith(prefix + open + name), outcome);
    const QString after = shown.mid(prefix.size() + open.size() + name.size());
    FUZZ_CHECK(after.isEmpty() || after.startsWith(close), outcome);
    // When the name is followed by nothing, no closing marker was there to
    // be found.
    FUZZ_CHECK(!after.isEmpty() || !shown.mid(prefix.size() + open.size()).contains(close), outcome);
    return 0;
}
