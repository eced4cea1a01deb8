// The catalogue as the main window reads it: the model of programs, quick
// entries and menu tree, the translations held in memory, and what a login
// costs in statements whatever the size of the project's catalogue.

#include "LoggedInWindow.h"

#include "data/TabX.h"
#include "menu/CatalogueModel.h"
#include "menu/LingueMenuReader.h"

#include <QToolButton>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

using rows::Entry;

QStringList keys(const QVector<CatalogueEntry> &entries)
{
    QStringList result;
    for (const CatalogueEntry &e : entries)
        result << QStringLiteral("%1.%2 %3%4").arg(e.program).arg(e.menu).arg(e.caption, QLatin1String(e.secondLevel ? "*" : ""));
    return result;
}

class Model : public ::testing::Test {
protected:
    void SetUp() override { module.Avvia(); }

    AppDirectory app;
    TTabXForm module{nullptr, 0};
    db::Transaction transaction{&module.IBDatabaseUser};
    db::Query query{&module.IBDatabaseUser, &transaction};
    CatalogueModel model{query};
    RecordingObserver observer;
};

TEST_F(Model, ProgramsOfTheProjectWithTheirQuickEntriesInTwoReads)
{
    app.execUser({rows::program(3, QStringLiteral("Tre")), rows::program(1, QStringLiteral("Uno")),
                  rows::program(2, QStringLiteral("Altrove")), rows::projectProgram(5, 3), rows::projectProgram(5, 1),
                  rows::projectProgram(5, 3), rows::projectProgram(5, 4), rows::projectProgram(6, 2),
                  menuEntry(Entry{.program = 3, .menu = 9, .caption = QStringLiteral("Nove"), .quick = QStringLiteral("'1'")}),
                  menuEntry(Entry{.program = 3, .menu = 2, .caption = QStringLiteral("Nascosta"),
                                  .visible = QStringLiteral("'0'"), .quick = QStringLiteral("'1'")}),
                  menuEntry(Entry{.program = 3, .menu = 4, .caption = QStringLiteral("Non rapida")}),
                  menuEntry(Entry{.program = 2, .menu = 1, .caption = QStringLiteral("Altrove"), .quick = QStringLiteral("'1'")}),
                  menuEntry(Entry{.program = 4, .menu = 1, .caption = QStringLiteral("Senza programma"),
                                  .quick = QStringLiteral("'1'")})});
    observer.statements.clear();
    model.loadPrograms(5);
    EXPECT_EQ(observer.statements.size(), 2);
    EXPECT_EQ(model.programCodes(), (QList<int>{1, 3})) << "programs without a PROGRAMMI row are left out";
    EXPECT_TRUE(model.programs()[0].quickEntries.isEmpty());
    EXPECT_EQ(keys(model.programs()[1].quickEntries), (QStringList{"3.2 Nascosta", "3.9 Nove"}))
        << "quick entries by VOCERAPIDA alone, once although the program is listed twice";
}

TEST_F(Model, TreeOfVisibleEntriesLinkedByLevelAndParent)
{
    app.execUser({menuEntry(Entry{.program = 7, .menu = 20, .caption = QStringLiteral("B"), .level2 = QStringLiteral("'1'")}),
                  menuEntry(Entry{.program = 7, .menu = 10, .caption = QStringLiteral("A")}),
                  menuEntry(Entry{.program = 7, .menu = 12, .parent = QStringLiteral("10"), .level = 1, .caption = QStringLiteral("-")}),
                  menuEntry(Entry{.program = 7, .menu = 11, .parent = QStringLiteral("10"), .level = 1,
                                  .caption = QStringLiteral("A1"), .level2 = QStringLiteral("'1'")}),
                  menuEntry(Entry{.program = 7, .menu = 13, .parent = QStringLiteral("12"), .level = 2, .caption = QStringLiteral("Sotto -")}),
                  menuEntry(Entry{.program = 7, .menu = 14, .parent = QStringLiteral("10"), .level = 2, .caption = QStringLiteral("Salta")}),
                  menuEntry(Entry{.program = 7, .menu = 15, .parent = QStringLiteral("10"), .level = 1,
                                  .caption = QStringLiteral("Invisibile"), .visible = QStringLiteral("'0'")}),
                  menuEntry(Entry{.program = 7, .menu = 16, .parent = QStringLiteral("15"), .level = 2, .caption = QStringLiteral("Orfano")}),
                  menuEntry(Entry{.program = 7, .menu = 30, .parent = QStringLiteral("NULL"), .level = 1, .caption = QStringLiteral("Senza padre")}),
                  QStringLiteral("UPDATE DETTMENU SET LIVELLOMENU=NULL WHERE MENU=20"),
                  menuEntry(Entry{.program = 7, .menu = 40, .caption = QStringLiteral("C")}),
                  menuEntry(Entry{.program = 8, .menu = 1, .caption = QStringLiteral("Altro")})});
    observer.statements.clear();
    model.loadMenu(7);
    EXPECT_EQ(observer.statements.size(), 1);
    EXPECT_TRUE(model.holdsMenuOf(7));
    EXPECT_FALSE(model.holdsMenuOf(8));
    EXPECT_EQ(keys(model.topLevelEntries()), (QStringList{"7.10 A", "7.40 C"})) << "a row without level is nowhere";
    EXPECT_EQ(keys(model.children(10, 0)), (QStringList{"7.11 A1*", "7.12 -"})) << "a level skipped is no child";
    EXPECT_EQ(keys(model.children(12, 1)), QStringList{"7.13 Sotto -"});
    EXPECT_TRUE(model.hasChildren(10, 0));
    EXPECT_EQ(keys(model.children(10, 1)), QStringList{"7.14 Salta"}) << "children are found by parent and level";
    EXPECT_FALSE(model.hasChildren(40, 0));
    EXPECT_FALSE(model.hasChildren(10, std::numeric_limits<int>::max()));
}

// The translations held in memory answer as the row-by-row look-up does, for
// every entry: empty and NULL texts, duplicated rows, rows without a key.
TEST_F(Model, TranslationsInMemoryAnswerAsTheLookUpOfEachRow)
{
    app.execUser({rows::user(1, QStringLiteral("DUE"), QStringLiteral("LINGUA1,LINGUA2"), QStringLiteral("2,3")),
                  rows::translation(1, 1, 2, QStringLiteral("'One'")), rows::translation(1, 1, 3, QStringLiteral("'Eins'")),
                  rows::translation(1, 2, 2, QStringLiteral("''")), rows::translation(1, 2, 3, QStringLiteral("'Zwei'")),
                  rows::translation(1, 3, 2, QStringLiteral("NULL")), rows::translation(2, 1, 2, QStringLiteral("''")),
                  rows::translation(2, 1, 2, QStringLiteral("'Later duplicate'")),
                  rows::translation(2, 2, 3, QStringLiteral("'First'")), rows::translation(2, 2, 3, QStringLiteral("'Second'")),
                  rows::translation(2, 3, 4, QStringLiteral("'Other language'")),
                  rows::translation(3, 1, 2, QStringLiteral("'Not announced'")),
                  QStringLiteral("INSERT INTO LINGUEMENU (PROGRAMMA,MENU,LINGUA,DESCRIZIONE) VALUES (2,NULL,2,'No key')")});
    TLingueMenuReader held(nullptr, &module.IBDatabaseUser);
    TLingueMenuReader rowByRow(nullptr, &module.IBDatabaseUser); // no languages: every language is looked up
    held.LeggiLingueUtente(1);
    held.announcePrograms({1, 2});
    observer.statements.clear();
    QStringList inMemory;
    QStringList lookedUp;
    for (int program : {1, 2})
        for (int menu : {0, 1, 2, 3})
            for (int language : {2, 3}) {
                QString text;
                inMemory << QString::number(held.TraduciInLingua(program, menu, language, text)) + text;
                lookedUp << QString::number(rowByRow.TraduciInLingua(program, menu, language, text)) + text;
            }
    EXPECT_EQ(inMemory, lookedUp);
    EXPECT_EQ(lookedUp.count(QStringLiteral("0")), 12);
    QString text;
    EXPECT_TRUE(held.Traduci(1, 2, text));
    EXPECT_EQ(text, QStringLiteral("Zwei")) << "an empty first-language text gives way to the second";
    EXPECT_TRUE(held.TraduciInLingua(2, 3, 4, text)) << "a language the user lacks is looked up";
    EXPECT_EQ(text, QStringLiteral("Other language"));
    EXPECT_EQ(observer.statements.size(), 1 + 16 + 1) << "the held languages of both programs in one read";
    EXPECT_TRUE(held.Traduci(3, 1, text));
    EXPECT_EQ(text, QStringLiteral("Not announced"));
    EXPECT_EQ(observer.statements.size(), 19);
}

// Programs first..first+count-1 in a project, each with `entries` menu
// entries: every fifth a top-level group of the four after it, every second a
// quick entry, two thirds translated (one third into language 2, one third
// into language 3).
QString generatedCatalogue(int project, int first, int count, int entries)
{
    return QStringLiteral(
               "EXECUTE BLOCK AS DECLARE p INTEGER = %1; DECLARE m INTEGER; BEGIN "
               "WHILE (p < %2) DO BEGIN "
               "INSERT INTO PROGRAMMI (CODICE,DESCRIZIONE) VALUES (:p, 'Programma ' || :p); "
               "INSERT INTO DETTPROGETTI (PROGETTO,PROGRAMMA) VALUES (%3, :p); "
               "m = 1; WHILE (m <= %4) DO BEGIN "
               "INSERT INTO DETTMENU (PROGRAMMA,MENU,MENUPREC,LIVELLOMENU,VISIBILE,DESCRIZIONE,VOCERAPIDA) VALUES "
               "(:p, :m, IIF(MOD(:m, 5) = 1, NULL, :m - MOD(:m - 1, 5)), IIF(MOD(:m, 5) = 1, 0, 1), '1', "
               "'Voce ' || :m, IIF(MOD(:m, 2) = 0, '1', '0')); "
               "IF (MOD(m, 3) < 2) THEN INSERT INTO LINGUEMENU (PROGRAMMA,MENU,LINGUA,DESCRIZIONE) VALUES "
               "(:p, :m, 2 + MOD(:m, 3), 'Item ' || :m); "
               "m = m + 1; END p = p + 1; END END")
        .arg(first)
        .arg(first + count)
        .arg(project)
        .arg(entries);
}

class LoginCost : public LoggedInWindow<> {
protected:
    // Logs MARIO into a project; the statements of the OK click alone.
    int statementsOfLogin(int project)
    {
        form.reset();
        app.execUser({QStringLiteral("UPDATE UTENTI SET PROGETTO=%1,LINGUA1=2,LINGUA2=3 WHERE CODICE=1").arg(project)});
        form = std::make_unique<TBaseMainForm>();
        form->ComboUtenti1->setCurrentIndex(form->ComboUtenti1->findText(QStringLiteral("MARIO")));
        RecordingObserver observer;
        form->ButtonOkClick();
        EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();
        return static_cast<int>(observer.statements.size());
    }
};

TEST_F(LoginCost, DoesNotGrowWithTheCatalogue)
{
    app.execUser({QStringLiteral("DELETE FROM DETTPROGETTI"), generatedCatalogue(2, 10, 2, 10),
                  generatedCatalogue(3, 100, 50, 40)});

    const int small = statementsOfLogin(2);
    ASSERT_EQ(form->vociRapide().size(), 2 * 5);
    EXPECT_EQ(form->vociRapide()[0]->text(), QStringLiteral("Voce 2")) << "no translation";
    EXPECT_EQ(form->vociRapide()[1]->text(), QStringLiteral("Item 4")) << "second language";
    EXPECT_EQ(form->vociRapide()[2]->text(), QStringLiteral("Item 6")) << "first language";

    const int large = statementsOfLogin(3);
    ASSERT_EQ(form->vociRapide().size(), 50 * 20);
    EXPECT_EQ(form->vociMenu().size(), 40);
    EXPECT_EQ(form->vociRapide().last()->text(), QStringLiteral("Item 40"));
    EXPECT_LE(large - small, 5) << small << " statements at 2 x 10 entries, " << large << " at 50 x 40";
}

} // namespace
