#include "TestSupport.h"

#include "data/QuadrelText.h"

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

// Removing the marker from " <IN <INATTIVA>ATTIVA>" in one pass joins the
// rest into a new marker: the company stayed inactive after the enabling
// dialog freed it, and a second enabling changed the text again.
TEST(QuadrelText, MarkersBroughtTogetherByTheRemovalAreRemovedToo)
{
    const QString nested = QStringLiteral("ROSSI SPA <IN <INATTIVA>ATTIVA>");
    EXPECT_EQ(senzaMarcatoreInattiva(nested), QStringLiteral("ROSSI SPA"));
    EXPECT_FALSE(haMarcatoreInattiva(senzaMarcatoreInattiva(nested)));

    const QString text = QLatin1Char('[') + nested + QStringLiteral("]\nA=1\n");
    const QString enabled = applicaDitteInattive(text, {});
    EXPECT_EQ(enabled, QStringLiteral("[ROSSI SPA]\nA=1\n"));
    EXPECT_EQ(applicaDitteInattive(enabled, {}), enabled);
    EXPECT_EQ(applicaDitteInattive(text, {QStringLiteral("ROSSI SPA")}), QStringLiteral("[ROSSI SPA <INATTIVA>]\nA=1\n"));
}

// A marker after the header's carriage return: once removed, the carriage
// return ends the line and the header names the company; the enabling gives
// the same text when applied again.
TEST(QuadrelText, MarkerAfterTheCarriageReturnOfAHeader)
{
    const QString text = QStringLiteral("[VERDI SRL]\r <INATTIVA>\nB=3\n");
    const QString enabled = applicaDitteInattive(text, {QStringLiteral("VERDI SRL")});
    EXPECT_EQ(enabled, QStringLiteral("[VERDI SRL <INATTIVA>]\r\nB=3\n"));
    EXPECT_EQ(applicaDitteInattive(enabled, {QStringLiteral("VERDI SRL")}), enabled);
    EXPECT_EQ(applicaDitteInattive(text, {}), QStringLiteral("[VERDI SRL]\r\nB=3\n"));
}

// The rendering of the rows and the parse of the editor agree: the rows
// the parse gives come back from their rendering.
TEST(QuadrelText, RenderingOfParsedRowsParsesBackToThem)
{
    const QVector<TQuadrel> rows{{QStringLiteral("ROSSI SPA"), QStringLiteral("Archivio"), QStringLiteral("C:\\r.fdb")},
                                {QStringLiteral("ROSSI SPA"), QStringLiteral("Vuoto"), QString()},
                                {QStringLiteral("VERDI SRL]"), QStringLiteral("F"), QStringLiteral("a=b")}};
    const QString text = renderQuadrel(rows);
    EXPECT_EQ(text, QStringLiteral("[ROSSI SPA]\nArchivio=C:\\r.fdb\nVuoto=\n[VERDI SRL]]\nF=a=b\n"));
    EXPECT_EQ(parseQuadrel(text), rows);
    EXPECT_EQ(renderQuadrel({{QStringLiteral("A"), QString(), QString()}, {QString(), QStringLiteral("K"), QStringLiteral("v")}}),
              QStringLiteral("[A]\n\nK=v\n"))
        << "an empty key gives an empty line, an empty section no header";
}

} // namespace
