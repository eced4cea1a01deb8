#include "SuiteSetup.h"
#include "TestSupport.h"

#include "db/Database.h"
#include "db/Query.h"
#include "db/SqlText.h"
#include "db/Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QMap>
#include <QRect>
#include <QRegularExpression>
#include <QProcess>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

// The columns each table must have, in table order where order matters.
const QMap<QString, QStringList> kUserTables{
    {"UTENTI", {"CODICE", "NOMEUTENTE", "PWDUTENTE", "DITTA", "PROFILOSICUREZZA", "PROGETTO", "MANTIENISTDMIN",
                "ACCESSOQUADREL", "QUADREL", "INFO1", "UTENTEINATTIVO", "LINGUA1", "LINGUA2"}},
    {"TABQUADREL", {"UTENTE", "INTESTAZIONE", "PARAMETRO", "VALORE", "PROGRESSIVO"}},
    {"TABSCRIPT", {"PROGETTO", "SCRIPTFORM", "CONTESTO", "UTENTE", "DESCRIZIONESITUAZIONE", "SCRIPT",
                   "MODIFICATODAUTENTE", "DATAULTIMAMODIFICA", "STATUS"}},
    {"MARTILOG", {"CODICESESSIONE", "DATAAPERTURA", "ORAAPERTURA", "CODICEUTENTE", "DATACHIUSURA", "ORACHIUSURA"}},
    {"MARTILOGFUNZ", {"CODICESESSIONE", "DATACHIAMATAFUNZIONE", "ORACHIAMATAFUNZIONE", "FUNZIONECHIAMATA",
                      "IDFINESTRA", "HANDLEFINESTRA"}},
    {"STOPOS1", {"CODICESITUAZIONE", "CODICEUTENTE", "CODICEPROGETTO", "POSX", "POSY", "DIMX", "DIMY"}},
    {"DETTMENU", {"PROGRAMMA", "MENU", "MENUPREC", "LIVELLOMENU", "VISIBILE", "DESCRIZIONE", "VOCERAPIDA", "DLL",
                  "FUNZIONE", "LIVELLO2VERSIONE", "PARAMETRIBLOB"}},
    {"PROGRAMMI", {"CODICE", "ICONA", "DESCRIZIONE"}},
    {"DETTPROGETTI", {"PROGETTO", "PROGRAMMA"}},
    {"PULSANTONI", {"ID", "PROGETTO", "VISIBILE", "POS_X", "POS_Y", "LARGHEZZA", "ALTEZZA", "NOME", "NOMEIMMAGINE",
                    "DLL", "FUNZIONE", "LIVELLO2VERSIONE", "PARAMETRIBLOB"}},
    {"PROFILI", {"CODICE", "LIVELLOPREDEFINITO"}},
    {"DETTPROF", {"PROFILO", "PROGRAMMA", "MENU", "LIVELLO"}},
    {"PROGETTI", {"CODICE", "MODOMENUSISTEMA"}},
    {"LINGUEMENU", {"PROGRAMMA", "MENU", "LINGUA", "DESCRIZIONE"}},
    {"TABX", {"CODICE", "CODPROGETTO", "CODSITUAZIONE", "TIPO", "NOME", "NUMERO", "TESTO", "DATA", "MEMO",
              "LIVELLO1", "LIVELLO2", "UTENTE"}},
};
const QStringList kUserGenerators{"CODICESESSIONEMARTILOG", "IDFINESTRAMARTILOGFUNZCOUNTER"};

const QMap<QString, QStringList> kArchiveTables{
    {"TABX", {"CODICE", "CODPROGETTO", "CODSITUAZIONE", "TIPO", "NOME", "NUMERO", "TESTO", "DATA", "MEMO",
              "LIVELLO1", "LIVELLO2", "UTENTE"}},
    {"SEMAFORIF", {"ID", "DLL", "FORM", "UTENTE", "OCCUPATO", "DATAORA"}},
    {"SEMAFORIFCRITICHE", {"DLL", "FORM", "OSSERVATASPECIALE"}},
    {"SEMAFORIFCRITICHECOLL", {"DLLPRIN", "FORMPRIN", "DLLCOLLEGATA", "FORMCOLLEGATA"}},
    {"SEMAFORIFANOMALIE", {"ID", "DATAORAANOMALIA", "UTENTE", "DLL", "FORM", "DESCRIZIONE"}},
};
const QStringList kArchiveGenerators{"CODICETABXCOUNTER", "IDSEMAFORIFANOMALIECOUNTER"};

// An attachment to a database made by the setup, for looking at it.
class Inspector {
public:
    explicit Inspector(const QString &path)
    {
        m_database.setDatabaseName(path);
        m_database.params() = QStringList{QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=quillbeam")};
        m_database.connect();
    }
    ~Inspector() { m_database.disconnect(); }

    // The first column of every row, trimmed.
    QStringList column(const QString &statement)
    {
        m_query.close();
        m_query.sql() = QStringList{statement};
        m_query.open();
        QStringList values;
        while (!m_query.eof()) {
            values << m_query.field(0).asText().trimmed();
            m_query.next();
        }
        m_query.close();
        return values;
    }

    // Every row, by column name; NULL reads as a null string.
    QList<QHash<QString, QString>> rows(const QString &statement)
    {
        m_query.close();
        m_query.sql() = QStringList{statement};
        m_query.open();
        QList<QHash<QString, QString>> result;
        while (!m_query.eof()) {
            QHash<QString, QString> row;
            for (int i = 0; i < m_query.fieldCount(); ++i) {
                const db::FieldValue field = m_query.field(i);
                row.insert(m_query.fieldName(i), field.isNull() ? QString() : field.asText());
            }
            result << row;
            m_query.next();
        }
        m_query.close();
        return result;
    }

    QString value(const QString &statement)
    {
        const QStringList values = column(statement);
        return values.value(0);
    }

    // The first column of the first row exactly as read.
    QString rawValue(const QString &statement)
    {
        m_query.close();
        m_query.sql() = QStringList{statement};
        m_query.open();
        const QString text = m_query.eof() ? QString() : m_query.field(0).asText();
        m_query.close();
        return text;
    }

    void execute(const QString &statement)
    {
        m_query.close();
        m_query.sql() = QStringList{statement};
        m_query.execSql();
        m_transaction.commit();
    }

    QStringList tables()
    {
        return column(QStringLiteral("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS"
                                     " WHERE COALESCE(RDB$SYSTEM_FLAG,0)=0 ORDER BY RDB$RELATION_NAME"));
    }

    QStringList columns(const QString &table)
    {
        return column(QStringLiteral("SELECT RDB$FIELD_NAME FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME='%1'"
                                     " ORDER BY RDB$FIELD_POSITION")
                          .arg(table));
    }

    QStringList generators()
    {
        return column(QStringLiteral("SELECT RDB$GENERATOR_NAME FROM RDB$GENERATORS"
                                     " WHERE COALESCE(RDB$SYSTEM_FLAG,0)=0 ORDER BY RDB$GENERATOR_NAME"));
    }

private:
    db::Database m_database;
    db::Transaction m_transaction{&m_database};
    db::Query m_query{&m_database, &m_transaction};
};

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

QStringList allObjects(const QMap<QString, QStringList> &tables, const QStringList &generators)
{
    return sorted(tables.keys() + generators);
}

void expectSchema(const QString &path, const QMap<QString, QStringList> &tables, const QStringList &generators)
{
    Inspector inspector(path);
    EXPECT_EQ(inspector.tables(), sorted(tables.keys()));
    for (auto it = tables.begin(); it != tables.end(); ++it)
        EXPECT_EQ(inspector.columns(it.key()), it.value()) << qPrintable(it.key());
    EXPECT_EQ(inspector.generators(), sorted(generators));
}

} // namespace

TEST(SetupScripts, SplitsStatementsAndNamesTheirObjects)
{
    const QString script = QStringLiteral("-- heading; not a statement\n"
                                          "CREATE TABLE A (X INTEGER);\n\n"
                                          "  -- indented comment\n"
                                          "create table \"MiXed\" (\n  Y INTEGER\n);\n"
                                          "CREATE GENERATOR gen_a;\n;\n");
    EXPECT_EQ(setup::splitStatements(script),
              (QStringList{"CREATE TABLE A (X INTEGER)", "create table \"MiXed\" (\n  Y INTEGER\n)",
                           "CREATE GENERATOR gen_a"}));

    const QList<setup::SchemaObject> objects = setup::schemaObjects(script);
    ASSERT_EQ(objects.size(), 3);
    EXPECT_EQ(objects[0].kind, setup::SchemaObject::Table);
    EXPECT_EQ(objects[0].name, "A");
    EXPECT_EQ(objects[1].name, "MiXed");
    EXPECT_EQ(objects[2].kind, setup::SchemaObject::Generator);
    EXPECT_EQ(objects[2].name, "GEN_A");

    EXPECT_THROW(setup::schemaObjects(QStringLiteral("DROP TABLE A;")), setup::SetupError);
    EXPECT_THROW(setup::schemaObjects(QStringLiteral("CREATE GENERATOR G; SET GENERATOR G TO 5;")),
                 setup::SetupError);
}

TEST(SetupScripts, TabscriptIsTheFrontEndsOwnDefinition)
{
    // The front-end creates TABSCRIPT with these eleven lines when it is
    // missing; the setup must create the very same table.
    const QStringList lines{
        "CREATE TABLE TABSCRIPT(",
        "PROGETTO VARCHAR(15) NOT NULL,",
        "SCRIPTFORM VARCHAR(15) NOT NULL,",
        "CONTESTO SMALLINT NOT NULL,",
        "UTENTE VARCHAR(15) NOT NULL,",
        "DESCRIZIONESITUAZIONE BLOB,",
        "SCRIPT BLOB,",
        "MODIFICATODAUTENTE SMALLINT,",
        "DATAULTIMAMODIFICA DATE,",
        "STATUS SMALLINT,",
        "CONSTRAINT QORTAB_CHIAVEPRIMARIA PRIMARY KEY (PROGETTO,SCRIPTFORM,CONTESTO,UTENTE))",
    };
    QString found;
    for (const setup::SchemaObject &object : setup::schemaObjects(setup::userSchemaScript())) {
        if (object.name == QLatin1String("TABSCRIPT"))
            found = object.statement;
    }
    EXPECT_EQ(found, lines.join(QLatin1Char('\n')));
}

TEST(SetupPaths, ApplicationDirectoryFromExecutableOrDirectory)
{
    TempDir dir;
    const QString app = QDir::cleanPath(dir.file(QStringLiteral("app")));
    ASSERT_TRUE(QDir().mkpath(app));
    QFile executable(app + QStringLiteral("/taskgate"));
    ASSERT_TRUE(executable.open(QIODevice::WriteOnly));
    executable.close();

    EXPECT_EQ(setup::applicationDirectory(app + QStringLiteral("/taskgate")), app);
    EXPECT_EQ(setup::applicationDirectory(app), app);
    EXPECT_EQ(setup::applicationDirectory(app + QStringLiteral("/")), app);
    EXPECT_EQ(setup::userDatabasePath(app), app + QStringLiteral("/user/user.fdb"));
}

TEST(SetupDatabases, UserDatabaseHasEveryTableColumnAndGenerator)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("nested/user/user.fdb"));
    const setup::SetupResult result = setup::createUserDatabase(path);
    EXPECT_TRUE(result.databaseCreated);
    EXPECT_EQ(sorted(result.created), allObjects(kUserTables, kUserGenerators));
    EXPECT_TRUE(result.existing.isEmpty());
    ASSERT_TRUE(QFileInfo::exists(path));
    expectSchema(path, kUserTables, kUserGenerators);

    Inspector inspector(path);
    EXPECT_EQ(inspector.value(QStringLiteral("SELECT MON$PAGE_SIZE FROM MON$DATABASE")), "4096");
    EXPECT_EQ(inspector.value(QStringLiteral("SELECT MON$SQL_DIALECT FROM MON$DATABASE")), "3");
    EXPECT_EQ(inspector.value(QStringLiteral("SELECT RDB$CHARACTER_SET_NAME FROM RDB$DATABASE")), "NONE");
}

TEST(SetupDatabases, ArchiveDatabaseHasEveryTableColumnAndGenerator)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("archivio.fdb"));
    const setup::SetupResult result = setup::createArchiveDatabase(path);
    EXPECT_TRUE(result.databaseCreated);
    EXPECT_EQ(sorted(result.created), allObjects(kArchiveTables, kArchiveGenerators));
    expectSchema(path, kArchiveTables, kArchiveGenerators);
}

TEST(SetupDatabases, TablesTakeTheStatementsTheFrontEndWrites)
{
    TempDir dir;
    const QString user = dir.file(QStringLiteral("user.fdb"));
    const QString archive = dir.file(QStringLiteral("archivio.fdb"));
    setup::createUserDatabase(user);
    setup::createArchiveDatabase(archive);

    {
        Inspector inspector(archive);
        // Positional inserts rely on the column order; the number arrives
        // with a decimal point between quotes.
        inspector.execute(QStringLiteral("INSERT INTO TABX VALUES(\nGEN_ID(CODICETABXCOUNTER,1),\n'P1',\n'S1',\n'TBX',"
                                         "\n'Nome',\n'12.75',\n'testo´',\n'12/31/2023',\n'memo',\n'1',\n'2',\n'7')"));
        EXPECT_EQ(inspector.column(QStringLiteral("SELECT CODICE,NUMERO FROM TABX")), QStringList{"1"});
        EXPECT_EQ(inspector.value(QStringLiteral("SELECT NUMERO FROM TABX WHERE (NOME='Nome')AND(UTENTE='7')")),
                  "12.75");
        EXPECT_EQ(inspector.value(QStringLiteral("SELECT DATA FROM TABX")), "31/12/2023");
        EXPECT_EQ(inspector.value(QStringLiteral("SELECT MEMO FROM TABX")), "memo");

        inspector.execute(QStringLiteral("INSERT INTO SEMAFORIF VALUES(\n'5',\n'Vendite.dll',\n'ShowOrdiniX',\n3,\n1,"
                                         "\n'NOW')"));
        EXPECT_EQ(inspector.column(QStringLiteral("SELECT UTENTE FROM SEMAFORIF WHERE OCCUPATO=1 AND ID='5'")),
                  QStringList{"3"});
        EXPECT_FALSE(inspector.value(QStringLiteral("SELECT DATAORA FROM SEMAFORIF")).isEmpty());
        inspector.execute(QStringLiteral("INSERT INTO SEMAFORIFANOMALIE(ID,DATAORAANOMALIA,UTENTE,DLL,FORM,DESCRIZIONE)"
                                         " VALUES(\n GEN_ID(IDSEMAFORIFANOMALIECOUNTER,1), 'NOW', 3,'','',"
                                         "'Libera semafori')"));
        EXPECT_EQ(inspector.value(QStringLiteral("SELECT ID FROM SEMAFORIFANOMALIE")), "1");
    }
    {
        Inspector inspector(user);
        inspector.execute(QStringLiteral("INSERT INTO MARTILOG (CODICESESSIONE,DATAAPERTURA,ORAAPERTURA,\n"
                                         "CODICEUTENTE) VALUES(\n'9',\n'02/01/2024',\n'08:05:09',\n'3')"));
        EXPECT_EQ(inspector.value(QStringLiteral("SELECT ORAAPERTURA FROM MARTILOG WHERE CODICESESSIONE='9'")),
                  "08:05:09");
        // A native window id wider than 32 bits still fits.
        inspector.execute(QStringLiteral("INSERT INTO MARTILOGFUNZ (CODICESESSIONE,DATACHIAMATAFUNZIONE,\n"
                                         "ORACHIAMATAFUNZIONE,FUNZIONECHIAMATA\n,IDFINESTRA\n) VALUES(\n'9',\n"
                                         "'02/01/2024',\n'08:05:10',\n'ShowOrdiniX'\n,'4'\n)"));
        inspector.execute(QStringLiteral("UPDATE MARTILOGFUNZ SET HANDLEFINESTRA='8589934593' WHERE IDFINESTRA='4'"));
        EXPECT_EQ(inspector.value(QStringLiteral("SELECT HANDLEFINESTRA FROM MARTILOGFUNZ")), "8589934593");
        inspector.execute(QStringLiteral("INSERT INTO \"STOPOS1\"\n(\nCODICESITUAZIONE,\nCODICEUTENTE,\n"
                                         "CODICEPROGETTO,\nPOSX,\nPOSY,\nDIMX,\nDIMY\n)\nVALUES (1,3,2,10,20,230,300)"));
        EXPECT_EQ(inspector.value(QStringLiteral("SELECT DimX FROM \"STOPOS1\"\nWHERE (CodiceSituazione=1)\n"
                                                 "AND (CodiceUtente=3)\nAND (CodiceProgetto=2)")),
                  "230");
        inspector.execute(QStringLiteral("INSERT INTO TABSCRIPT\nVALUES ('1','F','0','3',NULL,'s',NULL,"
                                         "'01/15/2024',NULL);"));
        EXPECT_EQ(inspector.value(QStringLiteral("SELECT SCRIPT FROM TABSCRIPT")), "s");
        EXPECT_EQ(inspector.value(QStringLiteral("SELECT GEN_ID(IDFINESTRAMARTILOGFUNZCOUNTER,1) FROM RDB$DATABASE")),
                  "1");
    }
}

TEST(SetupDatabases, RunningTwiceChangesNothing)
{
    TempDir dir;
    const QString user = dir.file(QStringLiteral("user/user.fdb"));
    const QString archive = dir.file(QStringLiteral("archivio.fdb"));
    setup::createUserDatabase(user);
    setup::createArchiveDatabase(archive);
    {
        Inspector inspector(user);
        inspector.execute(QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE) VALUES (7,'ROSSI')"));
        inspector.value(QStringLiteral("SELECT GEN_ID(CODICESESSIONEMARTILOG,5) FROM RDB$DATABASE"));
    }

    const setup::SetupResult again = setup::createUserDatabase(user);
    EXPECT_FALSE(again.databaseCreated);
    EXPECT_TRUE(again.created.isEmpty());
    EXPECT_EQ(sorted(again.existing), allObjects(kUserTables, kUserGenerators));
    const setup::SetupResult archiveAgain = setup::createArchiveDatabase(archive);
    EXPECT_FALSE(archiveAgain.databaseCreated);
    EXPECT_TRUE(archiveAgain.created.isEmpty());

    expectSchema(user, kUserTables, kUserGenerators);
    expectSchema(archive, kArchiveTables, kArchiveGenerators);
    Inspector inspector(user);
    EXPECT_EQ(inspector.column(QStringLiteral("SELECT NOMEUTENTE FROM UTENTI")), QStringList{"ROSSI"});
    EXPECT_EQ(inspector.value(QStringLiteral("SELECT GEN_ID(CODICESESSIONEMARTILOG,0) FROM RDB$DATABASE")), "5");
}

TEST(SetupDatabases, CompletesADatabaseThatLacksSomeObjects)
{
    TempDir dir;
    const QString user = dir.file(QStringLiteral("user.fdb"));
    setup::createUserDatabase(user);
    {
        Inspector inspector(user);
        inspector.execute(QStringLiteral("DROP TABLE TABSCRIPT"));
        inspector.execute(QStringLiteral("DROP GENERATOR IDFINESTRAMARTILOGFUNZCOUNTER"));
    }
    const setup::SetupResult result = setup::createUserDatabase(user);
    EXPECT_FALSE(result.databaseCreated);
    EXPECT_EQ(sorted(result.created), (QStringList{"IDFINESTRAMARTILOGFUNZCOUNTER", "TABSCRIPT"}));
    expectSchema(user, kUserTables, kUserGenerators);
}

TEST(SetupDatabases, SuiteTextsRoundTripThroughUtenti)
{
    TempDir dir;
    const QString user = dir.file(QStringLiteral("user.fdb"));
    setup::createUserDatabase(user);
    const QString name = QStringLiteral("Dell'Acqua à´€");
    {
        Inspector inspector(user);
        inspector.execute(QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE,QUADREL) VALUES (1,'%1','%1')")
                              .arg(db::quotedValue(name)));
    }
    Inspector inspector(user);
    EXPECT_EQ(inspector.rawValue(QStringLiteral("SELECT NOMEUTENTE FROM UTENTI WHERE CODICE=1")), name);
    EXPECT_EQ(inspector.rawValue(QStringLiteral("SELECT QUADREL FROM UTENTI WHERE CODICE=1")), name);
    // One byte per character: the texts are stored in the suite's
    // single-byte code page.
    EXPECT_EQ(inspector.value(QStringLiteral("SELECT OCTET_LENGTH(NOMEUTENTE) FROM UTENTI")),
              QString::number(name.size()));
    EXPECT_EQ(inspector.column(QStringLiteral("SELECT CODICE FROM UTENTI WHERE NOMEUTENTE='%1'")
                                   .arg(db::quotedValue(name))),
              QStringList{"1"});
}

@@DEMO@@
TEST(SetupDemo, DemoLeavesAUserTableWithRowsAlone)
{
    TempDir dir;
    const QString app = QDir::cleanPath(dir.file(QStringLiteral("app")));
    const QString user = setup::userDatabasePath(app);
    setup::createUserDatabase(user);
    {
        Inspector inspector(user);
        inspector.execute(QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE) VALUES (7,'ROSSI')"));
    }
    EXPECT_EQ(setup::insertDemoData(user, setup::demoCompanies(app)), 0);

    const QList<setup::SetupResult> first = setup::setupApplicationDirectory(app, true);
    EXPECT_EQ(first[0].demoRows, 0);
    Inspector inspector(user);
    EXPECT_EQ(inspector.column(QStringLiteral("SELECT NOMEUTENTE FROM UTENTI")), QStringList{"ROSSI"});
    EXPECT_EQ(inspector.value(QStringLiteral("SELECT COUNT(*) FROM TABQUADREL")), "0");
    EXPECT_EQ(inspector.value(QStringLiteral("SELECT COUNT(*) FROM DETTMENU")), "0");
}

TEST(SetupTool, CreatesTheApplicationDirectoryDatabases)
{
    TempDir dir;
    const QString app = QDir::cleanPath(dir.file(QStringLiteral("app")));
    ASSERT_TRUE(QDir().mkpath(app));
    QFile executable(app + QStringLiteral("/taskgate"));
    ASSERT_TRUE(executable.open(QIODevice::WriteOnly));
    executable.close();
    const QString extra = dir.file(QStringLiteral("altri/extra.fdb"));
    const QString extra2 = dir.file(QStringLiteral("extra2.fdb"));

    QProcess tool;
    tool.start(QStringLiteral(TASKGATE_SETUP_EXE),
               {"--demo", "--user-db", app + QStringLiteral("/taskgate"), "--archive", extra, extra2});
    ASSERT_TRUE(tool.waitForFinished(120000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().constData();
    expectSchema(app + QStringLiteral("/user/user.fdb"), kUserTables, kUserGenerators);
    expectSchema(extra, kArchiveTables, kArchiveGenerators);
    expectSchema(extra2, kArchiveTables, kArchiveGenerators);
    {
        Inspector inspector(app + QStringLiteral("/user/user.fdb"));
        EXPECT_EQ(inspector.value(QStringLiteral("SELECT COUNT(*) FROM UTENTI")), "7");
    }

    // A second run finds everything in place.
    tool.start(QStringLiteral(TASKGATE_SETUP_EXE), {"--demo", "--user-db", app});
    ASSERT_TRUE(tool.waitForFinished(120000));
    EXPECT_EQ(tool.exitCode(), 0);
    EXPECT_FALSE(QString::fromLocal8Bit(tool.readAllStandardOutput()).contains(QLatin1String("created ")));

    tool.start(QStringLiteral(TASKGATE_SETUP_EXE), {"--user-db"});
    ASSERT_TRUE(tool.waitForFinished(120000));
    EXPECT_EQ(tool.exitCode(), 2);
    tool.start(QStringLiteral(TASKGATE_SETUP_EXE), {"--bogus"});
    ASSERT_TRUE(tool.waitForFinished(120000));
    EXPECT_EQ(tool.exitCode(), 2);
}
