// The front-end over rows that other programs of the suite, or people, left
// in every table it reads: NULL in every nullable column, empty texts, texts
// of the columns' full length, non-numbers where a number is expected,
// apostrophes, accented letters, "´" and "€". Start-up, login, catalogue,
// dispatch, company change, the three system screens and the closing run
// over them. Each step ends in what the program is meant to do, a clear
// message or the top-level error report; none crashes or hangs, and every
// row the step was not meant to change stays byte for byte as it was.

#include "HostileRows.h"
#include "SuiteRows.h"
#include "TestSupport.h"

#include "companies/AbilitaDitte.h"
#include "companies/MemoQuadrel.h"
#include "data/QuadrelText.h"
#include "companies/SelezDitta.h"
#include "data/TabX.h"
#include "menu/NavigationBar.h"
#include "platform/DynamicLibrary.h"
#include "platform/ModalRunner.h"
#include "platform/ScreenSize.h"
#include "platform/TextCodec.h"
#include "semaphores/Semafori.h"
#include "sessions/Sessioni.h"
#include "shell/BaseMain.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;
using namespace tg::test::hostile;

namespace {

const QString Null = QStringLiteral("NULL");
// The user whose every column holds something awkward, and the companies of
// the parameter set: one of the full section length, one with every odd
// character, one whose archive path fills the whole parameter value.
const QString UserName = QStringLiteral("D'Àngelo ´€");
const QString Password = longest(64);
const QString Company = longest(128);
const QString Second = QStringLiteral("Bianchi d'Italia ´€");
const QString Long = QStringLiteral("Lunga");
// A parameter value of the column's full length, shown in a menu caption.
const QString Printer = longest(255, QStringLiteral("stampante d'ufficio ´€ "));

const QString CatalogueFailed = QStringLiteral("Si è verificato un errore durante la configurazione del programma "
                                               "sulla base dei criteri di personalizzazione dell'utente selezionato");
const QString Refused = QStringLiteral("Accesso negato: scegliere un'utente ed inserire l'eventuale password. "
                                       "Fare attenzione al maiuscolo / minuscolo");
const QString MenuOpening = QStringLiteral("Impossibile caricare la finestra relativa alla voce di menu selezionata. "
                                           "Controllare le impostazioni di menu del programma ");
const QString SemaphoreBusy = QStringLiteral(
    "Errore: ci sono altre finestre critiche aperte da questo utente o da altri utenti che bloccano l'apertura di "
    "questa finestra.\r\nChiudere prima le altre finestre e riprovare.\r\nVedere Gestione semafori per maggiori "
    "dettagli.");

QString values(const QStringList &list)
{
    return list.join(QLatin1Char(','));
}

QString insert(const char *table, const char *columns, const QStringList &row)
{
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(QLatin1String(table), QLatin1String(columns), values(row));
}

QString user(const QStringList &row)
{
    return insert("UTENTI",
                  "CODICE,NOMEUTENTE,PWDUTENTE,DITTA,PROFILOSICUREZZA,PROGETTO,MANTIENISTDMIN,ACCESSOQUADREL,"
                  "QUADREL,INFO1,UTENTEINATTIVO,LINGUA1,LINGUA2",
                  row);
}

QString parameter(const QString &user, const QString &section, const QString &key, const QString &value,
                  const QString &position)
{
    return insert("TABQUADREL", "UTENTE,INTESTAZIONE,PARAMETRO,VALORE,PROGRESSIVO", {user, section, key, value, position});
}

QString menu(int program, int number, const QString &parent, const QString &level, const QString &visible,
             const QString &caption, const QString &quick, const QString &dll, const QString &function,
             const QString &level2 = Null, const QString &text = Null)
{
    return insert("DETTMENU",
                  "PROGRAMMA,MENU,MENUPREC,LIVELLOMENU,VISIBILE,DESCRIZIONE,VOCERAPIDA,DLL,FUNZIONE,"
                  "LIVELLO2VERSIONE,PARAMETRIBLOB",
                  {QString::number(program), QString::number(number), parent, level, visible, caption, quick, dll,
                   function, level2, text});
}

QString button(const QStringList &row)
{
    return insert("PULSANTONI",
                  "ID,PROGETTO,VISIBILE,POS_X,POS_Y,LARGHEZZA,ALTEZZA,NOME,NOMEIMMAGINE,DLL,FUNZIONE,"
                  "LIVELLO2VERSIONE,PARAMETRIBLOB",
                  row);
}

// The recording plug-in's log of calls, in the suite's code page.
QStringList pluginCalls(const QString &path)
{
    void *library = DynamicLibrary::load(path);
    auto calls = reinterpret_cast<const char *(*)()>(DynamicLibrary::symbol(library, QStringLiteral("TaskgateTestCalls")));
    if (!calls)
        return {QStringLiteral("<no plug-in>")};
    const QByteArray bytes(calls());
    return fromSuiteBytes(bytes.constData(), bytes.size()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

class HostileRows : public ::testing::Test {
protected:
    HostileRows()
    {
        EdizioneProgramma = QStringLiteral("SMALL");
        ScreenSize::override(QSize(800, 600));
    }
    ~HostileRows() override { ScreenSize::override(QSize()); }

    void SetUp() override
    {
        // The archives have odd names too; one fills the whole parameter value.
        rossi = app.createArchive(QStringLiteral("l'àrchivio ´€.fdb"));
        verdi = app.createArchive(QStringLiteral("verdi d'Àrea ´€.fdb"));
        lunga = app.createArchive(
            longest(255 - app.path().size() - 4, QStringLiteral("l'archivio ")) + QStringLiteral(".fdb"));
        ASSERT_EQ(lunga.size(), 255);
        // The recording plug-in, in a directory whose name the library
        // column carries in full.
        const QString directory = app.path() + QStringLiteral("plug-in d'Àrea ´€/");
        ASSERT_TRUE(QDir().mkpath(directory));
        plugin = directory + QStringLiteral("taskgatetest.so");
        ASSERT_TRUE(QFile::copy(QStringLiteral(TASKGATE_TEST_PLUGIN), plugin));
        if (auto reset = reinterpret_cast<void (*)()>(
                DynamicLibrary::symbol(DynamicLibrary::load(plugin), QStringLiteral("TaskgateTestReset"))))
            reset();
        // An icon file that is no icon.
        QFile icon(app.path() + QStringLiteral("Grafica/l'icona ´€.ico"));
        ASSERT_TRUE(icon.open(QIODevice::WriteOnly));
        icon.write("not an icon");
        icon.close();

        fillUserDatabase();
        fillArchive();
        beforeUser = readTables(app.userDatabasePath());
        beforeArchive = readTables(rossi);
        previousDirectory = QDir::currentPath();
        QDir::setCurrent(app.path());
    }
    void TearDown() override
    {
        form.reset();
        ModalRunner::install({});
        QDir::setCurrent(previousDirectory);
    }

    void fillUserDatabase()
    {
        const QString p = literal(plugin);
        const QString quadrel = QStringLiteral("[") + Company + QStringLiteral("]\nArchivio=") + rossi
                                + QStringLiteral("\n\n[\n[]\n=senza chiave\nsenza uguale\n[") + Second
                                + QStringLiteral("]\nNota=") + Printer + QStringLiteral("\nDoppio==uguale\r\n\r");
        app.execUser({
            user({QStringLiteral("1"), literal(UserName), literal(Password), literal(Company), QStringLiteral("1"),
                  QStringLiteral("1"), Null, QStringLiteral("'1'"), literal(quadrel), QStringLiteral("'TERM'"),
                  QStringLiteral("'0'"), QStringLiteral("2"), Null}),
            user({QStringLiteral("2"), Null, Null, Null, Null, Null, Null, Null, Null, Null, Null, Null, Null}),
            user({QStringLiteral("3"), QStringLiteral("''"), QStringLiteral("''"), QStringLiteral("''"), Null, Null,
                  QStringLiteral("''"), QStringLiteral("''"), QStringLiteral("''"), QStringLiteral("''"), Null, Null,
                  Null}),
            user({QStringLiteral("4"), literal(longest(64)), Null, Null, Null, QStringLiteral("1"),
                  QStringLiteral("'1'"), Null, Null, Null, Null, Null, Null}),
            user({QStringLiteral("5"), QStringLiteral("'Cinque'"), Null, Null, QStringLiteral("1"), QStringLiteral("1"),
                  Null, Null, Null, literal(longest(64)), Null, Null, Null}),
            user({QStringLiteral("6"), QStringLiteral("'Sei'"), Null, Null, QStringLiteral("1"), QStringLiteral("1"),
                  Null, Null, Null, QStringLiteral("'term'"), QStringLiteral("'´'"), Null, Null}),
            user({QStringLiteral("8"), QStringLiteral("'Otto ´'"), Null, literal(Second), QStringLiteral("1"), Null,
                  Null, Null, Null, Null, Null, Null, Null}),
            user({QStringLiteral("9"), QStringLiteral("'Nove €'"), Null, QStringLiteral("'x'"), QStringLiteral("1"),
                  QStringLiteral("2"), Null, Null, Null, Null, Null, Null, Null}),
            // The parameter set: odd sections, keys and values, NULLs.
            parameter(QStringLiteral("1"), literal(Company), QStringLiteral("'Archivio'"), literal(rossi),
                      QStringLiteral("1")),
            parameter(QStringLiteral("1"), literal(Company), QStringLiteral("'PROGETTO'"), QStringLiteral("' 1 '"),
                      QStringLiteral("2")),
            parameter(QStringLiteral("1"), literal(Company), QStringLiteral("'PROFILO SICUREZZA'"), Null, Null),
            parameter(QStringLiteral("1"), literal(Company), QStringLiteral("'Stampante'"), literal(Printer),
                      QStringLiteral("3")),
            parameter(QStringLiteral("1"), literal(Company), Null, QStringLiteral("'x'"), QStringLiteral("4")),
            parameter(QStringLiteral("1"), literal(Company), QStringLiteral("''"), Null, QStringLiteral("5")),
            parameter(QStringLiteral("1"), literal(Company), QStringLiteral("'AperturaAgenda'"), QStringLiteral("'si'"),
                      QStringLiteral("6")),
            parameter(QStringLiteral("1"), literal(Second), QStringLiteral("'Archivio'"), literal(verdi),
                      QStringLiteral("7")),
            parameter(QStringLiteral("1"), literal(Long), QStringLiteral("'Archivio'"), literal(lunga),
                      QStringLiteral("8")),
            parameter(QStringLiteral("1"), QStringLiteral("'Vecchia <inattiva>'"), QStringLiteral("'Archivio'"),
                      literal(verdi), QStringLiteral("9")),
            parameter(QStringLiteral("1"), Null, QStringLiteral("'Archivio'"), QStringLiteral("'x'"), Null),
            parameter(QStringLiteral("1"), QStringLiteral("''"), QStringLiteral("'PROGETTO'"), QStringLiteral("'x'"),
                      QStringLiteral("10")),
            parameter(QStringLiteral("9"), QStringLiteral("'x'"), QStringLiteral("'Archivio'"), literal(rossi),
                      QStringLiteral("1")),
            // The agenda of the user without a company: a library name of
            // the full length, no entry name.
            parameter(QStringLiteral("4"), QStringLiteral("''"), QStringLiteral("'AperturaAgenda'"),
                      QStringLiteral("'SI'"), QStringLiteral("1")),
            parameter(QStringLiteral("4"), QStringLiteral("''"), QStringLiteral("'DllAperturaAgenda'"),
                      literal(longest(255)), QStringLiteral("2")),
            parameter(QStringLiteral("4"), QStringLiteral("''"), QStringLiteral("'FunzioneAperturaAgenda'"), Null,
                      QStringLiteral("3")),
            parameter(Null, literal(Company), QStringLiteral("'PROGETTO'"), QStringLiteral("'nove'"), Null),
            parameter(Null, Null, Null, Null, Null),
            // Programs of project 1, with odd captions and icons.
            insert("PROGRAMMI", "CODICE,ICONA,DESCRIZIONE", {QStringLiteral("1"), Null, literal(longest(128))}),
            insert("PROGRAMMI", "CODICE,ICONA,DESCRIZIONE", {QStringLiteral("2"), QStringLiteral("''"), Null}),
            insert("PROGRAMMI", "CODICE,ICONA,DESCRIZIONE",
                   {QStringLiteral("3"), literal(longest(255)), QStringLiteral("'Magazzino d''Àrea ´€'")}),
            insert("PROGRAMMI", "CODICE,ICONA,DESCRIZIONE",
                   {QStringLiteral("4"), QStringLiteral("'l''icona ´€.ico'"), QStringLiteral("''")}),
            rows::projectProgram(1, 1), rows::projectProgram(1, 2), rows::projectProgram(1, 3),
            rows::projectProgram(1, 4), rows::projectProgram(1, 99),
            insert("DETTPROGETTI", "PROGETTO,PROGRAMMA", {Null, QStringLiteral("1")}),
            insert("DETTPROGETTI", "PROGETTO,PROGRAMMA", {QStringLiteral("1"), Null}),
            // Program 1: quick entries and a menu tree of odd rows.
            menu(1, 1, Null, QStringLiteral("0"), QStringLiteral("'1'"), QStringLiteral("'-'"), QStringLiteral("'1'"),
                 Null, Null),
            menu(1, 2, Null, QStringLiteral("0"), QStringLiteral("'1'"), literal(longest(128)), QStringLiteral("'1'"),
                 p, QStringLiteral("'RecX'"), Null, literal(longest(5000))),
            menu(1, 3, Null, QStringLiteral("0"), QStringLiteral("'1'"), Null, Null, Null, Null, QStringLiteral("'´'")),
            menu(1, 4, QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("'1'"),
                 QStringLiteral("'Stampante: <LINEA>Stampante</LINEA> (locale)'"), Null, p, QStringLiteral("'Rec2X'"),
                 QStringLiteral("'1'"), literal(Mixed)),
            menu(1, 5, QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("'1'"),
                 QStringLiteral("'Aperta: <LINEA>Stampante'"), Null, p, QStringLiteral("'RecY'")),
            menu(1, 6, QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("'1'"), QStringLiteral("'-'"), Null,
                 p, QStringLiteral("'RecPlain'")),
            menu(1, 7, QStringLiteral("6"), QStringLiteral("2"), QStringLiteral("'1'"),
                 QStringLiteral("'Sotto il separatore'"), Null, p, QStringLiteral("'RecPlain'")),
            menu(1, 8, QStringLiteral("3"), QStringLiteral("1"), Null, QStringLiteral("'Invisibile'"), Null, p,
                 QStringLiteral("'RecPlain'")),
            menu(1, 9, QStringLiteral("3"), Null, QStringLiteral("'1'"), QStringLiteral("'Senza livello'"), Null, p,
                 QStringLiteral("'RecPlain'")),
            menu(1, 10, Null, QStringLiteral("0"), Null, literal(Mixed), QStringLiteral("'1'"), p,
                 QStringLiteral("'RecPlain'")),
            menu(1, 11, Null, QStringLiteral("0"), QStringLiteral("'1'"), QStringLiteral("'Lunga'"),
                 QStringLiteral("'1'"), literal(longest(255)), literal(longest(127) + QLatin1Char('X'))),
            menu(1, 12, Null, QStringLiteral("0"), QStringLiteral("'1'"), QStringLiteral("'Cambio'"),
                 QStringLiteral("'1'"), Null, QStringLiteral("'cambioDitta'")),
            menu(1, 13, Null, QStringLiteral("0"), QStringLiteral("'1'"), QStringLiteral("''"), QStringLiteral("'1'"),
                 QStringLiteral("''"), QStringLiteral("'RecY'")),
            menu(1, 14, Null, QStringLiteral("0"), QStringLiteral("'1'"), QStringLiteral("'Senza funzione'"),
                 QStringLiteral("'1'"), p, QStringLiteral("''")),
            menu(1, 15, Null, QStringLiteral("0"), Null, QStringLiteral("'Esci'"), Null, Null, QStringLiteral("'Chiudi'")),
            // Program 2: separators named like the system menu's own N1 and N2.
            menu(2, 1, Null, QStringLiteral("0"), QStringLiteral("'1'"), QStringLiteral("'-'"), Null, Null, Null),
            menu(2, 2, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("'1'"), QStringLiteral("'-'"), Null,
                 Null, Null),
            menu(2, 3, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("'1'"), literal(Mixed), Null, p,
                 QStringLiteral("'Rec2'"), QStringLiteral("'1'"), QStringLiteral("''")),
            // Translations in the user's first language.
            rows::translation(1, 2, 2, Null), rows::translation(1, 10, 2, literal(longest(128))),
            rows::translation(1, 13, 2, QStringLiteral("''")), rows::translation(1, 4, 2, literal(Mixed)),
            insert("LINGUEMENU", "PROGRAMMA,MENU,LINGUA,DESCRIZIONE", {Null, Null, Null, Null}),
            // Picture buttons of project 2.
            button({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("'1'"), Null, Null, Null, Null, Null,
                    Null, Null, Null, Null, Null}),
            button({QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("'1'"), QStringLiteral("10"),
                    QStringLiteral("10"), QStringLiteral("100"), QStringLiteral("50"), literal(longest(128)),
                    QStringLiteral("'logo d''Àrea.png'"), p, QStringLiteral("'Rec2'"), QStringLiteral("'1'"),
                    literal(Mixed)}),
            button({QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("'1'"), QStringLiteral("2147483647"),
                    QStringLiteral("-2147483648"), QStringLiteral("2147483647"), QStringLiteral("2147483647"),
                    literal(Mixed), QStringLiteral("''"), p, QStringLiteral("'RecPlain'"), QStringLiteral("'´'"), Null}),
            button({QStringLiteral("4"), QStringLiteral("2"), Null, QStringLiteral("0"), QStringLiteral("0"),
                    QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("'Nascosto'"), Null, p,
                    QStringLiteral("'RecPlain'"), Null, Null}),
            button({QStringLiteral("5"), Null, QStringLiteral("'1'"), Null, Null, Null, Null, Null, Null, Null, Null,
                    Null, Null}),
            button({QStringLiteral("9"), QStringLiteral("2"), QStringLiteral("'1'"), QStringLiteral("0"),
                    QStringLiteral("0"), QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("'Senza immagine'"),
                    QStringLiteral("'l''immagine ´€.bmp'"), p, QStringLiteral("'RecPlain'"), Null, Null}),
            // Profiles, projects, named values, and the logs of earlier runs.
            insert("PROFILI", "CODICE,LIVELLOPREDEFINITO", {QStringLiteral("1"), Null}),
            insert("DETTPROF", "PROFILO,PROGRAMMA,MENU,LIVELLO", {Null, Null, Null, Null}),
            insert("PROGETTI", "CODICE,MODOMENUSISTEMA", {QStringLiteral("1"), Null}),
            insert("PROGETTI", "CODICE,MODOMENUSISTEMA", {QStringLiteral("2"), QStringLiteral("2147483647")}),
            insert("TABX", "CODICE,NOME,TESTO", {QStringLiteral("1"), QStringLiteral("'InterfacciaAccesso'"), Null}),
            insert("TABX", "CODICE,NOME,TESTO,MEMO,UTENTE",
                   {QStringLiteral("2"), literal(longest(64)), literal(longest(255)), literal(Mixed), Null}),
            insert("MARTILOG", "CODICESESSIONE,DATAAPERTURA,ORAAPERTURA,CODICEUTENTE,DATACHIUSURA,ORACHIUSURA",
                   {QStringLiteral("100"), Null, Null, QStringLiteral("1"), Null, Null}),
            insert("MARTILOG", "CODICESESSIONE,DATAAPERTURA,ORAAPERTURA,CODICEUTENTE,DATACHIUSURA,ORACHIUSURA",
                   {QStringLiteral("101"), QStringLiteral("'02/01/2024'"), Null, QStringLiteral("1"),
                    QStringLiteral("'03/01/2024'"), Null}),
            insert("MARTILOG", "CODICESESSIONE,DATAAPERTURA,ORAAPERTURA,CODICEUTENTE,DATACHIUSURA,ORACHIUSURA",
                   {QStringLiteral("102"), Null, Null, Null, Null, Null}),
            insert("MARTILOG", "CODICESESSIONE,DATAAPERTURA,ORAAPERTURA,CODICEUTENTE,DATACHIUSURA,ORACHIUSURA",
                   {QStringLiteral("103"), Null, Null, QStringLiteral("2"), Null, Null}),
            // Call-log rows of the session this run will open (code 1), as
            // another run may have left them.
            insert("MARTILOGFUNZ", "CODICESESSIONE,DATACHIAMATAFUNZIONE,ORACHIAMATAFUNZIONE,FUNZIONECHIAMATA,"
                                   "IDFINESTRA,HANDLEFINESTRA",
                   {Null, Null, Null, Null, Null, Null}),
            insert("MARTILOGFUNZ", "CODICESESSIONE,FUNZIONECHIAMATA,IDFINESTRA,HANDLEFINESTRA",
                   {QStringLiteral("1"), literal(longest(128)), Null, QStringLiteral("-1")}),
            insert("MARTILOGFUNZ", "CODICESESSIONE,FUNZIONECHIAMATA,IDFINESTRA,HANDLEFINESTRA",
                   {QStringLiteral("1"), QStringLiteral("''"), QStringLiteral("-2147483648"),
                    QStringLiteral("9223372036854775807")}),
            insert("MARTILOGFUNZ", "CODICESESSIONE,FUNZIONECHIAMATA,IDFINESTRA,HANDLEFINESTRA",
                   {QStringLiteral("1"), Null, Null, Null}),
            insert("\"STOPOS1\"", "CodiceSituazione,CodiceUtente,CodiceProgetto,PosX,PosY,DimX,DimY",
                   {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"), Null, Null, Null, Null}),
            insert("\"STOPOS1\"", "CodiceSituazione,CodiceUtente,CodiceProgetto,PosX,PosY,DimX,DimY",
                   {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("-2147483648"),
                    QStringLiteral("2147483647"), QStringLiteral("0"), QStringLiteral("-1")}),
            insert("TABSCRIPT", "PROGETTO,SCRIPTFORM,CONTESTO,UTENTE,SCRIPT",
                   {QStringLiteral("''"), literal(longest(15)), QStringLiteral("0"), QStringLiteral("'1'"), Null}),
        });
    }

    void fillArchive()
    {
        const QString p = literal(plugin);
        AppDirectory::exec(
            rossi,
            {insert("TABX", "CODICE,CODPROGETTO,CODSITUAZIONE,TIPO,NOME,TESTO,MEMO,UTENTE",
                    {QStringLiteral("1"), Null, Null, Null, Null, Null, Null, Null}),
             insert("TABX", "CODICE,CODPROGETTO,CODSITUAZIONE,TIPO,NOME,TESTO,MEMO,UTENTE",
                    {QStringLiteral("2"), literal(longest(64)), QStringLiteral("''"), QStringLiteral("'TBX'"),
                     QStringLiteral("'Archivio'"), literal(longest(255)), literal(Mixed), QStringLiteral("1")}),
             // Semaphores: one taken without a window number, one of the
             // recording plug-in's RecX, one of full-length names.
             insert("SEMAFORIF", "ID,DLL,FORM,UTENTE,OCCUPATO,DATAORA", {Null, Null, Null, Null, QStringLiteral("1"), Null}),
             insert("SEMAFORIF", "ID,DLL,FORM,UTENTE,OCCUPATO,DATAORA",
                    {QStringLiteral("5"), p, QStringLiteral("'RecX'"), Null, QStringLiteral("1"), Null}),
             insert("SEMAFORIF", "ID,DLL,FORM,UTENTE,OCCUPATO,DATAORA",
                    {QStringLiteral("7"), literal(longest(255)), literal(longest(128)), QStringLiteral("2"),
                     QStringLiteral("1"), QStringLiteral("'NOW'")}),
             insert("SEMAFORIF", "ID,DLL,FORM,UTENTE,OCCUPATO,DATAORA",
                    {QStringLiteral("9"), literal(Mixed), literal(Mixed), QStringLiteral("1"), Null, Null}),
             // RecX is critical; RecY is under special watch and blocked by RecX.
             insert("SEMAFORIFCRITICHE", "DLL,FORM,OSSERVATASPECIALE", {p, QStringLiteral("'RecX'"), Null}),
             insert("SEMAFORIFCRITICHE", "DLL,FORM,OSSERVATASPECIALE", {p, QStringLiteral("'RecY'"), QStringLiteral("1")}),
             insert("SEMAFORIFCRITICHE", "DLL,FORM,OSSERVATASPECIALE", {Null, Null, Null}),
             insert("SEMAFORIFCRITICHE", "DLL,FORM,OSSERVATASPECIALE", {literal(Mixed), literal(Mixed), QStringLiteral("1")}),
             insert("SEMAFORIFCRITICHECOLL", "DLLPRIN,FORMPRIN,DLLCOLLEGATA,FORMCOLLEGATA",
                    {p, QStringLiteral("'RecY'"), p, QStringLiteral("'RecX'")}),
             insert("SEMAFORIFCRITICHECOLL", "DLLPRIN,FORMPRIN,DLLCOLLEGATA,FORMCOLLEGATA", {Null, Null, Null, Null}),
             insert("SEMAFORIFANOMALIE", "ID,DATAORAANOMALIA,UTENTE,DLL,FORM,DESCRIZIONE",
                    {QStringLiteral("1001"), Null, Null, Null, Null, Null}),
             insert("SEMAFORIFANOMALIE", "ID,DATAORAANOMALIA,UTENTE,DLL,FORM,DESCRIZIONE",
                    {QStringLiteral("1002"), QStringLiteral("'NOW'"), QStringLiteral("1"), literal(longest(255)),
                     literal(longest(128)), literal(longest(255))})});
    }

    TBaseMainForm &start()
    {
        form = std::make_unique<TBaseMainForm>();
        form->show();
        return *form;
    }
    // Picks the user at that index of the combo (-1: none) and presses OK.
    void login(int index, const QString &password)
    {
        form->ComboUtenti1->setCurrentIndex(index);
        form->EditPassword1->setText(password);
        form->ButtonOk->click();
    }
    TBaseMainForm &loggedIn(int index = 0, const QString &password = Password)
    {
        start();
        login(index, password);
        EXPECT_TRUE(form->utenteCollegato());
        return *form;
    }
    void expectKept(const MayChange &userRows, const MayChange &archiveRows, const char *where)
    {
        expectRowsKept(beforeUser, readTables(app.userDatabasePath()), userRows, where);
        expectRowsKept(beforeArchive, readTables(rossi), archiveRows, where);
    }
    QString stored(const QString &statement) const { return app.queryUserText(statement); }

    AppDirectory app;
    QString rossi;
    QString verdi;
    QString lunga;
    QString plugin;
    QString previousDirectory;
    Tables beforeUser;
    Tables beforeArchive;
    RecordingPrompter prompter;
    std::unique_ptr<TBaseMainForm> form;
};

TEST_F(HostileRows, StartUpListsTheTerminalUsersAsStored)
{
    TBaseMainForm &main = start();
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();
    QStringList listed;
    for (int i = 0; i < main.ComboUtenti1->count(); ++i)
        listed << main.ComboUtenti1->itemText(i);
    // NULL and empty names, INFO1 empty, NULL or TERM; inactive users and
    // other workstations' users are left out.
    EXPECT_EQ(listed, (QStringList{UserName, QString(), QString(), longest(64), QStringLiteral("Otto ´"),
                                   QStringLiteral("Nove €")}));
    EXPECT_EQ(main.ListaUtenti2->count(), listed.size());
    EXPECT_EQ(main.NotebookMain->currentWidget(), main.ModalitaDefault);
    EXPECT_TRUE(main.logFinestre());
    expectKept(NothingChanges, NothingChanges, "start-up");
}

TEST_F(HostileRows, LoginsEndInTheirOutcomeOrAMessage)
{
    struct Case {
        const char *what;
        int index; // in the user lists, -1 for no pick
        QString password;
        QStringList messages;
        bool loggedIn;
        QString caption;
    };
    const QString configuration = QStringLiteral("E' stato trovato un errore nella configurazione dell'utente ");
    QString otherCase = Password;
    otherCase.replace(QStringLiteral("À"), QStringLiteral("à"));
    const QList<Case> cases = {
        {"no user picked, although a user's name is empty", -1, QString(), {Refused}, false, QStringLiteral("Autenticazione")},
        {"NULL name", 1, QString(), {Refused}, false, QStringLiteral("Autenticazione")},
        {"empty name", 2, QString(), {Refused}, false, QStringLiteral("Autenticazione")},
        {"password cut short", 0, Password.chopped(1), {Refused}, false, QStringLiteral("Autenticazione")},
        {"password in another case", 0, otherCase, {Refused}, false, QStringLiteral("Autenticazione")},
        {"full-length password", 0, Password, {}, true, QStringLiteral("Ditta: ") + Company + QStringLiteral(" - Utente: ") + UserName},
        {"full-length name, no company, no profile", 3, QStringLiteral("qualsiasi'´€"),
         {QStringLiteral("Effettuata creazione data base")}, true,
         QStringLiteral("Ditta:  - Utente: ") + longest(64)},
        {"no project", 4, QString(), {configuration + QStringLiteral("Otto ´: manca il progetto")}, true,
         QStringLiteral("Autenticazione")},
    };
    TBaseMainForm &main = start();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        prompter.messages.clear();
        main.CambioUtente();
        login(c.index, c.password);
        EXPECT_EQ(prompter.texts(), c.messages);
        EXPECT_EQ(main.utenteCollegato(), c.loggedIn);
        EXPECT_EQ(main.windowTitle(), c.caption);
    }
    // Each successful password check opened a session; nothing else changed.
    EXPECT_EQ(app.queryUserRows(QStringLiteral("SELECT CODICEUTENTE FROM MARTILOG WHERE CODICESESSIONE<100 "
                                               "ORDER BY CODICESESSIONE")),
              (QStringList{QStringLiteral("1"), QStringLiteral("4"), QStringLiteral("8")}));
    // The agenda call is logged under its fixed name; its library is not found.
    EXPECT_EQ(app.queryUserRows(QStringLiteral("SELECT F.FUNZIONECHIAMATA FROM MARTILOGFUNZ F JOIN MARTILOG S ON "
                                               "S.CODICESESSIONE=F.CODICESESSIONE WHERE S.CODICEUTENTE=4")),
              QStringList{QStringLiteral("ShowContattAgendaFormD")});
    expectKept(NothingChanges, NothingChanges, "logins");
}

TEST_F(HostileRows, NumbersThatAreNoNumbersStopWithAMessage)
{
    const QStringList notNumbers = {QStringLiteral(" "), QStringLiteral("uno"), QStringLiteral("1.5"),
                                    QStringLiteral("99999999999"), QStringLiteral("l'1 ´€"), longest(255)};
    start();
    for (const char *name : {"PROGETTO", "PROFILO SICUREZZA", "AperturaForm"}) {
        const QString key = QString::fromLatin1(name);
        for (const QString &value : notNumbers) {
            SCOPED_TRACE(name + (" = " + value.toStdString()));
            app.execUser({QStringLiteral("DELETE FROM TABQUADREL WHERE PARAMETRO IN "
                                         "('PROGETTO','PROFILO SICUREZZA','AperturaForm')"),
                          parameter(QStringLiteral("1"), literal(Company), literal(key), literal(value),
                                    QStringLiteral("20"))});
            prompter.messages.clear();
            form->CambioUtente();
            login(0, Password);
            ASSERT_EQ(prompter.messages.size(), 1) << prompter.texts().join(QLatin1Char('|')).toStdString();
            EXPECT_EQ(prompter.messages.first().first, MessageKind::Error);
            EXPECT_TRUE(prompter.messages.first().second.contains(value));
            // A project or profile stops the login before the catalogue; the
            // start function is only left out.
            EXPECT_EQ(form->menuBarRimossa(), key == QLatin1String("AperturaForm"));
        }
    }
}

TEST_F(HostileRows, CatalogueShowsTheRowsAsStoredAndDispatchCopes)
{
    TBaseMainForm &main = loggedIn();
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(main.PTabX->TabX->IBDatabase1.databaseName(), rossi);

    // Groups in program order, captions as stored; an icon file that is no
    // icon leaves its group without one.
    ASSERT_EQ(main.MenuProgrammi->groupCount(), 4);
    EXPECT_EQ(main.MenuProgrammi->groupCaption(0), longest(128));
    EXPECT_EQ(main.MenuProgrammi->groupCaption(1), QString());
    EXPECT_EQ(main.MenuProgrammi->groupCaption(2), QStringLiteral("Magazzino d'Àrea ´€"));
    EXPECT_EQ(main.MenuProgrammi->imageCount(), 0);
    QStringList quick;
    for (QToolButton *link : main.vociRapide())
        quick << link->text();
    // Translations that are NULL or empty count as missing.
    EXPECT_EQ(quick, (QStringList{QStringLiteral("-"), longest(128), longest(128), QStringLiteral("Lunga"),
                                  QStringLiteral("Cambio"), QString(), QStringLiteral("Senza funzione")}));
    // The menu tree of program 1: the marker's parameter value in full.
    QStringList tree;
    for (QAction *entry : main.vociMenu())
        tree << entry->text() + QLatin1Char('/') + entry->property("clickHandler").toString();
    EXPECT_EQ(tree, (QStringList{QStringLiteral("-/EventoVoceOnClick"), longest(128) + QStringLiteral("/EventoVoceOnClick"),
                                 QStringLiteral("/"), Mixed + QStringLiteral("/EventoVoce2OnClick"),
                                 QStringLiteral("Aperta: ") + Printer + QStringLiteral("/EventoVoceOnClick"),
                                 QStringLiteral("-/"), QStringLiteral("Lunga/EventoVoceOnClick"),
                                 QStringLiteral("Cambio/EventoVoceOnClick"), QStringLiteral("/EventoVoceOnClick"),
                                 QStringLiteral("Senza funzione/EventoVoceOnClick")}));

    // Every quick entry and every leaf of the tree, clicked.
    ModalRunner::install([](QDialog &dialog) {
        dialog.reject();
        return int(QDialog::Rejected);
    });
    for (int i = 0; i < main.vociRapide().size(); ++i)
        main.vociRapide()[i]->click();
    // The two leaves below the top level, as the menu holds them at the
    // moment (a second-level entry rebuilds the tree when it has run).
    const auto trigger = [&main](int tag) {
        const auto entry = std::find_if(main.vociMenu().cbegin(), main.vociMenu().cend(), [tag](const QAction *a) {
            return a->property("tag").toInt() == tag && !a->isSeparator() && !a->menu();
        });
        ASSERT_NE(entry, main.vociMenu().cend());
        (*entry)->trigger();
    };
    trigger(4);
    trigger(5);
    main.CaricaMenu(2);
    EXPECT_EQ(main.vociMenu().size(), 3);

    const QString noLibrary = QStringLiteral(": manca la DLL di riferimento per caricare la finestra nel menu ");
    EXPECT_EQ(prompter.texts(),
              (QStringList{MenuOpening + QStringLiteral("1") + noLibrary + QStringLiteral("1"),
                           MenuOpening + QStringLiteral("1") + noLibrary + QStringLiteral("13"),
                           MenuOpening + QStringLiteral("1: manca la funzione di riferimento per caricare la finestra "
                                                        "nel menu 14"),
                           SemaphoreBusy}));
    const QStringList calls = pluginCalls(plugin);
    ASSERT_EQ(calls.size(), 3) << calls.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(calls[0].startsWith(QStringLiteral("RecX 1 ")));
    EXPECT_EQ(calls[1], QStringLiteral("RecPlain 1"));
    EXPECT_TRUE(calls[2].startsWith(QStringLiteral("Rec2X 1 [%1]").arg(Mixed.size()) + Mixed + QLatin1Char(' ')));
    // Logged calls, the full-length entry name among them.
    EXPECT_EQ(app.queryUserRows(QStringLiteral("SELECT FUNZIONECHIAMATA FROM MARTILOGFUNZ WHERE IDFINESTRA>0 "
                                               "ORDER BY IDFINESTRA")),
              (QStringList{QStringLiteral("RecX"), QStringLiteral("RecPlain"), longest(127) + QLatin1Char('X'),
                           QStringLiteral("Rec2X"), QStringLiteral("RecY")}));
    // RecX is critical: its semaphore names the library in full.
    EXPECT_EQ(AppDirectory::queryRows(rossi, QStringLiteral("SELECT DLL,FORM,UTENTE,OCCUPATO FROM SEMAFORIF "
                                                            "WHERE UTENTE=1 AND OCCUPATO=1")),
              QStringList{plugin + QStringLiteral("|RecX|1|1")});
    EXPECT_EQ(AppDirectory::queryRows(rossi, QStringLiteral("SELECT DLL,FORM,UTENTE,DESCRIZIONE FROM SEMAFORIFANOMALIE "
                                                            "WHERE ID<1000")),
              QStringList{plugin + QStringLiteral("|RecY|1|Semaforo occupato")});
    expectKept(NothingChanges, NothingChanges, "catalogue and dispatch");
}

TEST_F(HostileRows, PictureButtonsOfOddRows)
{
    TBaseMainForm &main = loggedIn(5, QString());
    EXPECT_EQ(prompter.texts(), (QStringList{QStringLiteral("I pulsantoni possono caricare solo immagini bitmap: "
                                                            "controllare l'impostazione del pulsantone"),
                                             CatalogueFailed}));
    EXPECT_TRUE(main.MenuProgrammi->isHidden());
    QStringList buttons;
    for (QPushButton *b : main.pulsantoni())
        buttons << b->objectName() + QLatin1Char('/') + b->text();
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("Pulsantone_1/"), QStringLiteral("Pulsantone_2/") + longest(128),
                                    QStringLiteral("Pulsantone_3/") + Mixed, QStringLiteral("Pulsantone_9/Senza immagine")}));

    // NULL geometry gives an empty button; positions and sizes beyond what a
    // widget can take are bounded.
    EXPECT_EQ(main.pulsantoni()[0]->geometry(), QRect(0, 0, 0, 0));
    EXPECT_EQ(main.pulsantoni()[2]->pos(), QPoint(QWIDGETSIZE_MAX, -QWIDGETSIZE_MAX));
    EXPECT_EQ(main.pulsantoni()[2]->size(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));

    prompter.messages.clear();
    for (QPushButton *b : main.pulsantoni())
        b->click();
    EXPECT_EQ(prompter.texts(),
              QStringList{QStringLiteral("Impossibile caricare la finestra relativa al pulsantone premuto. Controllare "
                                         "le impostazioni del pulsantone 1: manca la DLL di riferimento per caricare "
                                         "la finestra")});
    EXPECT_EQ(pluginCalls(plugin), (QStringList{QStringLiteral("Rec2 9 [%1]").arg(Mixed.size()) + Mixed,
                                                QStringLiteral("RecPlain 9"), QStringLiteral("RecPlain 9")}));
    expectKept(NothingChanges, NothingChanges, "picture buttons");
}

TEST_F(HostileRows, CompanyChangesOverOddSections)
{
    TBaseMainForm &main = loggedIn();
    QStringList offered;
    {
        TSelezDittaForm dialog(&main, main.edizione(), main.PTabX.get());
        for (int i = 0; i < dialog.ListBoxSelDitta->count(); ++i)
            offered << dialog.ListBoxSelDitta->item(i)->text();
        EXPECT_EQ(dialog.selectedCompany(), Company);
    }
    // Empty, NULL and inactive sections are not offered.
    QStringList expected{Company, Second, Long};
    std::sort(offered.begin(), offered.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(offered, expected);

    const auto choose = [](const QString &company) {
        return [company](QDialog &dialog) {
            auto &form = dynamic_cast<TSelezDittaForm &>(dialog);
            form.ListBoxSelDitta->setCurrentItem(form.ListBoxSelDitta->findItems(company, Qt::MatchExactly).value(0));
            form.ButtonOk->click();
            return form.result();
        };
    };
    const auto stored = [this] { return app.queryUserText(QStringLiteral("SELECT DITTA FROM UTENTI WHERE CODICE=1")); };
    struct Change {
        QString company;
        QString archive;
    };
    for (const Change &change : {Change{Second, verdi}, Change{Long, lunga}, Change{Company, rossi}}) {
        SCOPED_TRACE(change.company.toStdString());
        ModalRunner::install(choose(change.company));
        prompter.messages.clear();
        QTest::keyRelease(&main, Qt::Key_F9);
        EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(stored(), change.company);
        EXPECT_EQ(main.PTabX->TabX->dittaCorrente(), change.company);
        EXPECT_EQ(main.PTabX->TabX->IBDatabase1.databaseName(), change.archive) << "the company's own archive";
        EXPECT_TRUE(main.PTabX->TabX->IBDatabase1.connected());
        EXPECT_EQ(main.windowTitle(), QStringLiteral("Ditta: ") + change.company + QStringLiteral(" - Utente: ") + UserName);
    }
    // F12 steps through the offered companies and comes back.
    QStringList visited;
    for (int i = 0; i < 3; ++i) {
        QTest::keyRelease(&main, Qt::Key_F12);
        visited << stored();
    }
    EXPECT_EQ(visited.last(), Company);
    std::sort(visited.begin(), visited.end());
    EXPECT_EQ(visited, expected);
    // The company recorded before a call, whatever was stored meanwhile.
    app.execUser({QStringLiteral("UPDATE UTENTI SET DITTA=NULL WHERE CODICE=1")});
    EXPECT_TRUE(main.AggiornaDittaUtente(1, main.PTabX->TabX->dittaCorrente()));
    EXPECT_EQ(stored(), Company);
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();
    // Only the user's company changed (and is back where it was).
    expectKept(NothingChanges, NothingChanges, "company change");
}

TEST_F(HostileRows, SystemScreensOverOddRows)
{
    TBaseMainForm &main = loggedIn();
    // Open sessions: the user's open ones, whatever their NULL columns.
    ModalRunner::install([](QDialog &dialog) {
        auto &screen = dynamic_cast<TSessioniForm &>(dialog);
        EXPECT_EQ(screen.SourceSessioni->rowCount(), 2);
        screen.ButtonSel->click();
        screen.ButtonChiudiSel->click();
        EXPECT_EQ(screen.SourceSessioni->rowCount(), 0);
        return int(QDialog::Accepted);
    });
    main.Sessioni1->trigger();
    EXPECT_EQ(app.queryUserRows(QStringLiteral("SELECT CODICESESSIONE FROM MARTILOG WHERE CODICEUTENTE=1 AND "
                                               "DATACHIUSURA IS NULL")),
              QStringList{});

    // Semaphores: every taken row with a number is released; the one without
    // a number cannot be selected and stays taken.
    ModalRunner::install([](QDialog &dialog) {
        auto &screen = dynamic_cast<TSemaforiForm &>(dialog);
        EXPECT_EQ(screen.SourceSemafori->rowCount(), 3);
        screen.ButtonSel->click();
        EXPECT_EQ(screen.Selezione, (QStringList{QStringLiteral("7"), QStringLiteral("5")}));
        screen.ButtonLiberaSemafori->click();
        EXPECT_EQ(screen.SourceSemafori->rowCount(), 1);
        return int(QDialog::Accepted);
    });
    main.Gestionesemafori1->trigger();
    EXPECT_EQ(AppDirectory::queryRows(rossi, QStringLiteral("SELECT COALESCE(ID,-1) FROM SEMAFORIF WHERE OCCUPATO=1")),
              QStringList{QStringLiteral("-1")});

    // Parameter editor and company enabling over the stored text: the
    // companies named are made inactive, the text saved back without
    // apostrophes.
    QString shown;
    QString saved;
    QStringList active;
    QStringList deactivate;
    ModalRunner::install([&](QDialog &dialog) {
        if (auto *companies = dynamic_cast<TAbilitaDitteForm *>(&dialog)) {
            active.clear();
            for (int i = 0; i < companies->ListBoxAttive->count(); ++i) {
                QListWidgetItem *item = companies->ListBoxAttive->item(i);
                active << item->text();
                item->setSelected(deactivate.contains(item->text()));
            }
            companies->ButtonDisattiva->click();
            companies->ButtonOk->click();
            return companies->result();
        }
        auto &editor = dynamic_cast<TMemoQuadrelForm &>(dialog);
        shown = editor.testo();
        editor.ButtonAbilitaDitte->click();
        saved = editor.testo();
        editor.ButtonOk->click();
        return editor.result();
    });
    const auto parameterRows = [this] {
        return app.queryUserRows(QStringLiteral("SELECT INTESTAZIONE,PARAMETRO,VALORE,PROGRESSIVO FROM TABQUADREL "
                                                "WHERE UTENTE=1 ORDER BY PROGRESSIVO"));
    };
    const auto rowsOf = [](const QString &text) {
        QStringList rows;
        int position = 1;
        for (const TQuadrel &entry : parseQuadrel(text))
            rows << QStringLiteral("%1|%2|%3|%4").arg(entry.Intestazione, entry.Parametro, entry.Valore).arg(position++);
        return rows;
    };
    deactivate = QStringList{senzaApici(Second)};
    main.Accessoaquadrel1->trigger();
    EXPECT_EQ(prompter.texts(), (QStringList{QStringLiteral("Effettuare la chiusura delle sessioni selezionate?"),
                                             QStringLiteral("Liberare i semafori selezionati?")}));
    EXPECT_TRUE(shown.startsWith(QLatin1Char('[') + Company + QStringLiteral("]\nArchivio=")));
    QStringList sections{senzaApici(Company), senzaApici(Second)};
    std::sort(sections.begin(), sections.end());
    EXPECT_EQ(active, sections) << "the sections of the rows just stored";
    EXPECT_EQ(saved, applicaDitteInattive(senzaApici(shown), deactivate));
    EXPECT_EQ(stored(QStringLiteral("SELECT QUADREL FROM UTENTI WHERE CODICE=1")), testoDaMemorizzare(saved));
    const QStringList savedRows = rowsOf(saved);
    EXPECT_EQ(parameterRows(), savedRows);
    ASSERT_EQ(savedRows.size(), 3);
    EXPECT_TRUE(savedRows.last().startsWith(senzaApici(Second) + MarcatoreInattiva + QLatin1Char('|')));

    // A full-length section has no room for the marker: the rows refuse it
    // and stay as they were, the text is stored.
    prompter.messages.clear();
    deactivate = QStringList{senzaApici(Company)};
    main.Accessoaquadrel1->trigger();
    EXPECT_EQ(prompter.texts(), QStringList{QStringLiteral("Errore interno di INSERT: impossibile aggiornare la tabella "
                                                           "TABQUADREL. Chiudere il programma e riaprirlo")});
    EXPECT_EQ(stored(QStringLiteral("SELECT QUADREL FROM UTENTI WHERE CODICE=1")), testoDaMemorizzare(saved));
    EXPECT_TRUE(saved.startsWith(QLatin1Char('[') + senzaApici(Company) + MarcatoreInattiva + QLatin1Char(']')));
    EXPECT_EQ(parameterRows(), savedRows);

    // Meant to change: the user's open sessions, the released semaphores,
    // the user's text and parameter rows.
    expectKept(
        [](const QString &table, const QString &row) {
            return (table == QLatin1String("MARTILOG") && row.startsWith(QStringLiteral("100|")))
                   || (table == QLatin1String("UTENTI") && row.startsWith(QStringLiteral("1|")))
                   || (table == QLatin1String("TABQUADREL") && row.startsWith(QStringLiteral("1|")));
        },
        [](const QString &table, const QString &row) {
            const QStringList columns = row.split(QLatin1Char('|'));
            return table == QLatin1String("SEMAFORIF") && !columns.value(0).isEmpty() && columns.value(4) == QLatin1String("1");
        },
        "system screens");
}

TEST_F(HostileRows, ClosingOverOddCallLogAndPositionRows)
{
    TBaseMainForm &main = loggedIn();
    main.move(3, 4);
    main.EseguiFunzioneVoce(1, 15, 1);
    EXPECT_FALSE(main.isVisible()) << "closed by the built-in command";
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(app.queryUserText(QStringLiteral("SELECT COUNT(*) FROM MARTILOG WHERE CODICESESSIONE=1 AND "
                                               "DATACHIUSURA IS NOT NULL")),
              QStringLiteral("1"));
    const QRect frame = main.frameGeometry();
    EXPECT_EQ(app.queryUserRows(QStringLiteral("SELECT PosX,PosY,DimX,DimY FROM \"STOPOS1\" WHERE CodiceUtente=1")),
              QStringList{QStringLiteral("%1|%2|%3|%4").arg(frame.left()).arg(frame.top()).arg(frame.width()).arg(frame.height())});
    expectKept([](const QString &table, const QString &row) {
        return table == QLatin1String("STOPOS1") && row.startsWith(QStringLiteral("1|1|1|"));
    }, NothingChanges, "closing");
}

} // namespace
