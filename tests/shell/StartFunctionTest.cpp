// The split of the "AperturaForm" parameter into program and menu numbers.
#include "TestSupport.h"

#include "shell/StartFunction.h"

#include <gtest/gtest.h>

using namespace tg;

namespace {

struct Split {
    bool accepted = false;
    int program = -7;
    int menu = -7;
};

Split split(const QString &value)
{
    Split result;
    result.accepted = parseStartFunction(value, result.program, result.menu);
    return result;
}

TEST(StartFunction, TwoWholeNumbersSeparatedByACommaAreProgramAndMenu)
{
    const Split typical = split(QStringLiteral("12,3"));
    EXPECT_TRUE(typical.accepted);
    EXPECT_EQ(typical.program, 12);
    EXPECT_EQ(typical.menu, 3);

    const Split blanks = split(QStringLiteral(" 12 ,\t3 ,ignored"));
    EXPECT_TRUE(blanks.accepted) << "blanks around items and items after the second are allowed";
    EXPECT_EQ(blanks.program, 12);
    EXPECT_EQ(blanks.menu, 3);

    const Split limits = split(QStringLiteral("2147483647,-2147483648"));
    EXPECT_TRUE(limits.accepted);
    EXPECT_EQ(limits.program, 2147483647);
    EXPECT_EQ(limits.menu, -2147483647 - 1);
}

TEST(StartFunction, AnythingElseIsRefusedAndLeavesTheNumbersAlone)
{
    for (const QString &value : {QStringLiteral("12"), QStringLiteral("12,"), QStringLiteral(",3"), QStringLiteral("a,b"),
                                 QStringLiteral("1 2,3"), QStringLiteral("0x10,1"), QStringLiteral("2147483648,1"),
                                 QStringLiteral("99999999999999999999,1"), QStringLiteral("\u0661\u0662,3")}) {
        const Split refused = split(value);
        EXPECT_FALSE(refused.accepted) << value.toStdString();
        EXPECT_EQ(refused.program, -7) << value.toStdString();
        EXPECT_EQ(refused.menu, -7) << value.toStdString();
    }
}

// A zero character ends the number's own reading: "7<NUL><NUL><NUL>03" was
// taken for 7 and ran a menu function the value does not name.
TEST(StartFunction, ZeroCharacterInsideANumberIsRefused)
{
    const QString menuWithZero = QStringLiteral("00,7") + QString(3, QChar(0)) + QStringLiteral("03");
    EXPECT_FALSE(split(menuWithZero).accepted);
    const QString programWithZero = QStringLiteral("12") + QChar(0) + QStringLiteral("3,4");
    EXPECT_FALSE(split(programWithZero).accepted);
    // The login reads PROGETTO and PROFILO SICUREZZA the same way.
    int number = -7;
    EXPECT_FALSE(wholeNumber(QStringLiteral("7") + QChar(0) + QStringLiteral("3"), number));
    EXPECT_EQ(number, -7);
    EXPECT_TRUE(wholeNumber(QStringLiteral(" 73 "), number));
    EXPECT_EQ(number, 73);
}

} // namespace
