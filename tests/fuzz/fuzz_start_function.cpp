// The split of the "AperturaForm" parameter into a program and a menu number,
// over arbitrary values. The value is accepted exactly when its first two
// comma-separated items, without surrounding blanks, are whole decimal
// numbers (optional sign, ASCII digits) that fit an int; the numbers are
// those written; a value that is not accepted leaves both outputs untouched.
// Huge numbers are refused, never wrapped.
//
// Input: the value, UTF-8.

#include "FuzzSupport.h"

#include "shell/StartFunction.h"

#include <climits>
#include <optional>

using namespace tg;

namespace {

// A whole decimal number written with an optional sign and ASCII digits only,
// read digit by digit with a bound, so that no digit count can overflow.
std::optional<int> wholeNumber(const QString &item)
{
    const QString text = item.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString value = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QStringList items = value.split(QLatin1Char(','));
    const std::optional<int> program = items.size() >= 1 ? wholeNumber(items.at(0)) : std::nullopt;
    const std::optional<int> menu = items.size() >= 2 ? wholeNumber(items.at(1)) : std::nullopt;

    constexpr int Untouched = 0x5a5a5a5a;
    int readProgram = Untouched;
    int readMenu = Untouched;
    const bool accepted = parseStartFunction(value, readProgram, readMenu);
    const QString case_ = QStringLiteral("value: ") + value + QStringLiteral("\naccepted %1, program %2, menu %3")
                                                                  .arg(int(accepted))
                                                                  .arg(readProgram)
                                                                  .arg(readMenu);

    FUZZ_CHECK(accepted == (program.has_value() && menu.has_value()), case_);
    if (accepted) {
        FUZZ_CHECK(readProgram == *program, case_);
        FUZZ_CHECK(readMenu == *menu, case_);
    } else {
        FUZZ_CHECK(readProgram == Untouched && readMenu == Untouched, case_);
    }
    return 0;
}
