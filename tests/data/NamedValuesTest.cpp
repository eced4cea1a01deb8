#include "AppDirectory.h"
#include "TestSupport.h"

#include "data/ConversionError.h"
#include "data/TabX.h"

#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

class NamedValues : public ::testing::Test {
protected:
    void insert(const QString &tipo, const QString &nome, const QString &testo, const QString &utente,
                const QString &numero = {}, const QString &data = {})
    {
        module.Inserisci(tipo, nome, numero, testo, data, QString(), QString(), QString(), utente);
    }
    QString getV(const QString &name)
    {
        QString text = QStringLiteral("stale");
        module.GetV(name, text);
        return text;
    }

    TTabXForm module{nullptr, 0};
};

TEST_F(NamedValues, GetAndSetOnlyFindExistingNamesExactly)
{
    EXPECT_EQ(getV(QStringLiteral("Archivio")), QString());
    EXPECT_FALSE(module.SetV(QStringLiteral("Archivio"), QStringLiteral("x")));
    EXPECT_EQ(module.memTabX.recordCount(), 0);

    insert(QStringLiteral("VRT"), QStringLiteral("Archivio"), QStringLiteral("a"), QStringLiteral("0"));
    EXPECT_EQ(getV(QStringLiteral("archivio")), QString()) << "names are compared with their case";
    EXPECT_TRUE(module.SetM(QStringLiteral("Archivio"), QStringLiteral("lungo")));
    QString memo;
    module.GetM(QStringLiteral("Archivio"), memo);
    EXPECT_EQ(memo, QStringLiteral("lungo"));
    EXPECT_EQ(getV(QStringLiteral("Archivio")), QStringLiteral("a"));
}

TEST_F(NamedValues, SetChangesTheFirstRecordOfTheNameWhateverItsTypeOrUser)
{
    insert(QStringLiteral("TBX"), QStringLiteral("Titolo"), QStringLiteral("primo"), QStringLiteral("3"));
    insert(QStringLiteral("VRT"), QStringLiteral("Titolo"), QStringLiteral("secondo"), QStringLiteral("0"));
    ASSERT_TRUE(module.SetV(QStringLiteral("Titolo"), QStringLiteral("nuovo")));
    EXPECT_EQ(module.memTabX.record(0).Testo, QStringLiteral("nuovo"));
    EXPECT_EQ(module.memTabX.record(1).Testo, QStringLiteral("secondo"));
}

TEST_F(NamedValues, InsertUpdatesTheSameTypeNameAndUserAndAddsForAnotherUser)
{
    insert(QStringLiteral("VRT"), QStringLiteral("Archivio"), QStringLiteral("uno"), QStringLiteral("0"),
           QStringLiteral("5"), QStringLiteral("31/12/2023"));
    insert(QStringLiteral("VRT"), QStringLiteral("Archivio"), QStringLiteral("due"), QStringLiteral("0"));
    ASSERT_EQ(module.memTabX.recordCount(), 1);
    const MemTabX::Record &record = module.memTabX.record(0);
    EXPECT_EQ(record.Testo, QStringLiteral("due"));
    EXPECT_FALSE(record.Numero.has_value()) << "an empty text empties the number";
    EXPECT_TRUE(record.Data.isNull());

    insert(QStringLiteral("VRT"), QStringLiteral("Archivio"), QStringLiteral("tre"), QStringLiteral("7"),
           QStringLiteral("-12"), QStringLiteral("1/2/2024"));
    ASSERT_EQ(module.memTabX.recordCount(), 2);
    const MemTabX::Record &second = module.memTabX.record(1);
    EXPECT_EQ(second.Numero, std::optional<qint64>(-12));
    EXPECT_EQ(second.Data, QDate(2024, 2, 1)) << "dates are day first";
    EXPECT_EQ(second.Utente, std::optional<qint16>(7));
    EXPECT_NE(second.Codice, module.memTabX.record(0).Codice);
}

TEST_F(NamedValues, TextsAreCutToTheirFieldWidths)
{
    const QString longName = QString(70, QLatin1Char('n'));
    insert(QStringLiteral("VRT"), longName, QString(200, QLatin1Char('t')), QStringLiteral("0"));
    EXPECT_EQ(getV(longName.left(64)), QString(128, QLatin1Char('t')));
    ASSERT_TRUE(module.SetV(longName.left(64), QString(200, QLatin1Char('s'))));
    EXPECT_EQ(getV(longName.left(64)), QString(128, QLatin1Char('s')));
    // The same long name inserted again finds the record it was stored as.
    insert(QStringLiteral("VRT"), longName, QStringLiteral("x"), QStringLiteral("0"));
    EXPECT_EQ(module.memTabX.recordCount(), 1);
}

TEST_F(NamedValues, BadNumbersAndDatesAreRefusedWithoutStoringAnything)
{
    EXPECT_THROW(insert(QStringLiteral("VRT"), QStringLiteral("A"), QString(), QStringLiteral("0"),
                        QStringLiteral("3,5")),
                 ConversionError);
    EXPECT_THROW(insert(QStringLiteral("VRT"), QStringLiteral("A"), QString(), QStringLiteral("0"), QString(),
                        QStringLiteral("12/31/2023")),
                 ConversionError);
    EXPECT_THROW(insert(QStringLiteral("VRT"), QStringLiteral("A"), QString(), QStringLiteral("70000")),
                 ConversionError);
    EXPECT_THROW(insert(QStringLiteral("VRT"), QStringLiteral("A"), QString(), QStringLiteral("uno")),
                 ConversionError);
    EXPECT_EQ(module.memTabX.recordCount(), 0);

    insert(QStringLiteral("VRT"), QStringLiteral("A"), QStringLiteral("ok"), QStringLiteral("0"));
    EXPECT_THROW(insert(QStringLiteral("VRT"), QStringLiteral("A"), QStringLiteral("perso"), QStringLiteral("0"),
                        QStringLiteral("x")),
                 ConversionError);
    EXPECT_EQ(getV(QStringLiteral("A")), QStringLiteral("ok"));
}

TEST(CaricaParametro, ReadsTheCurrentCompanySectionOfTheCurrentUser)
{
    AppDirectory app;
    app.execUser({QStringLiteral("INSERT INTO TABQUADREL (UTENTE,INTESTAZIONE,PARAMETRO,VALORE,PROGRESSIVO) "
                                 "VALUES ('0','','Archivio','/dati/a.fdb','1')"),
                  QStringLiteral("INSERT INTO TABQUADREL (UTENTE,INTESTAZIONE,PARAMETRO,VALORE,PROGRESSIVO) "
                                 "VALUES ('0','ROSSI SPA','Solo altrove','x','2')"),
                  QStringLiteral("INSERT INTO TABQUADREL (UTENTE,INTESTAZIONE,PARAMETRO,VALORE,PROGRESSIVO) "
                                 "VALUES ('0','','Vuoto',NULL,'3')"),
                  QStringLiteral("INSERT INTO TABQUADREL (UTENTE,INTESTAZIONE,PARAMETRO,VALORE,PROGRESSIVO) "
                                 "VALUES ('0','','l''anno','2024','4')")});
    TTabXForm module(nullptr, 0);
    module.Avvia();
    RecordingObserver observer;
    QString value = QStringLiteral("stale");
    module.CaricaParametro(QStringLiteral("Archivio"), value);
    EXPECT_EQ(value, QStringLiteral("/dati/a.fdb"));
    EXPECT_EQ(observer.statements.first(),
              QStringLiteral("SELECT VALORE FROM TABQUADREL WHERE\n(UTENTE='0')AND\n(INTESTAZIONE='')AND\n"
                             "(PARAMETRO='Archivio')"));
    module.CaricaParametro(QStringLiteral("Solo altrove"), value);
    EXPECT_EQ(value, QString());
    value = QStringLiteral("stale");
    module.CaricaParametro(QStringLiteral("Vuoto"), value);
    EXPECT_EQ(value, QString());
    module.CaricaParametro(QStringLiteral("l'anno"), value);
    EXPECT_EQ(value, QStringLiteral("2024"));
}

} // namespace
