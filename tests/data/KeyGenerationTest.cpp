#include "RecordsFixture.h"

#include "db/DatabaseError.h"
#include "db/QueryDataSet.h"

using namespace tg;
using namespace tg::test;

namespace {

using KeyGeneration = Workstations;

TEST_F(KeyGeneration, KeysFromTheRowsStartAtOneAndFollowTheShownOrder)
{
    exec({QStringLiteral("CREATE TABLE VUOTA (CODICE INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(10))")});
    QObject save;
    QVariant bookmark;
    bool valid = false;
    db::TableDataSet empty;
    bind(empty, first, &save, QStringLiteral("VUOTA"));
    first.NuovoIntSuMax(empty, bookmark, valid, &save, QStringLiteral("VUOTA"));
    EXPECT_EQ(rows(QStringLiteral("SELECT CODICE FROM VUOTA")), QStringList{QStringLiteral("1")});
    exec({QStringLiteral("DELETE FROM VUOTA")});
    first.AggiornaTabella(empty, bookmark, false);
    first.NuovoIntSuLast(empty, bookmark, valid, &save);
    EXPECT_EQ(rows(QStringLiteral("SELECT CODICE FROM VUOTA")), QStringList{QStringLiteral("1")});
    EXPECT_EQ(empty.fieldByName(QStringLiteral("CODICE")).asInteger(), 1) << "reopened on the new row";

    // Shown by name the last row is 3 ("zz"): its key + 1, not the maximum + 1.
    exec({QStringLiteral("INSERT INTO TABX (CODICE,NOME) VALUES (10,'m')"),
          QStringLiteral("UPDATE TABX SET NOME='zz' WHERE CODICE=3")});
    db::QueryDataSet byName(&first.IBDatabase1);
    byName.sql() << QStringLiteral("SELECT * FROM TABX ORDER BY NOME");
    first.AggiornaTabella(byName, bookmark, false);
    first.NuovoIntSuLast(byName, bookmark, valid, &save);
    EXPECT_EQ(rows(QStringLiteral("SELECT CODICE FROM TABX ORDER BY CODICE")).join(QLatin1Char(',')),
              QStringLiteral("1,2,3,4,10"));
    EXPECT_EQ(byName.fieldByName(QStringLiteral("CODICE")).asInteger(), 4);
}

TEST_F(KeyGeneration, LastKeyCollisionReachesTheCallerWithTheRowUnsaved)
{
    // By name the last row is 1 ("uno"): 1 + 1 is taken already.
    QObject save;
    QVariant bookmark;
    bool valid = false;
    db::QueryDataSet byName(&first.IBDatabase1);
    byName.sql() << QStringLiteral("SELECT * FROM TABX ORDER BY NOME");
    first.AggiornaTabella(byName, bookmark, false);
    EXPECT_THROW(first.NuovoIntSuLast(byName, bookmark, valid, &save), db::DatabaseError);
    EXPECT_EQ(byName.state(), db::DataSet::State::Insert);
    EXPECT_EQ(byName.fieldByName(QStringLiteral("CODICE")).asInteger(), 2);
    EXPECT_EQ(rows().size(), 3);
}

TEST_F(KeyGeneration, GeneratorValueIsPendingAndNeverReused)
{
    exec({QStringLiteral("SET GENERATOR CODICETABXCOUNTER TO 100")});
    QObject save;
    QVariant bookmark;
    bool valid = false;
    db::TableDataSet data;
    bind(data, first, &save);
    first.NuovoIntSuGeneratore(data, bookmark, valid, &save, QStringLiteral("not used"),
                               QStringLiteral("CODICETABXCOUNTER"));
    const qint64 taken = data.fieldByName(QStringLiteral("CODICE")).asInteger();
    EXPECT_EQ(taken, 101);
    EXPECT_EQ(tag(save), 1);
    EXPECT_EQ(shown(save), red());
    EXPECT_EQ(data.state(), db::DataSet::State::Browse) << "posted";
    EXPECT_EQ(rows().size(), 3) << "not committed";

    prompter.answers = {MessageAnswer::Yes};
    first.Annulla(data, bookmark, valid, &save);
    EXPECT_EQ(data.recordCount(), 3);
    first.NuovoIntSuGeneratore(data, bookmark, valid, &save, QString(), QStringLiteral("CODICETABXCOUNTER"));
    EXPECT_EQ(data.fieldByName(QStringLiteral("CODICE")).asInteger(), taken + 1);
    first.ChiudiTransEAggiorna(data, bookmark, valid, &save);
    EXPECT_EQ(rows().value(3), QStringLiteral("102|"));

    EXPECT_THROW(first.NuovoIntSuGeneratore(data, bookmark, valid, &save, QString(), QStringLiteral("NESSUNO")),
                 db::DatabaseError);
}

TEST_F(KeyGeneration, InsertByStatementNeedsIntoInTheTableText)
{
    exec({QStringLiteral("SET GENERATOR CODICETABXCOUNTER TO 100")});
    QObject save;
    QVariant bookmark;
    bool valid = true;
    db::TableDataSet data;
    bind(data, first, &save);
    data.last();
    RecordingObserver observer;
    EXPECT_THROW(first.NuovoIntSuGenSQL(data, bookmark, valid, &save, QStringLiteral("TABX"),
                                        QStringLiteral("CODICETABXCOUNTER")),
                 db::DatabaseError);
    EXPECT_TRUE(observer.statements.contains(QStringLiteral("INSERT TABX(CODICE)\nVALUES (101)")));
    EXPECT_EQ(rows().size(), 3);

    first.NuovoIntSuGenSQL(data, bookmark, valid, &save, QStringLiteral("INTO TABX"),
                           QStringLiteral("CODICETABXCOUNTER"));
    EXPECT_EQ(observer.statements.filter(QStringLiteral("GEN_ID")).last(),
              QStringLiteral("SELECT GEN_ID(CODICETABXCOUNTER,1) FROM RDB$DATABASE;"));
    EXPECT_EQ(rows().value(3), QStringLiteral("102|")) << "committed; 101 was taken by the failed call";
    EXPECT_EQ(data.recNo(), 0);
    EXPECT_EQ(data.recordCount(), 4);
}

TEST_F(KeyGeneration, GeneratorsAreCreatedSetCheckedAndRead)
{
    QObject save;
    QVariant bookmark;
    bool valid = false;
    db::TableDataSet data;
    bind(data, first, &save);

    EXPECT_TRUE(first.CheckGeneratore(data, QStringLiteral("CODICETABXCOUNTER")));
    EXPECT_FALSE(first.CheckGeneratore(data, QStringLiteral("codicetabxcounter")));
    EXPECT_FALSE(first.CheckGeneratore(data, QStringLiteral("NUOVOGEN")));

    EXPECT_TRUE(first.CreaGeneratore(data, bookmark, valid, &save, QStringLiteral("NuovoGen")));
    EXPECT_TRUE(first.CheckGeneratore(data, QStringLiteral("NUOVOGEN")));
    EXPECT_FALSE(first.CreaGeneratore(data, bookmark, valid, &save, QStringLiteral("NUOVOGEN")));
    EXPECT_TRUE(data.active());

    EXPECT_TRUE(first.SetGeneratore(data, bookmark, valid, &save, QStringLiteral("NUOVOGEN"), 41));
    EXPECT_FALSE(first.SetGeneratore(data, bookmark, valid, &save, QStringLiteral("NESSUNO"), 1));
    EXPECT_TRUE(data.active()) << "refreshed whatever the outcome";
    EXPECT_TRUE(prompter.messages.isEmpty());

    RecordingObserver observer;
    QString value = QStringLiteral("stale");
    first.ValoreGeneratore(QStringLiteral("NUOVOGEN"), value);
    EXPECT_EQ(value, QStringLiteral("42"));
    EXPECT_EQ(observer.statements,
              QStringList{QStringLiteral("SELECT\n  GEN_ID(NUOVOGEN,1) AS VALORE\nFROM\n  RDB$DATABASE")});
    EXPECT_TRUE(first.IBTransaction1.active()) << "the transaction is not ended";
    // Always the company archive, whatever database the data set is on.
    EXPECT_THROW(first.ValoreGeneratore(QStringLiteral("CODICESESSIONEMARTILOG"), value), db::DatabaseError);
}

} // namespace
