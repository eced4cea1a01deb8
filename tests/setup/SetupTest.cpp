#include "SuiteSetup.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include "data/TabScript.h"
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
#include <QSet>
#include <QProcess>
#include <gtest/gtest.h>
#include <memory>

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
const QStringList kUserIndexes{"IX_UTENTI_NOME",          "IX_TABQUADREL_UTENTE",     "IX_DETTMENU_PADRE",
                               "IX_DETTPROGETTI_PROGETTO", "IX_PULSANTONI_PROGETTO",   "IX_LINGUEMENU_VOCE",
                               "IX_MARTILOGFUNZ_SESSIONE", "IX_MARTILOGFUNZ_FINESTRA"};

const QMap<QString, QStringList> kArchiveTables{
    {"TABX", {"CODICE", "CODPROGETTO", "CODSITUAZIONE", "TIPO", "NOME", "NUMERO", "TESTO", "DATA", "MEMO",
              "LIVELLO1", "LIVELLO2", "UTENTE"}},
    {"SEMAFORIF", {"ID", "DLL", "FORM", "UTENTE", "OCCUPATO", "DATAORA"}},
    {"SEMAFORIFCRITICHE", {"DLL", "FORM", "OSSERVATASPECIALE"}},
    {"SEMAFORIFCRITICHECOLL", {"DLLPRIN", "FORMPRIN", "DLLCOLLEGATA", "FORMCOLLEGATA"}},
    {"SEMAFORIFANOMALIE", {"ID", "DATAORAANOMALIA", "UTENTE", "DLL", "FORM", "DESCRIZIONE"}},
};
const QStringList kArchiveGenerators{"CODICETABXCOUNTER", "IDSEMAFORIFANOMALIECOUNTER"};
const QStringList kArchiveIndexes{"IX_TABX_NOME", "IX_SEMAFORIF_FINESTRA", "IX_SEMAFORIF_ID", "IX_CRITICHECOLL_PRIN"};

// An attachment to a database made by the setup, for looking at it.
class Inspector {
public:
    explicit Inspector(const QString &path)
    {
        attachTestDatabase(m_database, path);
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

QStringList allObjects(const QMap<QString, QStringList> &tables, const QStringList &generators,
                       const QStringList &indexes)
{
    return sorted(tables.keys() + generators + indexes);
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

TEST(SetupScripts, SharedTablesHaveTheirOneDefinitionInTheUserSchema)
{
    // TABSCRIPT as the front-end creates it when it is missing, TABX as the
    // archives have it: each once, the very same statement.
    QStringList tabScript;
    QString tabX;
    for (const setup::SchemaObject &object : setup::schemaObjects(setup::userSchemaScript())) {
        if (object.name == QLatin1String("TABSCRIPT"))
            tabScript << object.statement + QLatin1Char(';');
        if (object.name == QLatin1String("TABX"))
            tabX += object.statement;
    }
    EXPECT_EQ(tabScript, QStringList{tabScriptDefinition().join(QLatin1Char('\n'))});
    QString archiveTabX;
    for (const setup::SchemaObject &object : setup::schemaObjects(setup::archiveSchemaScript())) {
        if (object.kind == setup::SchemaObject::Table && object.name == QLatin1String("TABX"))
            archiveTabX = object.statement;
    }
    EXPECT_FALSE(archiveTabX.isEmpty());
    EXPECT_EQ(tabX, archiveTabX);
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
    EXPECT_EQ(sorted(result.created), allObjects(kUserTables, kUserGenerators, kUserIndexes));
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
    EXPECT_EQ(sorted(result.created), allObjects(kArchiveTables, kArchiveGenerators, kArchiveIndexes));
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
    EXPECT_EQ(sorted(again.existing), allObjects(kUserTables, kUserGenerators, kUserIndexes));
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

namespace {

using Row = QHash<QString, QString>;

bool isBuiltInCommand(const QString &function)
{
    const QString upper = function.toUpper();
    return upper == QLatin1String("CHIUDI") || upper == QLatin1String("CAMBIOUTENTE")
           || upper == QLatin1String("CAMBIODITTA");
}

bool isInactiveSection(const QString &section)
{
    return section.toUpper().contains(QLatin1String("<INATTIVA>"));
}

// The parameter a caption shows between "<LINEA>" and "</LINEA>"; a null
// string when it has none.
QString lineParameter(const QString &caption)
{
    static const QRegularExpression marker(QStringLiteral("<LINEA>(.*)</LINEA>"));
    const QRegularExpressionMatch match = marker.match(caption);
    return match.hasMatch() ? match.captured(1) : QString();
}

// A user's parameter-set text made from the TABQUADREL rows the way the
// front-end makes it: rows by section, position and user; a "[section]"
// header whenever the section changes; "name=value" lines; line feeds only.
QString parameterTextFromRows(Inspector &inspector, const QString &user)
{
    QString text;
    QString header;
    const QList<Row> rows = inspector.rows(QStringLiteral("SELECT INTESTAZIONE,PARAMETRO,VALORE FROM TABQUADREL"
                                                          " WHERE (UTENTE='%1')AND(INTESTAZIONE IS NOT NULL)"
                                                          " ORDER BY INTESTAZIONE,PROGRESSIVO,UTENTE")
                                               .arg(user));
    for (const Row &row : rows) {
        const QString section = row.value(QStringLiteral("INTESTAZIONE"));
        if (section != header && !section.isEmpty()) {
            text += QLatin1Char('[') + section + QStringLiteral("]\n");
            header = section;
        }
        const QString name = row.value(QStringLiteral("PARAMETRO"));
        if (!name.isEmpty())
            text += name + QLatin1Char('=') + row.value(QStringLiteral("VALORE"));
        text += QLatin1Char('\n');
    }
    return text;
}

// The users the login offers: workstation mark empty or TERM, not inactive.
const QString kOfferedUsers = QStringLiteral("(INFO1 IS NULL OR INFO1='' OR INFO1='TERM')"
                                             " AND (UTENTEINATTIVO IS NULL OR UTENTEINATTIVO='0')");

// One application directory set up with the demo suite, shared by the
// tests that only look at it.
class DemoSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new TempDir;
        // The apostrophe ends up in every "Archivio" value, which the
        // statements must carry through their quoting.
        s_app = QDir::cleanPath(s_dir->file(QStringLiteral("app dell'ufficio")));
        try {
            s_results = setup::setupApplicationDirectory(s_app, true);
        } catch (const std::exception &error) {
            s_error = QString::fromLocal8Bit(error.what());
        }
    }

    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_error.isEmpty()) << qPrintable(s_error);
        m_inspector = std::make_unique<Inspector>(setup::userDatabasePath(s_app));
    }

    Inspector &db() { return *m_inspector; }

    QString count(const QString &statement) { return db().value(QStringLiteral("SELECT COUNT(*) ") + statement); }

    inline static TempDir *s_dir = nullptr;
    inline static QString s_app;
    inline static QList<setup::SetupResult> s_results;
    inline static QString s_error;
    std::unique_ptr<Inspector> m_inspector;
};

} // namespace

TEST_F(DemoSuite, LoginOffersTheActiveUsersOfTheWorkstations)
{
    EXPECT_EQ(db().column(QStringLiteral("SELECT NOMEUTENTE FROM UTENTI ORDER BY CODICE")),
              (QStringList{"ADMIN", "MARIO", "ANNA", "UFFICIO", "JOHN", "HANS", "LUCA"}));
    EXPECT_EQ(db().column(QStringLiteral("SELECT NOMEUTENTE FROM UTENTI WHERE ") + kOfferedUsers
                          + QStringLiteral(" ORDER BY CODICE")),
              (QStringList{"ADMIN", "MARIO", "ANNA", "JOHN", "HANS"}));
    EXPECT_EQ(db().value(QStringLiteral("SELECT PWDUTENTE FROM UTENTI WHERE NOMEUTENTE='MARIO'")), "mario");
    EXPECT_EQ(count(QStringLiteral("FROM UTENTI WHERE NOMEUTENTE='ADMIN' AND PWDUTENTE IS NULL")), "1");
    // One user left out by the workstation mark, one by being inactive.
    EXPECT_EQ(db().column(QStringLiteral("SELECT NOMEUTENTE FROM UTENTI WHERE INFO1='PC'")), QStringList{"UFFICIO"});
    EXPECT_EQ(db().column(QStringLiteral("SELECT NOMEUTENTE FROM UTENTI WHERE UTENTEINATTIVO='1'")),
              QStringList{"LUCA"});
}

TEST_F(DemoSuite, EveryUserHasAProfileAProjectAndAnActiveCompany)
{
    const QStringList profiles = db().column(QStringLiteral("SELECT CODICE FROM PROFILI"));
    const QStringList projects = db().column(QStringLiteral("SELECT CODICE FROM PROGETTI"));
    bool someInactiveSection = false;
    for (const Row &user : db().rows(QStringLiteral("SELECT CODICE,NOMEUTENTE,PROFILOSICUREZZA,PROGETTO,DITTA"
                                                    " FROM UTENTI"))) {
        SCOPED_TRACE(user.value(QStringLiteral("NOMEUTENTE")).toStdString());
        // The login stops with a configuration error without these.
        EXPECT_TRUE(profiles.contains(user.value(QStringLiteral("PROFILOSICUREZZA"))));
        EXPECT_TRUE(projects.contains(user.value(QStringLiteral("PROGETTO"))));

        const QStringList sections = db().column(
            QStringLiteral("SELECT DISTINCT INTESTAZIONE FROM TABQUADREL WHERE UTENTE='%1'")
                .arg(user.value(QStringLiteral("CODICE"))));
        EXPECT_GE(sections.size(), 2);
        EXPECT_LE(sections.size(), 3);
        QStringList active;
        for (const QString &section : sections) {
            if (isInactiveSection(section))
                someInactiveSection = true;
            else
                active << section;
        }
        EXPECT_GE(active.size(), 1);
        EXPECT_TRUE(active.contains(user.value(QStringLiteral("DITTA")))) << qPrintable(user.value("DITTA"));
    }
    EXPECT_TRUE(someInactiveSection);

    // Among the users at the login, some see the navigation bar and some the
    // picture buttons that replace it.
    const QStringList buttonProjects =
        db().column(QStringLiteral("SELECT DISTINCT PROGETTO FROM PULSANTONI WHERE VISIBILE='1'"));
    int withButtons = 0;
    int withBar = 0;
    for (const QString &project :
         db().column(QStringLiteral("SELECT PROGETTO FROM UTENTI WHERE ") + kOfferedUsers))
        ++(buttonProjects.contains(project) ? withButtons : withBar);
    EXPECT_GE(withButtons, 1);
    EXPECT_GE(withBar, 1);

    // The levels of the profiles belong to existing profiles and entries.
    EXPECT_NE(count(QStringLiteral("FROM DETTPROF")), "0");
    EXPECT_EQ(count(QStringLiteral("FROM DETTPROF P WHERE NOT EXISTS (SELECT 1 FROM PROFILI R WHERE R.CODICE=P.PROFILO)"
                                   " OR NOT EXISTS (SELECT 1 FROM DETTMENU M WHERE M.PROGRAMMA=P.PROGRAMMA"
                                   " AND M.MENU=P.MENU)")),
              "0");
}

TEST_F(DemoSuite, ParameterTextOfEveryUserMirrorsTheRows)
{
    for (const QString &user : db().column(QStringLiteral("SELECT CODICE FROM UTENTI ORDER BY CODICE"))) {
        SCOPED_TRACE(user.toStdString());
        const QString expected = parameterTextFromRows(db(), user);
        EXPECT_FALSE(expected.isEmpty());
        EXPECT_EQ(db().rawValue(QStringLiteral("SELECT QUADREL FROM UTENTI WHERE CODICE=%1").arg(user)), expected);
        // A position names one row of the user's set.
        EXPECT_EQ(db().value(QStringLiteral("SELECT COUNT(*)-COUNT(DISTINCT PROGRESSIVO) FROM TABQUADREL"
                                            " WHERE UTENTE='%1'")
                                 .arg(user)),
                  "0");
    }
}

TEST_F(DemoSuite, EveryArchivioNamesAnArchiveTheSetupCreated)
{
    QStringList created;
    for (qsizetype i = 1; i < s_results.size(); ++i) {
        EXPECT_TRUE(s_results[i].databaseCreated);
        created << s_results[i].path;
    }
    QStringList companies;
    for (const setup::DemoCompany &company : setup::demoCompanies(s_app))
        companies << company.archivePath;
    EXPECT_EQ(sorted(created), sorted(companies));

    const QString archives = QDir(s_app).absoluteFilePath(QStringLiteral("archivi"));
    QStringList named;
    for (const Row &row : db().rows(QStringLiteral("SELECT VALORE FROM TABQUADREL WHERE PARAMETRO='Archivio'"))) {
        const QFileInfo archive(row.value(QStringLiteral("VALORE")));
        EXPECT_TRUE(archive.isAbsolute()) << qPrintable(archive.filePath());
        EXPECT_EQ(archive.absolutePath(), archives);
        EXPECT_TRUE(created.contains(archive.filePath())) << qPrintable(archive.filePath());
        named << archive.filePath();
    }
    named.removeDuplicates();
    EXPECT_EQ(sorted(named), sorted(created));
    // Exactly one "Archivio" in every section.
    EXPECT_EQ(count(QStringLiteral("FROM (SELECT UTENTE FROM TABQUADREL GROUP BY UTENTE,INTESTAZIONE"
                                   " HAVING SUM(CASE WHEN PARAMETRO='Archivio' THEN 1 ELSE 0 END)<>1)")),
              "0");
    for (const QString &path : created)
        expectSchema(path, kArchiveTables, kArchiveGenerators);
}

TEST_F(DemoSuite, CriticalWindowsAreDemoFunctionsAndLinksJoinCriticalWindows)
{
    // The windows the demo's menus and picture buttons open, as DLL/FUNZIONE.
    QSet<QString> functions;
    for (const QString &table : {QStringLiteral("DETTMENU"), QStringLiteral("PULSANTONI")}) {
        const QString statement = QStringLiteral("SELECT DLL,FUNZIONE FROM %1 WHERE DLL IS NOT NULL").arg(table);
        for (const Row &row : db().rows(statement))
            functions.insert(row.value(QStringLiteral("DLL")) + QLatin1Char('/')
                             + row.value(QStringLiteral("FUNZIONE")));
    }
    ASSERT_FALSE(functions.isEmpty());

    QList<QStringList> firstArchive;
    for (qsizetype i = 1; i < s_results.size(); ++i) {
        const QString path = s_results[i].path;
        SCOPED_TRACE(path.toStdString());
        Inspector archive(path);
        const QList<Row> critical =
            archive.rows(QStringLiteral("SELECT DLL,FORM,OSSERVATASPECIALE FROM SEMAFORIFCRITICHE ORDER BY DLL,FORM"));
        const QList<Row> links = archive.rows(QStringLiteral("SELECT DLLPRIN,FORMPRIN,DLLCOLLEGATA,FORMCOLLEGATA FROM "
                                                             "SEMAFORIFCRITICHECOLL ORDER BY DLLPRIN,FORMPRIN,"
                                                             "DLLCOLLEGATA,FORMCOLLEGATA"));
        ASSERT_FALSE(critical.isEmpty());
        ASSERT_FALSE(links.isEmpty());
        EXPECT_EQ(s_results[i].demoRows, critical.size() + links.size());

        QSet<QString> windows;
        QSet<QString> watched;
        for (const Row &window : critical) {
            const QString form = window.value(QStringLiteral("FORM"));
            const QString name = window.value(QStringLiteral("DLL")) + QLatin1Char('/') + form;
            EXPECT_FALSE(windows.contains(name)) << "listed twice: " << qPrintable(name);
            windows.insert(name);
            EXPECT_TRUE(functions.contains(name)) << "no menu entry or button opens " << qPrintable(name);
            // Only the calls with a window id take a semaphore.
            EXPECT_TRUE(form.endsWith(QLatin1Char('X')) || form.endsWith(QLatin1Char('Y'))) << qPrintable(name);
            if (window.value(QStringLiteral("OSSERVATASPECIALE")) == QLatin1String("1"))
                watched.insert(name);
        }
        EXPECT_FALSE(watched.isEmpty());

        QSet<QString> linked;
        QSet<QString> withLinks;
        for (const Row &link : links) {
            const QString window =
                link.value(QStringLiteral("DLLPRIN")) + QLatin1Char('/') + link.value(QStringLiteral("FORMPRIN"));
            const QString blocker = link.value(QStringLiteral("DLLCOLLEGATA")) + QLatin1Char('/')
                                    + link.value(QStringLiteral("FORMCOLLEGATA"));
            EXPECT_TRUE(windows.contains(window)) << "link of a window that is not critical: " << qPrintable(window);
            // A window that is not critical never takes a semaphore, so it
            // could never block.
            EXPECT_TRUE(windows.contains(blocker)) << "link to a window that is not critical: " << qPrintable(blocker);
            withLinks.insert(window);
            linked << window << blocker;
        }
        // Every critical window blocks or is blocked; one under special
        // watch counts its own semaphores only when it has a link row.
        EXPECT_EQ(linked, windows);
        for (const QString &window : watched)
            EXPECT_TRUE(withLinks.contains(window)) << qPrintable(window);

        // Every archive holds the same rows.
        QList<QStringList> contents;
        for (const Row &row : critical + links) {
            QStringList values = row.values();
            values.sort();
            contents << values;
        }
        if (i == 1)
            firstArchive = contents;
        else
            EXPECT_EQ(contents, firstArchive);
    }

    // Written once: a table that holds rows is left alone.
    EXPECT_EQ(setup::insertDemoArchiveData(s_results.value(1).path), 0);
}

TEST_F(DemoSuite, MenuTreesHangTogether)
{
    const QList<Row> rows = db().rows(QStringLiteral("SELECT PROGRAMMA,MENU,MENUPREC,LIVELLOMENU,VISIBILE,DESCRIZIONE,"
                                                     "VOCERAPIDA,DLL,FUNZIONE FROM DETTMENU"));
    ASSERT_FALSE(rows.isEmpty());
    auto key = [](const Row &entry, const QString &menuColumn) {
        return entry.value(QStringLiteral("PROGRAMMA")) + QLatin1Char('/') + entry.value(menuColumn);
    };
    QHash<QString, Row> entries;
    for (const Row &entry : rows)
        entries.insert(key(entry, QStringLiteral("MENU")), entry);

    QSet<QString> withVisibleChildren;
    for (const Row &entry : rows) {
        const QString where = key(entry, QStringLiteral("MENU"));
        const bool top = entry.value(QStringLiteral("LIVELLOMENU")) == QLatin1String("0");
        EXPECT_EQ(top, entry.value(QStringLiteral("MENUPREC")).isNull()) << qPrintable(where);
        if (!top) {
            const auto parent = entries.constFind(key(entry, QStringLiteral("MENUPREC")));
            ASSERT_NE(parent, entries.constEnd()) << qPrintable(where);
            EXPECT_EQ(parent->value(QStringLiteral("LIVELLOMENU")).toInt() + 1,
                      entry.value(QStringLiteral("LIVELLOMENU")).toInt())
                << qPrintable(where);
            // A separator's children are never looked for, and an entry
            // with children runs nothing of its own.
            EXPECT_NE(parent->value(QStringLiteral("DESCRIZIONE")), "-") << qPrintable(where);
            EXPECT_TRUE(parent->value(QStringLiteral("FUNZIONE")).isEmpty()) << qPrintable(where);
            if (entry.value(QStringLiteral("VISIBILE")) == QLatin1String("1"))
                withVisibleChildren.insert(key(entry, QStringLiteral("MENUPREC")));
        }
        if (entry.value(QStringLiteral("DESCRIZIONE")) == QLatin1String("-")) {
            // "-" is a separator only below the top level, and the names
            // N1 and N2 belong to the system menu.
            EXPECT_FALSE(top) << qPrintable(where);
            EXPECT_GT(entry.value(QStringLiteral("MENU")).toInt(), 2) << qPrintable(where);
            EXPECT_NE(entry.value(QStringLiteral("VOCERAPIDA")), "1") << qPrintable(where);
        }
    }

    // Whatever can be clicked, a leaf of the tree or a quick entry, has a
    // function to run.
    for (const Row &entry : rows) {
        const QString where = key(entry, QStringLiteral("MENU"));
        const bool separator = entry.value(QStringLiteral("DESCRIZIONE")) == QLatin1String("-");
        const bool leaf = !separator && !withVisibleChildren.contains(where);
        if (!leaf && entry.value(QStringLiteral("VOCERAPIDA")) != QLatin1String("1")) {
            EXPECT_TRUE(entry.value(QStringLiteral("FUNZIONE")).isEmpty()) << qPrintable(where);
            continue;
        }
        const QString function = entry.value(QStringLiteral("FUNZIONE"));
        EXPECT_FALSE(function.isEmpty()) << qPrintable(where);
        if (!isBuiltInCommand(function)) {
            EXPECT_FALSE(entry.value(QStringLiteral("DLL")).isEmpty()) << qPrintable(where);
        }
    }

    // Every program of a project exists and has a menu to show.
    for (const Row &link : db().rows(QStringLiteral("SELECT PROGETTO,PROGRAMMA FROM DETTPROGETTI"))) {
        const QString program = link.value(QStringLiteral("PROGRAMMA"));
        EXPECT_EQ(count(QStringLiteral("FROM PROGRAMMI WHERE CODICE=%1").arg(program)), "1") << qPrintable(program);
        EXPECT_NE(count(QStringLiteral("FROM DETTMENU WHERE PROGRAMMA=%1 AND LIVELLOMENU=0 AND VISIBILE='1'")
                            .arg(program)),
                  "0")
            << qPrintable(program);
    }
}

TEST_F(DemoSuite, MenusShowEveryKindOfEntry)
{
    EXPECT_NE(count(QStringLiteral("FROM DETTMENU WHERE LIVELLOMENU=2 AND VISIBILE='1'")), "0");
    EXPECT_NE(count(QStringLiteral("FROM DETTMENU WHERE DESCRIZIONE='-'")), "0");
    EXPECT_NE(count(QStringLiteral("FROM DETTMENU WHERE VISIBILE='0'")), "0");
    EXPECT_NE(count(QStringLiteral("FROM DETTMENU WHERE LIVELLO2VERSIONE='1' AND LIVELLOMENU>0")), "0");
    EXPECT_NE(count(QStringLiteral("FROM DETTMENU WHERE PARAMETRIBLOB IS NOT NULL")), "0");
    // Every program of the navigation bar has quick entries.
    EXPECT_EQ(count(QStringLiteral("FROM DETTPROGETTI D WHERE NOT EXISTS (SELECT 1 FROM PULSANTONI B"
                                   " WHERE B.PROGETTO=D.PROGETTO AND B.VISIBILE='1') AND NOT EXISTS (SELECT 1"
                                   " FROM DETTMENU M WHERE M.PROGRAMMA=D.PROGRAMMA AND M.VOCERAPIDA='1')")),
              "0");

    // The navigation bar offers the front-end's own commands as quick
    // entries, the picture buttons the user change and the exit.
    const QStringList quick = db().column(QStringLiteral("SELECT UPPER(FUNZIONE) FROM DETTMENU WHERE VOCERAPIDA='1'"));
    for (const QString command : {"CAMBIOUTENTE", "CAMBIODITTA", "CHIUDI"})
        EXPECT_TRUE(quick.contains(command)) << qPrintable(command);
    const QStringList buttons =
        db().column(QStringLiteral("SELECT UPPER(FUNZIONE) FROM PULSANTONI WHERE VISIBILE='1'"));
    for (const QString command : {"CAMBIOUTENTE", "CHIUDI"})
        EXPECT_TRUE(buttons.contains(command)) << qPrintable(command);

    // A caption that shows a parameter finds it set in an active company
    // of a user whose project has that program.
    const QList<Row> lined =
        db().rows(QStringLiteral("SELECT PROGRAMMA,LIVELLOMENU,DESCRIZIONE FROM DETTMENU WHERE DESCRIZIONE LIKE "
                                 "'%<LINEA>%'"));
    ASSERT_FALSE(lined.isEmpty());
    for (const Row &entry : lined) {
        const QString parameter = lineParameter(entry.value(QStringLiteral("DESCRIZIONE")));
        ASSERT_FALSE(parameter.isEmpty()) << qPrintable(entry.value(QStringLiteral("DESCRIZIONE")));
        // Captions are filled in below the top level only.
        EXPECT_NE(entry.value(QStringLiteral("LIVELLOMENU")), "0");
        EXPECT_NE(count(QStringLiteral("FROM TABQUADREL Q JOIN UTENTI U ON U.CODICE=Q.UTENTE JOIN DETTPROGETTI D ON "
                                       "D.PROGETTO=U.PROGETTO WHERE D.PROGRAMMA=")
                        + entry.value(QStringLiteral("PROGRAMMA")) + QStringLiteral(" AND Q.PARAMETRO=")
                        + QLatin1Char('\'') + parameter
                        + QStringLiteral("' AND Q.VALORE<>'' AND UPPER(Q.INTESTAZIONE) NOT LIKE '%<INATTIVA>%'")),
                  "0")
            << qPrintable(parameter);
    }
}

TEST_F(DemoSuite, TranslationsFitTheirMenuEntries)
{
    EXPECT_EQ(count(QStringLiteral("FROM LINGUEMENU L WHERE NOT EXISTS (SELECT 1 FROM DETTMENU M"
                                   " WHERE M.PROGRAMMA=L.PROGRAMMA AND M.MENU=L.MENU)")),
              "0");
    EXPECT_EQ(count(QStringLiteral("FROM (SELECT PROGRAMMA FROM LINGUEMENU GROUP BY PROGRAMMA,MENU,LINGUA"
                                   " HAVING COUNT(*)>1)")),
              "0");
    for (const Row &row : db().rows(QStringLiteral("SELECT M.DESCRIZIONE AS STORED,L.DESCRIZIONE AS TRANSLATED"
                                                   " FROM LINGUEMENU L JOIN DETTMENU M ON M.PROGRAMMA=L.PROGRAMMA"
                                                   " AND M.MENU=L.MENU"))) {
        const QString stored = row.value(QStringLiteral("STORED"));
        const QString translated = row.value(QStringLiteral("TRANSLATED"));
        if (translated.isEmpty())
            continue;
        // The separator test and the parameter substitution read the
        // translated caption.
        if (stored == QLatin1String("-")) {
            EXPECT_EQ(translated, stored);
        }
        EXPECT_EQ(lineParameter(translated), lineParameter(stored)) << qPrintable(translated);
    }

    // The entries of a user's project with a caption in a language.
    const QString translatedIn =
        QStringLiteral("EXISTS (SELECT 1 FROM LINGUEMENU L WHERE L.PROGRAMMA=M.PROGRAMMA AND L.MENU=M.MENU"
                       " AND L.LINGUA=%1 AND L.DESCRIZIONE<>'')");
    int secondLanguageUsers = 0;
    for (const Row &user : db().rows(QStringLiteral("SELECT NOMEUTENTE,PROGETTO,LINGUA1,LINGUA2 FROM UTENTI"
                                                    " WHERE LINGUA1<>0"))) {
        SCOPED_TRACE(user.value(QStringLiteral("NOMEUTENTE")).toStdString());
        const QString entries = QStringLiteral("FROM DETTMENU M JOIN DETTPROGETTI D ON D.PROGRAMMA=M.PROGRAMMA"
                                               " WHERE D.PROGETTO=")
                                + user.value(QStringLiteral("PROGETTO"));
        const QString first = translatedIn.arg(user.value(QStringLiteral("LINGUA1")));
        EXPECT_NE(count(entries + QStringLiteral(" AND ") + first), "0");
        if (user.value(QStringLiteral("LINGUA2")).toInt() == 0)
            continue;
        ++secondLanguageUsers;
        // Where the first language has nothing, the second one fills in.
        EXPECT_NE(count(entries + QStringLiteral(" AND NOT ") + first + QStringLiteral(" AND ")
                        + translatedIn.arg(user.value(QStringLiteral("LINGUA2")))),
                  "0");
    }
    EXPECT_GE(secondLanguageUsers, 1);
}

TEST_F(DemoSuite, PicturesAreInGrafica)
{
    const QDir grafica(QStringLiteral(TASKGATE_GRAFICA_DIR));
    const QStringList icons = db().column(QStringLiteral("SELECT ICONA FROM PROGRAMMI"));
    ASSERT_FALSE(icons.isEmpty());
    for (const QString &icon : icons) {
        const QImage image(grafica.filePath(icon));
        EXPECT_FALSE(image.isNull()) << qPrintable(icon);
        EXPECT_EQ(image.size(), QSize(32, 32)) << qPrintable(icon);
    }
    const QStringList bitmaps = db().column(QStringLiteral("SELECT NOMEIMMAGINE FROM PULSANTONI"));
    ASSERT_FALSE(bitmaps.isEmpty());
    for (const QString &bitmap : bitmaps) {
        // The buttons load bitmaps only.
        EXPECT_TRUE(bitmap.toUpper().contains(QLatin1String(".BMP"))) << qPrintable(bitmap);
        QImage image;
        EXPECT_TRUE(image.load(grafica.filePath(bitmap), "BMP")) << qPrintable(bitmap);
    }
}

TEST_F(DemoSuite, PictureButtonsFitTheSmallWindowShownTwiceAsLarge)
{
    // The 230x300 main window doubled, less a margin all round.
    const QRect area(QPoint(10, 10), QPoint(440, 560));
    const QStringList projects = db().column(QStringLiteral("SELECT DISTINCT PROGETTO FROM PULSANTONI"));
    ASSERT_FALSE(projects.isEmpty());
    for (const QString &project : projects) {
        const QList<Row> buttons = db().rows(QStringLiteral("SELECT ID,POS_X,POS_Y,LARGHEZZA,ALTEZZA,DLL,FUNZIONE"
                                                            " FROM PULSANTONI WHERE PROGETTO=%1 AND VISIBILE='1'")
                                                 .arg(project));
        EXPECT_GE(buttons.size(), 4) << qPrintable(project);
        EXPECT_LE(buttons.size(), 6) << qPrintable(project);
        QList<QRect> placed;
        for (const Row &button : buttons) {
            const QString id = button.value(QStringLiteral("ID"));
            const QRect rect(button.value(QStringLiteral("POS_X")).toInt(), button.value(QStringLiteral("POS_Y")).toInt(),
                             button.value(QStringLiteral("LARGHEZZA")).toInt(),
                             button.value(QStringLiteral("ALTEZZA")).toInt());
            EXPECT_TRUE(area.contains(rect)) << qPrintable(id);
            for (const QRect &other : placed)
                EXPECT_FALSE(rect.intersects(other)) << qPrintable(id);
            placed << rect;
            const QString function = button.value(QStringLiteral("FUNZIONE"));
            EXPECT_FALSE(function.isEmpty()) << qPrintable(id);
            if (!isBuiltInCommand(function)) {
                EXPECT_FALSE(button.value(QStringLiteral("DLL")).isEmpty()) << qPrintable(id);
            }
        }
    }
    EXPECT_NE(count(QStringLiteral("FROM PULSANTONI WHERE VISIBILE='0'")), "0");
}

TEST_F(DemoSuite, SecondRunWritesNothing)
{
    auto rowCounts = [this] {
        QMap<QString, int> counts;
        for (const QString &table : kUserTables.keys())
            counts.insert(table, count(QStringLiteral("FROM \"%1\"").arg(table)).toInt());
        return counts;
    };
    const QMap<QString, int> before = rowCounts();
    // The first run wrote every row there is.
    int total = 0;
    for (int rows : before)
        total += rows;
    EXPECT_EQ(s_results.value(0).demoRows, total);

    const QList<setup::SetupResult> again = setup::setupApplicationDirectory(s_app, true);
    ASSERT_EQ(again.size(), s_results.size());
    for (const setup::SetupResult &result : again) {
        EXPECT_FALSE(result.databaseCreated) << qPrintable(result.path);
        EXPECT_TRUE(result.created.isEmpty()) << qPrintable(result.path);
    }
    EXPECT_EQ(again[0].demoRows, 0);
    m_inspector = std::make_unique<Inspector>(setup::userDatabasePath(s_app));
    EXPECT_EQ(rowCounts(), before);
}

TEST(SetupDemo, CatalogueTablesWithRowsAreLeftAlone)
{
    TempDir dir;
    const QString user = dir.file(QStringLiteral("user.fdb"));
    setup::createUserDatabase(user);
    {
        Inspector inspector(user);
        inspector.execute(QStringLiteral("INSERT INTO PROGRAMMI (CODICE,DESCRIZIONE) VALUES (42,'Esistente')"));
    }
    const int written = setup::insertDemoData(user, {});
    Inspector inspector(user);
    EXPECT_EQ(inspector.column(QStringLiteral("SELECT CODICE FROM PROGRAMMI")), QStringList{"42"});
    EXPECT_EQ(inspector.value(QStringLiteral("SELECT COUNT(*) FROM UTENTI")), "7");
    EXPECT_NE(inspector.value(QStringLiteral("SELECT COUNT(*) FROM DETTMENU")), "0");
    // Without companies the users have neither parameters nor a company.
    EXPECT_EQ(inspector.value(QStringLiteral("SELECT COUNT(*) FROM TABQUADREL")), "0");
    EXPECT_EQ(inspector.value(QStringLiteral("SELECT COUNT(*) FROM UTENTI WHERE QUADREL IS NOT NULL"
                                             " OR DITTA IS NOT NULL")),
              "0");
    int rows = 0;
    for (const QString &table : kUserTables.keys())
        rows += inspector.value(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table)).toInt();
    EXPECT_EQ(written, rows - 1);
}

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
    // A path after the archives without --archive is no archive.
    tool.start(QStringLiteral(TASKGATE_SETUP_EXE), {"--user-db", app, extra});
    ASSERT_TRUE(tool.waitForFinished(120000));
    EXPECT_EQ(tool.exitCode(), 2);

    // The help names every option, on standard output.
    tool.start(QStringLiteral(TASKGATE_SETUP_EXE), {"--help"});
    ASSERT_TRUE(tool.waitForFinished(120000));
    EXPECT_EQ(tool.exitCode(), 0);
    const QString help = QString::fromLocal8Bit(tool.readAllStandardOutput());
    for (const char *option : {"--demo", "--user-db <directory>", "--archive <path.fdb>", "--server <host[/port]>",
                               "--server-dir <directory>", "--version"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option << " missing from:\n" << qPrintable(help);
}
