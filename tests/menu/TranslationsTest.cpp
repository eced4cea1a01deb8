#include "AppDirectory.h"
#include "SuiteRows.h"
#include "TestSupport.h"

#include "data/TabX.h"
#include "menu/LingueMenuReader.h"

#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

class Translations : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.execUser({rows::user(1, QStringLiteral("NESSUNA"), QStringLiteral("LINGUA1,LINGUA2"), QStringLiteral("NULL,0")),
                      rows::user(2, QStringLiteral("INGLESE"), QStringLiteral("LINGUA1,LINGUA2"), QStringLiteral("2,3")),
                      rows::user(3, QStringLiteral("SOLOTRE"), QStringLiteral("LINGUA1,LINGUA2"), QStringLiteral("0,3")),
                      rows::translation(10, 1, 2, QStringLiteral("'Customers'")),
                      rows::translation(10, 2, 3, QStringLiteral("'Fornitori (3)'")),
                      rows::translation(10, 3, 2, QStringLiteral("''")),
                      rows::translation(10, 3, 3, QStringLiteral("'Terza lingua'")),
                      rows::translation(10, 4, 3, QStringLiteral("NULL"))});
        module.Avvia();
        reader = std::make_unique<TLingueMenuReader>(nullptr, &module.IBDatabaseUser);
    }
    QString translate(int program, int menu)
    {
        QString text = QStringLiteral("stale");
        return reader->Traduci(program, menu, text) ? text : QStringLiteral("<none:%1>").arg(text);
    }

    AppDirectory app;
    TTabXForm module{nullptr, 0};
    std::unique_ptr<TLingueMenuReader> reader;
};

TEST_F(Translations, FirstLanguageThenSecondAndEmptyCountsAsMissing)
{
    reader->LeggiLingueUtente(2);
    EXPECT_EQ(reader->Lingua1, 2);
    EXPECT_EQ(reader->Lingua2, 3);
    EXPECT_TRUE(reader->HaLingue());
    EXPECT_EQ(translate(10, 1), QStringLiteral("Customers"));
    EXPECT_EQ(translate(10, 2), QStringLiteral("Fornitori (3)"));
    EXPECT_EQ(translate(10, 3), QStringLiteral("Terza lingua")) << "an empty first-language row is filled in";
    EXPECT_EQ(translate(10, 4), QStringLiteral("<none:>"));
    EXPECT_EQ(translate(99, 1), QStringLiteral("<none:>"));
}

TEST_F(Translations, OnlyTheLanguagesTheUserHasAreLookedUp)
{
    reader->LeggiLingueUtente(3);
    RecordingObserver observer;
    EXPECT_EQ(translate(10, 1), QStringLiteral("<none:>"));
    EXPECT_EQ(observer.statements.size(), 1) << "language 0 is never looked up";

    reader->LeggiLingueUtente(1);
    EXPECT_FALSE(reader->HaLingue());
    reader->LeggiLingueUtente(42);
    EXPECT_EQ(reader->Lingua1, 0) << "a user without a row has no language";
    EXPECT_EQ(reader->Lingua2, 0);
}

TEST_F(Translations, ReaderSeesTheTranslationsOfItsStartOnly)
{
    reader->LeggiLingueUtente(2);
    app.execUser({rows::translation(10, 5, 2, QStringLiteral("'Later'"))});
    EXPECT_EQ(translate(10, 5), QStringLiteral("<none:>"));
    TLingueMenuReader fresh(nullptr, &module.IBDatabaseUser);
    fresh.LeggiLingueUtente(2);
    QString text;
    EXPECT_TRUE(fresh.Traduci(10, 5, text));
    EXPECT_EQ(text, QStringLiteral("Later"));
}

TEST_F(Translations, MissingTableCountsAsNoTranslation)
{
    app.execUser({QStringLiteral("DROP TABLE LINGUEMENU")});
    TLingueMenuReader fresh(nullptr, &module.IBDatabaseUser);
    fresh.LeggiLingueUtente(2);
    QString text;
    EXPECT_FALSE(fresh.Traduci(10, 1, text));
    EXPECT_EQ(text, QString());
}

} // namespace
