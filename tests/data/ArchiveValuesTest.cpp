#include "AppDirectory.h"
#include "TestSupport.h"

#include "data/ConversionError.h"
#include "data/TabX.h"

#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

class ArchiveValues : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.execUser({QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE) VALUES (7,'MARIO')")});
        archive = app.createArchive(QStringLiteral("archivio.fdb"));
        module.Avvia();
        module.SetUserPerNum(7);
        module.ConnettiDatabase0(archive);
        ASSERT_TRUE(module.IBDatabase1.connected());
    }
    QStringList tabx(const QString &columns = QStringLiteral("CODPROGETTO,CODSITUAZIONE,TIPO,NOME,NUMERO,TESTO,DATA,"
                                                              "MEMO,LIVELLO1,LIVELLO2,UTENTE")) const
    {
        return AppDirectory::queryRows(archive, QStringLiteral("SELECT %1 FROM TABX ORDER BY CODICE").arg(columns));
    }

    AppDirectory app;
    QString archive;
    RecordingPrompter prompter;
    TTabXForm module{nullptr, 0};
};

TEST_F(ArchiveValues, ProjectValueIsAddedOnceInTheSuiteForms)
{
    RecordingObserver observer;
    EXPECT_FALSE(module.AggiungiParametroInTabX(QString(), QStringLiteral("S"), QStringLiteral("N"), QString(),
                                                QString(), QString(), QString(), QString(), QString()));
    EXPECT_TRUE(observer.statements.isEmpty()) << "an empty key touches no table";

    EXPECT_TRUE(module.AggiungiParametroInTabX(QStringLiteral("P'1"), QStringLiteral("S1"), QStringLiteral("Sconto"),
                                               QStringLiteral("3,5"), QStringLiteral("l'ultimo"),
                                               QStringLiteral("31/12/2023"), QStringLiteral("nota d'oro"),
                                               QStringLiteral("1"), QString()));
    EXPECT_EQ(tabx(), QStringList{QStringLiteral("P'1|S1|TBX|Sconto|3.5|l´ultimo|31/12/2023|nota d´oro|1||7")});
    EXPECT_TRUE(module.AggiungiParametroInTabX(QStringLiteral("P'1"), QStringLiteral("S1"), QStringLiteral("Sconto"),
                                               QStringLiteral("9"), QString(), QString(), QString(), QString(),
                                               QString()));
    EXPECT_EQ(tabx(QStringLiteral("NUMERO")), QStringList{QStringLiteral("3.5")}) << "an existing value is kept";
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(ArchiveValues, ProjectValueIsWrittenOnlyWhenItExists)
{
    EXPECT_FALSE(module.ScriviParametroInTabX(QStringLiteral("P"), QStringLiteral("S"), QStringLiteral("N"),
                                              QStringLiteral("1"), QString(), QString(), QString()));
    EXPECT_TRUE(tabx().isEmpty());
    module.AggiungiParametroInTabX(QStringLiteral("P"), QStringLiteral("S"), QStringLiteral("N"), QStringLiteral("1"),
                                   QStringLiteral("t"), QString(), QStringLiteral("m"), QString(), QString());
    EXPECT_TRUE(module.ScriviParametroInTabX(QStringLiteral("P"), QStringLiteral("S"), QStringLiteral("N"),
                                             QStringLiteral("2,25"), QString(), QStringLiteral("1/2/2024"),
                                             QStringLiteral("d'un tratto")));
    EXPECT_EQ(tabx(QStringLiteral("NUMERO,TESTO,DATA,MEMO")),
              QStringList{QStringLiteral("2.25||01/02/2024|d´un tratto")});
    EXPECT_EQ(AppDirectory::queryText(archive, QStringLiteral("SELECT COUNT(*) FROM TABX WHERE TESTO IS NULL")),
              QStringLiteral("1"));
    EXPECT_THROW(module.ScriviParametroInTabX(QStringLiteral("P"), QStringLiteral("S"), QStringLiteral("N"), QString(),
                                              QString(), QStringLiteral("2024-02-01"), QString()),
                 ConversionError);
    EXPECT_EQ(tabx(QStringLiteral("DATA")), QStringList{QStringLiteral("01/02/2024")});
}

TEST_F(ArchiveValues, ProjectValueIsCopiedIntoAnExistingMemoryRecordOnly)
{
    module.AggiungiParametroInTabX(QStringLiteral("P"), QStringLiteral("S"), QStringLiteral("Titolo"), QString(),
                                   QStringLiteral("Vendite"), QString(), QStringLiteral("lungo"), QString(), QString());
    EXPECT_FALSE(module.CaricaParametroDaTabX(QStringLiteral("P"), QStringLiteral("S"), QStringLiteral("Titolo"), {},
                                              {}, {}, {}, {}, {}));
    module.Inserisci(QStringLiteral("VRT"), QStringLiteral("Titolo"), QString(), QStringLiteral("vecchio"), QString(),
                     QString(), QString(), QString(), QStringLiteral("0"));
    EXPECT_TRUE(module.CaricaParametroDaTabX(QStringLiteral("P"), QStringLiteral("S"), QStringLiteral("Titolo"), {},
                                             {}, {}, {}, {}, {}));
    QString text;
    QString memo;
    module.GetV(QStringLiteral("Titolo"), text);
    module.GetM(QStringLiteral("Titolo"), memo);
    EXPECT_EQ(text, QStringLiteral("Vendite"));
    EXPECT_EQ(memo, QStringLiteral("lungo"));
}

TEST_F(ArchiveValues, UserValuesAreCopiedIntoMemory)
{
    AppDirectory::exec(archive,
                       {QStringLiteral("INSERT INTO TABX (CODICE,TIPO,NOME,NUMERO,TESTO,DATA,UTENTE) "
                                       "VALUES (1,'TBX','Nuovo',4,'testo','12/31/2023',7)"),
                        QStringLiteral("INSERT INTO TABX (CODICE,TIPO,NOME,TESTO,UTENTE) VALUES (2,'TBX','Parziale','p',7)"),
                        QStringLiteral("INSERT INTO TABX (CODICE,TIPO,NOME,UTENTE) VALUES (3,'TBX','Svuota',7)"),
                        QStringLiteral("INSERT INTO TABX (CODICE,TIPO,NOME,TESTO,UTENTE) VALUES (4,'TBX','Altro','no',8)"),
                        QStringLiteral("INSERT INTO TABX (CODICE,TIPO,NOME,TESTO,UTENTE) VALUES (5,'VRT','Tipo','no',7)")});
    module.Inserisci(QStringLiteral("TBX"), QStringLiteral("Parziale"), QStringLiteral("9"), QStringLiteral("vecchio"),
                     QString(), QStringLiteral("memo"), QStringLiteral("2"), QString(), QStringLiteral("1"));
    module.Inserisci(QStringLiteral("TBX"), QStringLiteral("Svuota"), QStringLiteral("9"), QStringLiteral("x"), QString(),
                     QStringLiteral("y"), QString(), QString(), QStringLiteral("1"));
    module.AggiornaParametriTabX();
    const MemTabX &memory = module.memTabX;
    ASSERT_EQ(memory.recordCount(), 3);
    const MemTabX::Record &partial = memory.record(0);
    EXPECT_EQ(partial.Testo, QStringLiteral("p"));
    EXPECT_EQ(partial.Numero, std::optional<qint64>(9)) << "empty columns leave the memory value";
    EXPECT_EQ(partial.Memo, QStringLiteral("memo"));
    EXPECT_EQ(partial.Livello1, std::optional<qint16>(2));
    const MemTabX::Record &emptied = memory.record(1);
    EXPECT_FALSE(emptied.Numero.has_value());
    EXPECT_TRUE(emptied.Testo.isEmpty());
    EXPECT_TRUE(emptied.Memo.isEmpty());
    const MemTabX::Record &added = memory.record(2);
    EXPECT_EQ(added.Nome, QStringLiteral("Nuovo"));
    EXPECT_EQ(added.Numero, std::optional<qint64>(4));
    EXPECT_EQ(added.Data, QDate(2023, 12, 31));
    EXPECT_EQ(added.Utente, std::optional<qint16>(7));
}

TEST_F(ArchiveValues, PlainValuesInsertNullButUpdateToTheEmptyText)
{
    EXPECT_TRUE(module.SettaValoreTabX(QStringLiteral("Vuoto"), QString(), false));
    EXPECT_EQ(tabx(QStringLiteral("NOME,COALESCE(TESTO,'<null>'),COALESCE(UTENTE,-1)")),
              QStringList{QStringLiteral("Vuoto|<null>|-1")});
    EXPECT_TRUE(module.SettaValoreTabX(QStringLiteral("Vuoto"), QString(), false));
    EXPECT_EQ(tabx(QStringLiteral("COALESCE(TESTO,'<null>')")), QStringList{QString()});

    EXPECT_TRUE(module.SettaValoreTabX(QStringLiteral("Nome d'arte"), QStringLiteral("l'altro"), true));
    QString text;
    module.ValoreTabX(QStringLiteral("Nome d'arte"), true, text);
    EXPECT_EQ(text, QStringLiteral("l´altro"));
    EXPECT_TRUE(module.SettaValoreMTabX(QStringLiteral("Nome d'arte"), QStringLiteral("memo"), true));
    module.ValoreMTabX(QStringLiteral("Nome d'arte"), true, text);
    EXPECT_EQ(text, QStringLiteral("memo"));
    EXPECT_EQ(tabx().size(), 2) << "the second write updated the user's row";
    EXPECT_TRUE(module.IBTransaction1.active()) << "plain writes keep the transaction open";

    AppDirectory::exec(archive, {QStringLiteral("ALTER TABLE TABX DROP MEMO")});
    module.IBTransaction1.commit();
    EXPECT_FALSE(module.SettaValoreMTabX(QStringLiteral("X"), QStringLiteral("y"), false));
    EXPECT_TRUE(prompter.messages.isEmpty()) << "plain writes fail without a message";
}

TEST_F(ArchiveValues, UserValueIsCreatedFromTheGeneralOne)
{
    AppDirectory::exec(archive, {QStringLiteral("INSERT INTO TABX (CODICE,NOME,TESTO) VALUES (100,'Stampante','l''ufficio')")});
    QString text;
    module.ValoreTabXUserCheckGen(QStringLiteral("Stampante"), text);
    EXPECT_EQ(text, QStringLiteral("l'ufficio"));
    EXPECT_EQ(AppDirectory::queryRows(archive, QStringLiteral("SELECT TESTO FROM TABX WHERE UTENTE=7")),
              QStringList{QStringLiteral("l´ufficio")});
    module.ValoreTabXUserCheckGen(QStringLiteral("Stampante"), text);
    EXPECT_EQ(text, QStringLiteral("l´ufficio")) << "the user's own row is found now";

    module.ValoreTabXUserCheckGen(QStringLiteral("Mai visto"), text);
    EXPECT_EQ(text, QString());
    EXPECT_EQ(AppDirectory::queryText(archive, QStringLiteral(
                  "SELECT COUNT(*) FROM TABX WHERE NOME='Mai visto' AND UTENTE=7 AND TESTO IS NULL")),
              QStringLiteral("1"));
}

} // namespace
