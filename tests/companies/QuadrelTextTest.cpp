#include "TestSupport.h"

#include "companies/QuadrelText.h"

#include <gtest/gtest.h>

using namespace tg;

namespace {

QStringList entries(const QString &text)
{
    QStringList result;
    for (const TQuadrel &entry : parseQuadrel(text))
        result << entry.Intestazione + QLatin1Char('|') + entry.Parametro + QLatin1Char('|') + entry.Valore;
    return result;
}

TEST(QuadrelText, LineRulesGiveParametersInTextOrder)
{
    const QString text = QStringLiteral(
        "Orfano=1\n"                  // before the first header
        "[ROSSI SPA]\n"
        "Archivio=C:\\dati\\rossi.fdb\n"
        "Formula=a=b=c\n"             // splits at the first sign
        "Vuoto=\n"
        "SenzaUguale\n"
        "=solo valore\n"
        "   \n"                       // blanks are no empty line
        "Dopo=blank\n"
        "[VERDI SRL] \n"              // a blank after the bracket stays in the name
        "Chiave=1\n"
        "\n"
        "Perso=1\n"                   // after an empty line: no section
        "[GIALLI]\r\n"
        "\r\n"                        // empty once the carriage return is dropped
        "Perso=2\n"
        "[BLU]\r\n"
        "X=1\r\n"
        "[\n"                         // a lone bracket names no section
        "Y=2\n"
        "[Z]\n"
        "Ul\rtima=fine");             // no final line feed
    EXPECT_EQ(entries(text), (QStringList{QStringLiteral("ROSSI SPA|Archivio|C:\\dati\\rossi.fdb"),
                                          QStringLiteral("ROSSI SPA|Formula|a=b=c"), QStringLiteral("ROSSI SPA|Vuoto|"),
                                          QStringLiteral("ROSSI SPA|Dopo|blank"), QStringLiteral("VERDI SRL]|Chiave|1"),
                                          QStringLiteral("BLU|X|1"), QStringLiteral("Z|Ultima|fine")}));
}

TEST(QuadrelText, TextsWithoutParametersGiveNothing)
{
    EXPECT_TRUE(parseQuadrel(QString()).isEmpty());
    EXPECT_TRUE(parseQuadrel(QStringLiteral("[ROSSI SPA]\n[VERDI SRL]\n")).isEmpty());
    EXPECT_TRUE(parseQuadrel(QStringLiteral("\n\n=1\n")).isEmpty());
}

TEST(QuadrelText, StoredAndEditedFormsConvertBothWays)
{
    EXPECT_EQ(senzaApici(QStringLiteral("l'archivio 'x'")), QStringLiteral("larchivio x"));
    EXPECT_EQ(testoPerEditor(QStringLiteral("[A]\r\nK=v\nL=\rw\r\n")), QStringLiteral("[A]\nK=v\nL=w\n"));
    EXPECT_EQ(testoDaMemorizzare(QStringLiteral("[A]\nK=v\n\nL=w")), QStringLiteral("[A]\r\nK=v\r\n\r\nL=w"));
    const QString edited = QStringLiteral("[città]\nNota=caffè ´ 5€\n");
    EXPECT_EQ(testoPerEditor(testoDaMemorizzare(edited)), edited);
    EXPECT_EQ(parseQuadrel(testoDaMemorizzare(edited)), parseQuadrel(edited));
}

TEST(QuadrelText, InactiveMarkerNeedsItsBlankAndExactCase)
{
    EXPECT_TRUE(haMarcatoreInattiva(QStringLiteral("ROSSI SPA <INATTIVA>")));
    EXPECT_FALSE(haMarcatoreInattiva(QStringLiteral("ROSSI SPA<INATTIVA>")));
    EXPECT_FALSE(haMarcatoreInattiva(QStringLiteral("ROSSI SPA <inattiva>")));
    EXPECT_EQ(senzaMarcatoreInattiva(QStringLiteral("A <INATTIVA> <INATTIVA>")), QStringLiteral("A"));
}

TEST(QuadrelText, EnablingRewritesHeadersOnly)
{
    const QString text = QStringLiteral("[ROSSI SPA <INATTIVA>]\nA=1\n"
                                        "[VERDI SRL]\nNota=[VERDI SRL] <INATTIVA>\n"
                                        "[verdi srl]\n"
                                        "[GIALLI <INATTIVA> <INATTIVA>]\r\nB=2\r\n");
    EXPECT_EQ(applicaDitteInattive(text, {QStringLiteral("VERDI SRL"), QStringLiteral("GIALLI")}),
              QStringLiteral("[ROSSI SPA]\nA=1\n"
                             "[VERDI SRL <INATTIVA>]\nNota=[VERDI SRL] <INATTIVA>\n"
                             "[verdi srl]\n"
                             "[GIALLI <INATTIVA>]\r\nB=2\r\n"));
    const QString none = applicaDitteInattive(text, {});
    EXPECT_EQ(none.count(MarcatoreInattiva), 1) << "only the value keeps its marker";
    EXPECT_EQ(applicaDitteInattive(none, {}), none);
}

} // namespace
