#include "AppDirectory.h"
#include "TestSupport.h"

#include "data/TabX.h"
#include "platform/IniFile.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

class ParameterStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.execUser({QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE,DITTA) VALUES (3,'MARIO','ROSSI SPA')"),
                      QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE,DITTA) VALUES (5,'ANNA','ROSSI SPA')")});
        module.Avvia();
        module.SetUserPerNum(3);
    }
    QString quadrel(int user = 3) const
    {
        return app.queryUserText(QStringLiteral("SELECT QUADREL FROM UTENTI WHERE CODICE=%1").arg(user));
    }
    bool quadrelIsNull(int user = 3) const
    {
        return app.queryUserText(QStringLiteral("SELECT COUNT(*) FROM UTENTI WHERE CODICE=%1 AND QUADREL IS NULL")
                                     .arg(user))
               == QLatin1String("1");
    }
    QStringList rows() const
    {
        return app.queryUserRows(QStringLiteral("SELECT INTESTAZIONE,PARAMETRO,VALORE,PROGRESSIVO FROM TABQUADREL "
                                                "WHERE UTENTE=3 ORDER BY PROGRESSIVO"));
    }

    AppDirectory app;
    RecordingPrompter prompter;
    TTabXForm module{nullptr, 0};
};

TEST_F(ParameterStore, PositionsFollowTheUsersHighestWhateverTheSection)
{
    module.SettaParametro(QStringLiteral("Archivio"), QStringLiteral("/dati/rossi.fdb"));
    module.ScriviParametroQuadrel(QStringLiteral("VERDI SRL"), QStringLiteral("PROGETTO"), QStringLiteral("2"));
    module.SettaParametro(QStringLiteral("PROGETTO"), QStringLiteral("1"));
    module.SettaParametro(QStringLiteral("Archivio"), QStringLiteral("/dati/nuovo.fdb"));
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("ROSSI SPA|Archivio|/dati/nuovo.fdb|1"),
                                   QStringLiteral("VERDI SRL|PROGETTO|2|2"),
                                   QStringLiteral("ROSSI SPA|PROGETTO|1|3")}));
    QString value;
    module.CaricaParametro(QStringLiteral("Archivio"), value);
    EXPECT_EQ(value, QStringLiteral("/dati/nuovo.fdb"));
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(ParameterStore, TextRenderingSortsSectionsAndUsesLineFeedsOnly)
{
    module.ScriviParametroQuadrel(QStringLiteral("VERDI SRL"), QString(), QString());
    module.SettaParametro(QStringLiteral("Archivio"), QStringLiteral("/dati/rossi.fdb"));
    module.SettaParametro(QStringLiteral("PROGETTO"), QStringLiteral("2"));
    module.SettaParametro(QStringLiteral("Vuoto"), QString());
    EXPECT_EQ(quadrel(), QStringLiteral("[ROSSI SPA]\nArchivio=/dati/rossi.fdb\nPROGETTO=2\nVuoto=\n[VERDI SRL]\n\n"));
    EXPECT_FALSE(quadrel().contains(QLatin1Char('\r')));
    EXPECT_EQ(app.queryUserText(QStringLiteral("SELECT COUNT(*) FROM TABQUADREL WHERE PARAMETRO='Vuoto' AND VALORE IS NULL")),
              QStringLiteral("1"));
    EXPECT_TRUE(quadrelIsNull(5)) << "another user's text is untouched";
}

TEST_F(ParameterStore, ARowWithoutSectionComesBeforeAllHeadersAndNoRowsMeansNull)
{
    module.SettaParametro(QStringLiteral("A"), QStringLiteral("1"));
    app.execUser({QStringLiteral("INSERT INTO TABQUADREL (UTENTE,INTESTAZIONE,PARAMETRO,VALORE,PROGRESSIVO) "
                                 "VALUES (3,'','Libero','x',7)")});
    module.ScriviQuadrel(3);
    EXPECT_EQ(quadrel(), QStringLiteral("Libero=x\n[ROSSI SPA]\nA=1\n"));
    app.execUser({QStringLiteral("DELETE FROM TABQUADREL WHERE UTENTE=3")});
    module.ScriviQuadrel(3);
    EXPECT_TRUE(quadrelIsNull());
}

TEST_F(ParameterStore, ApostrophesInSectionsKeysAndValuesAreStoredAsTyped)
{
    module.ScriviParametroQuadrel(QStringLiteral("L'OLIVO SRL"), QStringLiteral("Nota d'uso"),
                                  QStringLiteral("l'archivio è qui"));
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(rows(), QStringList{QStringLiteral("L'OLIVO SRL|Nota d'uso|l'archivio è qui|1")});
    EXPECT_EQ(quadrel(), QStringLiteral("[L'OLIVO SRL]\nNota d'uso=l'archivio è qui\n"));
}

TEST_F(ParameterStore, FailedWritesAreReportedAndTheTextIsStillRegenerated)
{
    app.execUser({QStringLiteral("ALTER TABLE UTENTI DROP QUADREL")});
    module.SettaParametro(QStringLiteral("A"), QStringLiteral("1"));
    EXPECT_EQ(prompter.messages,
              (QList<QPair<MessageKind, QString>>{
                  {MessageKind::Error,
                   QStringLiteral("Errore interno di UPDATE: impossibile aggiornare i parametri quadrel dell'utente")},
                  {MessageKind::Error,
                   QStringLiteral("Errore interno di UPDATE: impossibile aggiornare i parametri quadrel dell'utente")}}));
    EXPECT_EQ(rows(), QStringList{QStringLiteral("ROSSI SPA|A|1|1")}) << "the row itself was written";

    prompter.messages.clear();
    app.execUser({QStringLiteral("ALTER TABLE UTENTI ADD QUADREL BLOB SUB_TYPE TEXT")});
    // A value longer than the column makes the row's update fail.
    module.SettaParametro(QStringLiteral("A"), QString(400, QLatin1Char('x')));
    ASSERT_FALSE(prompter.messages.isEmpty());
    EXPECT_EQ(prompter.messages.first().second,
              QStringLiteral("Errore interno di UPDATE: impossibile aggiornare la tabella dei parametri"));
    EXPECT_EQ(quadrel(), QStringLiteral("[ROSSI SPA]\nA=1\n"));
}

TEST_F(ParameterStore, PerUserIniFileIsNamedAfterNumberAndName)
{
    module.SettaFileIni(QStringLiteral("Stampa"), QStringLiteral("Copie"), QStringLiteral("2"));
    const QString path = app.path() + QStringLiteral("NOMIDIT/USERCFG/3 MARIO.INI");
    EXPECT_EQ(module.fileIniPath(), path);
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(IniFile(path).readString(QStringLiteral("stampa"), QStringLiteral("COPIE")), QStringLiteral("2"));
    app.execUser({QStringLiteral("UPDATE UTENTI SET NOMEUTENTE='MARIO B' WHERE CODICE=3")});
    // The name is read in the user transaction's snapshot, which the
    // company look-up of the first call renews.
    module.SetUserPerNum(3);
    module.SetUserPerNum(3);
    module.SettaFileIni(QStringLiteral("Stampa"), QStringLiteral("Copie"), QStringLiteral("3"));
    EXPECT_TRUE(QFile::exists(app.path() + QStringLiteral("NOMIDIT/USERCFG/3 MARIO B.INI")));
    EXPECT_EQ(IniFile(path).readString(QStringLiteral("Stampa"), QStringLiteral("Copie")), QStringLiteral("2"));
}

} // namespace
