#include "TestDatabase.h"
#include "TestSupport.h"

#include "db/DatabaseError.h"
#include "db/SqlText.h"

#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

class QueryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        createTestDatabase(database, dir.file(QStringLiteral("q.fdb")));
        execCommitted(database, QStringLiteral(
            "CREATE TABLE V (ID INTEGER, TXT VARCHAR(40), FIX CHAR(4), D DATE, T TIME, TS TIMESTAMP,"
            " N NUMERIC(18,4), B BLOB SUB_TYPE TEXT, BIG BIGINT)"));
        transaction.setDefaultDatabase(&database);
        query.setDatabase(&database);
        query.setTransaction(&transaction);
    }

    QString readText(const QString &column)
    {
        query.sql().clear();
        query.sql() << QStringLiteral("SELECT %1 FROM V").arg(column);
        query.open();
        return query.field(0).asText();
    }

    TempDir dir;
    db::Database database;
    db::Transaction transaction;
    db::Query query;
};

TEST_F(QueryTest, ValuesReadAsTextTheSuiteWay)
{
    query.sql() << QStringLiteral("INSERT INTO V VALUES (7, 'testo', 'ab', '12/31/2023', '08:05:09',")
                << QStringLiteral("'01/02/2024 13:14:15', 3.5, 'memo lungo', 9000000000)");
    query.execSql();
    EXPECT_EQ(readText(QStringLiteral("ID")), QStringLiteral("7"));
    EXPECT_EQ(readText(QStringLiteral("TXT")), QStringLiteral("testo"));
    EXPECT_EQ(readText(QStringLiteral("FIX")), QStringLiteral("ab  "));
    EXPECT_EQ(readText(QStringLiteral("D")), QStringLiteral("31/12/2023"));
    EXPECT_EQ(readText(QStringLiteral("T")), QStringLiteral("08:05:09"));
    EXPECT_EQ(readText(QStringLiteral("TS")), QStringLiteral("02/01/2024 13:14:15")) << "a slash in a literal means month first";
    EXPECT_EQ(readText(QStringLiteral("N")), QStringLiteral("3.5"));
    EXPECT_EQ(readText(QStringLiteral("B")), QStringLiteral("memo lungo"));
    EXPECT_EQ(readText(QStringLiteral("BIG")), QStringLiteral("9000000000"));
    EXPECT_EQ(query.field(0).asInteger(), 9000000000LL);
}

TEST_F(QueryTest, NullsReadEmptyAndNonNumbersRefuseIntegerReads)
{
    query.sql() << QStringLiteral("INSERT INTO V (ID, TXT) VALUES (NULL, 'x1')");
    query.execSql();
    EXPECT_EQ(readText(QStringLiteral("ID")), QString());
    EXPECT_TRUE(query.field(0).isNull());
    EXPECT_EQ(query.field(0).asInteger(), 0);
    EXPECT_EQ(readText(QStringLiteral("B")), QString());
    readText(QStringLiteral("TXT"));
    EXPECT_THROW(query.field(0).asInteger(), db::DatabaseError);
    EXPECT_THROW(query.fieldByName(QStringLiteral("NOPE")), db::DatabaseError);
}

TEST_F(QueryTest, SuiteCodePageAndApostrophesRoundTrip)
{
    const QString text = QStringLiteral("l'anno più bello: caffè ´ 100€");
    const QString memo = QStringLiteral("riga 1\nriga 2 d'oro");
    query.sql() << QStringLiteral("INSERT INTO V (ID, TXT, B) VALUES (1, '%1', '%2')")
                       .arg(db::quotedValue(text), db::quotedValue(memo));
    query.execSql();
    EXPECT_EQ(readText(QStringLiteral("TXT")), text);
    EXPECT_EQ(readText(QStringLiteral("B")), memo);
    query.sql().clear();
    query.sql() << QStringLiteral("SELECT OCTET_LENGTH(TXT) FROM V");
    query.open();
    EXPECT_EQ(query.field(0).asInteger(), text.size()) << "stored as one byte per character";
}

TEST_F(QueryTest, RowsAreWalkedInOrderUntilEof)
{
    for (int i = 1; i <= 3; ++i) {
        query.sql().clear();
        query.sql() << QStringLiteral("INSERT INTO V (ID) VALUES (%1)").arg(i);
        query.execSql();
    }
    query.sql().clear();
    query.sql() << QStringLiteral("SELECT ID") << QStringLiteral("FROM V") << QStringLiteral("ORDER BY ID DESC");
    EXPECT_EQ(query.statementText(), QStringLiteral("SELECT ID\nFROM V\nORDER BY ID DESC"));
    query.open();
    QStringList seen;
    while (!query.eof()) {
        seen << query.fieldByName(QStringLiteral("id")).asText();
        query.next();
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")}));

    query.sql().clear();
    query.sql() << QStringLiteral("SELECT ID FROM V WHERE ID > 10");
    query.open();
    EXPECT_TRUE(query.eof());
    EXPECT_TRUE(query.isEmpty());
    EXPECT_EQ(query.field(0).asText(), QString());
}

TEST_F(QueryTest, PreparedStatementIsReusedWithNewParameterValues)
{
    for (int i = 1; i <= 3; ++i) {
        query.sql().clear();
        query.sql() << QStringLiteral("INSERT INTO V (ID, TXT) VALUES (%1, 'riga %1')").arg(i);
        query.execSql();
    }
    query.sql().clear();
    query.sql() << QStringLiteral("SELECT TXT FROM V") << QStringLiteral("WHERE ID=:ID AND TXT<>':NON' -- :COMMENTO")
                << QStringLiteral("AND (:T IS NULL OR TXT=:t)");
    query.prepare();
    EXPECT_EQ(query.paramNames(), (QStringList{QStringLiteral("ID"), QStringLiteral("T"), QStringLiteral("t")}));
    RecordingObserver observer;
    for (int i = 1; i <= 3; ++i) {
        query.setParam(QStringLiteral("id"), i);
        query.setParam(QStringLiteral("T"), QVariant());
        query.open();
        EXPECT_EQ(query.field(0).asText(), QStringLiteral("riga %1").arg(i));
        query.close();
    }
    EXPECT_TRUE(query.prepared()) << "closing keeps the statement prepared";
    query.setParam(QStringLiteral("ID"), 2);
    query.setParam(QStringLiteral("T"), QStringLiteral("riga 3"));
    query.open();
    EXPECT_TRUE(query.eof());
    EXPECT_THROW(query.setParam(QStringLiteral("NESSUNO"), 1), db::DatabaseError);
    EXPECT_EQ(observer.statements.size(), 4);

    query.sql().clear();
    query.sql() << QStringLiteral("SELECT COUNT(*) FROM V");
    query.open();
    EXPECT_FALSE(query.prepared()) << "a new text leaves the old statement";
    EXPECT_EQ(query.field(0).asInteger(), 3);
}

TEST_F(QueryTest, ParametersReachTheColumnsAsTheirTypes)
{
    // Nothing of a bound value is statement text: the hostile text is stored
    // as it is and the table is still there to read it from.
    const QString hostile = QStringLiteral("O'Brien'); DROP TABLE V; --");
    query.sql() << QStringLiteral("INSERT INTO V (ID, TXT, FIX, D, T, TS, N, B, BIG)")
                << QStringLiteral("VALUES (:ID, :TXT, :FIX, :D, :T, :TS, :N, :B, :BIG)");
    query.prepare();
    query.setParam(QStringLiteral("ID"), 7);
    query.setParam(QStringLiteral("TXT"), hostile);
    query.setParam(QStringLiteral("FIX"), QVariant());
    query.setParam(QStringLiteral("D"), QDate(2023, 12, 31));
    query.setParam(QStringLiteral("T"), QTime(8, 5, 9));
    query.setParam(QStringLiteral("TS"), QDateTime(QDate(2024, 2, 1), QTime(13, 14, 15)));
    query.setParam(QStringLiteral("N"), 3.25);
    query.setParam(QStringLiteral("B"), hostile);
    query.setParam(QStringLiteral("BIG"), QVariant::fromValue<qlonglong>(9000000000));
    query.execSql();
    transaction.commit();

    query.sql().clear();
    query.sql() << QStringLiteral("SELECT ID, TXT, FIX, D, T, TS, N, B, BIG FROM V");
    query.open();
    QStringList stored;
    for (int i = 0; i < query.fieldCount(); ++i)
        stored << query.field(i).asText();
    EXPECT_EQ(stored, (QStringList{QStringLiteral("7"), hostile, QString(), QStringLiteral("31/12/2023"),
                                   QStringLiteral("08:05:09"), QStringLiteral("01/02/2024 13:14:15"),
                                   QStringLiteral("3.25"), hostile, QStringLiteral("9000000000")}));
    EXPECT_TRUE(query.field(2).isNull());
}

TEST(NamedParameters, RewrittenOutsideQuotesAndComments)
{
    QStringList names;
    EXPECT_EQ(db::rewriteNamedParameters(QStringLiteral("SELECT ':A', \":B\" FROM T /* :C */ WHERE X=:D_1 AND Y = :e\n"
                                                        "-- :F\nAND Z=':G''s:H' AND W=:I"),
                                         names),
              QStringLiteral("SELECT ':A', \":B\" FROM T /* :C */ WHERE X=? AND Y = ?\n-- :F\nAND Z=':G''s:H' AND W=?"));
    EXPECT_EQ(names, (QStringList{QStringLiteral("D_1"), QStringLiteral("e"), QStringLiteral("I")}));
    EXPECT_EQ(db::rewriteNamedParameters(QStringLiteral("SELECT 1 FROM T WHERE A='unterminated :X"), names),
              QStringLiteral("SELECT 1 FROM T WHERE A='unterminated :X"));
    EXPECT_TRUE(names.isEmpty());
}

TEST(SqlText, QuotedValueDoublesOnlyApostrophes)
{
    EXPECT_EQ(db::quotedValue(QStringLiteral("ROSSI SPA")), QStringLiteral("ROSSI SPA"));
    EXPECT_EQ(db::quotedValue(QStringLiteral("D'ANGELO ''")), QStringLiteral("D''ANGELO ''''"));
    EXPECT_EQ(db::quotedValue(QStringLiteral("caffè´")), QStringLiteral("caffè´"));
}

} // namespace
