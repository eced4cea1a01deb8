#include "RecordsFixture.h"

#include "db/DatabaseError.h"
#include "db/QueryDataSet.h"

using namespace tg;
using namespace tg::test;

namespace {

using DataSets = Workstations;

TEST_F(DataSets, IndexSelectionOrdersTheRowsAndKeepsTheCurrentOne)
{
    db::TableDataSet data(&first.IBDatabase1);
    data.setTableName(QStringLiteral("tabx"));
    EXPECT_EQ(data.indexNames(), (QStringList{QStringLiteral("PK_TABX"), QStringLiteral("IX_TABX_NOME")}));
    EXPECT_EQ(data.indexDefinitions().value(1).columns, (QStringList{QStringLiteral("NOME"), QStringLiteral("UTENTE")}));
    data.selectIndex(QStringLiteral("PK_TABX"));
    data.open();
    ASSERT_TRUE(data.locate(QStringLiteral("NOME"), QStringLiteral("tre")));
    data.selectIndex(QStringLiteral("IX_TABX_NOME"));
    EXPECT_EQ(data.value(0, 4).asText(), QStringLiteral("due"));
    EXPECT_EQ(data.value(2, 4).asText(), QStringLiteral("uno"));
    EXPECT_EQ(data.recNo(), 1);
    EXPECT_EQ(data.firstFieldText(), QStringLiteral("3"));
    EXPECT_THROW(data.selectIndex(QStringLiteral("NESSUNO")), db::DatabaseError);
    EXPECT_TRUE(data.isTable());
}

TEST_F(DataSets, PostWritesTheChangedColumnsByKeyAndInsertsAppendedRows)
{
    db::TableDataSet data(&first.IBDatabase1);
    data.setTableName(QStringLiteral("TABX"));
    data.open();
    RecordingObserver observer;
    // The values are bound, never part of the text: a hostile one is stored
    // as typed and changes no statement.
    const QString hostile = QStringLiteral("O'Brien'); DELETE FROM TABX; --");
    ASSERT_TRUE(data.locate(QStringLiteral("CODICE"), QStringLiteral("2")));
    EXPECT_TRUE(data.setFieldValue(QStringLiteral("TESTO"), hostile));
    EXPECT_TRUE(data.setFieldValue(QStringLiteral("DATA"), QStringLiteral("31/12/2023")));
    EXPECT_EQ(data.state(), db::DataSet::State::Edit);
    data.post();
    EXPECT_EQ(observer.statements, QStringList{QStringLiteral("UPDATE TABX SET TESTO=:P1,DATA=:P2\nWHERE CODICE=:P3")});

    // A text the column cannot take changes nothing.
    data.append();
    EXPECT_THROW(data.setFieldValue(QStringLiteral("NUMERO"), QStringLiteral("tre")), db::DatabaseError);
    EXPECT_THROW(data.setFieldValue(QStringLiteral("DATA"), QStringLiteral("31/02/2023")), db::DatabaseError);
    data.setFieldValue(0, QStringLiteral("7"));
    data.setFieldValue(QStringLiteral("NUMERO"), QStringLiteral("3,5"));
    data.setFieldValue(QStringLiteral("MEMO"), QStringLiteral("nota"));
    data.post();
    EXPECT_EQ(observer.statements.last(), QStringLiteral("INSERT INTO TABX (CODICE,NUMERO,MEMO)\nVALUES (:P1,:P2,:P3)"));
    EXPECT_EQ(data.bookmark().toLongLong(), 7);
    first.IBTransaction1.commit();
    EXPECT_EQ(rows(QStringLiteral("SELECT CODICE,TESTO,DATA,NUMERO,MEMO FROM TABX ORDER BY 1")),
              (QStringList{QStringLiteral("1|a|||"), QStringLiteral("2|") + hostile + QStringLiteral("|31/12/2023||"),
                           QStringLiteral("3|c|||"), QStringLiteral("7|||3.5|nota")}));

    // Attached anew, as a company change does: the write of the same
    // columns is prepared again on the new attachment.
    first.IBDatabase1.disconnect();
    first.IBDatabase1.connect();
    data.open();
    ASSERT_TRUE(data.locate(QStringLiteral("CODICE"), QStringLiteral("3")));
    EXPECT_TRUE(data.setFieldValue(QStringLiteral("TESTO"), QStringLiteral("dopo")));
    EXPECT_TRUE(data.setFieldValue(QStringLiteral("DATA"), QStringLiteral("01/02/2024")));
    data.post();
    first.IBTransaction1.commit();
    EXPECT_EQ(rows(QStringLiteral("SELECT CODICE,TESTO,DATA FROM TABX WHERE CODICE=3")),
              QStringList{QStringLiteral("3|dopo|01/02/2024")});
}

TEST_F(DataSets, EndOfTheTransactionClosesTheDataSet)
{
    db::QueryDataSet data(&first.IBDatabase1);
    data.sql() << QStringLiteral("SELECT CODICE,TESTO FROM TABX ORDER BY CODICE DESC");
    EXPECT_EQ(data.tableName(), QStringLiteral("TABX"));
    EXPECT_FALSE(data.isTable());
    data.open();
    first.IBTransaction1.commitRetaining();
    EXPECT_TRUE(data.active());
    EXPECT_EQ(data.recordCount(), 3);
    first.IBTransaction1.commit();
    EXPECT_FALSE(data.active());
    EXPECT_EQ(data.recordCount(), 0);
    EXPECT_EQ(data.state(), db::DataSet::State::Inactive);
    data.open();
    first.IBTransaction1.rollback();
    EXPECT_FALSE(data.active());
}

TEST_F(DataSets, CancelDeleteBookmarksAndARefusingHook)
{
    db::TableDataSet data(&first.IBDatabase1);
    data.setTableName(QStringLiteral("TABX"));
    data.selectIndex(QStringLiteral("PK_TABX"));
    data.open();
    int asked = 0;
    bool allow = false;
    data.setBeforeEdit([&](db::DataSet &) { ++asked; return allow; });
    EXPECT_FALSE(data.setFieldValue(QStringLiteral("TESTO"), QStringLiteral("no")));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(data.state(), db::DataSet::State::Browse);
    EXPECT_EQ(data.fieldByName(QStringLiteral("TESTO")).asText(), QStringLiteral("a"));

    allow = true;
    data.setFieldValue(QStringLiteral("TESTO"), QStringLiteral("annullato"));
    data.cancel();
    EXPECT_EQ(data.fieldByName(QStringLiteral("TESTO")).asText(), QStringLiteral("a"));
    data.append();
    data.cancel();
    EXPECT_EQ(data.recordCount(), 3);
    EXPECT_EQ(asked, 2) << "an appended row is not locked";

    data.next();
    const QVariant two = data.bookmark();
    data.deleteRow();
    EXPECT_EQ(data.firstFieldText(), QStringLiteral("3")) << "the row after the deleted one";
    EXPECT_FALSE(data.gotoBookmark(two));
    data.first();
    EXPECT_TRUE(data.gotoBookmark(QVariant::fromValue<qlonglong>(3)));
    EXPECT_EQ(data.recNo(), 1);
    first.IBTransaction1.commit();
    EXPECT_EQ(rows().size(), 2);

    data.open();
    data.deleteAll();
    EXPECT_EQ(data.recordCount(), 0);
    EXPECT_TRUE(data.active());
    first.IBTransaction1.commit();
    EXPECT_TRUE(rows().isEmpty());
}

} // namespace
