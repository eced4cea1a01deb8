// The demo suite that `taskgate-setup --demo` writes: users, their parameter
// sets, profiles, two projects (one with a navigation bar of six programs,
// one with picture buttons), menu trees and their translations, and the
// critical windows of the company archives. This file holds the data and
// turns it into rows; SuiteSetup.cpp writes them. The functions named here
// are exported by the demo plug-ins in plugins/.

#include "SuiteSetup.h"

#include <QDir>
#include <QHash>
#include <algorithm>
#include <optional>
#include <vector>

namespace tg::setup {

namespace {

// ---------------------------------------------------------------- companies

struct CompanyDef {
    const char *name;
    const char *archive; // file name in <application directory>/archivi/
};

// The last one is a company no longer worked on: its section carries the
// inactive marker, so the company lists leave it out.
constexpr CompanyDef kCompanies[] = {
    {"ROSSI SPA", "rossi.fdb"},
    {"BIANCHI SRL", "bianchi.fdb"},
    {"VERDI SNC", "verdi.fdb"},
    {"VECCHIA SRL <INATTIVA>", "vecchia.fdb"},
};

// ----------------------------------------------------------------- profiles

constexpr int kAdministrator = 1;
constexpr int kClerk = 2;
constexpr int kReadOnly = 3;

struct ProfileDef {
    int code;
    int defaultLevel;
};

constexpr ProfileDef kProfiles[] = {{kAdministrator, 9}, {kClerk, 5}, {kReadOnly, 1}};

struct ProfileLevelDef {
    int profile;
    int program;
    int menu;
    int level;
};

// Levels per menu entry; the front-end reads none of them, the plug-ins may.
constexpr ProfileLevelDef kProfileLevels[] = {
    {kClerk, 5, 300, 0},    // payslips
    {kReadOnly, 1, 200, 0}, // journal entries
    {kReadOnly, 2, 200, 0}, // stock movements
    {kReadOnly, 3, 100, 1}, // sales documents: look only
};

// ----------------------------------------------------------------- programs

constexpr int kEnglish = 2;
constexpr int kGerman = 3;

enum EntryFlag {
    Quick = 1,       // also a quick entry of the program's group
    Hidden = 2,      // VISIBILE '0': left out of the menu tree
    SecondLevel = 4, // LIVELLO2VERSIONE '1'
};

// One DETTMENU row. Parents come before their children; the depth follows
// from the parent. A null translation writes no LINGUEMENU row, an empty
// one writes a row without text (the second language then fills in).
struct MenuDef {
    int menu;
    int parent; // 0: top level
    int flags;
    const char *caption;
    const char *english;
    const char *german;
    const char *dll = nullptr;
    const char *function = nullptr;
    const char *parameters = nullptr;
};

constexpr MenuDef separator(int menu, int parent)
{
    return {menu, parent, 0, "-", nullptr, nullptr};
}

struct ProgramDef {
    int code;
    const char *icon; // file name in Grafica/
    const char *caption;
    std::vector<MenuDef> menu;
};

// Menu numbers follow the tree (100, 110, 111...), so siblings sort in the
// order given; no separator takes 1 or 2, the names of the system menu's own
// elements.
const std::vector<ProgramDef> kPrograms{
    {1, "contabilita.ico", "Contabilità",
     {
         {100, 0, 0, "Anagrafiche", "Master data", "Stammdaten"},
         {110, 100, Quick, "Piano dei conti", "Chart of accounts", "Kontenplan", "democontabilita.dll",
          "ApriPianoConti"},
         {120, 100, Quick, "Clienti", "Customers", "Kunden", "demoanagrafiche.dll", "ApriClientiX"},
         {130, 100, 0, "Fornitori", "", "Lieferanten", "demoanagrafiche.dll", "ApriFornitoriX"},
         {200, 0, 0, "Movimenti", "Transactions", "Buchungen"},
         {210, 200, Quick, "Prima nota", "Journal", "Journal", "democontabilita.dll", "ApriPrimaNotaX"},
         separator(220, 200),
         {230, 200, 0, "Registri IVA", "VAT registers", "MwSt-Register"},
         {231, 230, SecondLevel, "Registro vendite", "Sales register", "Ausgangsregister", "democontabilita.dll",
          "StampaRegistroX", "REGISTRO=VENDITE\nANNO=CORRENTE"},
         {232, 230, SecondLevel, "Registro acquisti", "Purchase register", "Eingangsregister",
          "democontabilita.dll", "StampaRegistroX", "REGISTRO=ACQUISTI\nANNO=CORRENTE"},
         {300, 0, 0, "Stampe", "Reports", "Berichte"},
         {310, 300, Quick, "Bilancio di verifica", "Trial balance", "Summen- und Saldenliste",
          "democontabilita.dll", "StampaBilancio"},
         {320, 300, 0, "Stampante: <LINEA>STAMPANTE</LINEA> (locale)", "Printer: <LINEA>STAMPANTE</LINEA> (local)",
          "Drucker: <LINEA>STAMPANTE</LINEA> (lokal)", "demosistema.dll", "ScegliStampante"},
         separator(330, 300),
         {340, 300, Hidden, "Chiusura esercizio", "Year-end closing", "Jahresabschluss", "democontabilita.dll",
          "ChiusuraEsercizioX"},
         {400, 0, Quick, "Scadenzario", "Due dates", "Fälligkeiten", "democontabilita.dll", "ApriScadenzarioX"},
     }},
    {2, "magazzino.ico", "Magazzino",
     {
         {100, 0, 0, "Anagrafiche", "Master data", "Stammdaten"},
         {110, 100, Quick, "Articoli", "Items", "Artikel", "demomagazzino.dll", "ApriArticoliX"},
         {120, 100, 0, "Depositi", "Warehouses", "Lager", "demomagazzino.dll", "ApriDepositiX"},
         {200, 0, 0, "Movimenti", "Movements", "Bewegungen"},
         {210, 200, Quick, "Carichi", "Receipts", "Zugänge", "demomagazzino.dll", "ApriCarichiX"},
         {220, 200, Quick, "Scarichi", "Issues", "Abgänge", "demomagazzino.dll", "ApriScarichiX"},
         separator(230, 200),
         {240, 200, 0, "Inventario", "Stocktaking", "Inventur"},
         {241, 240, SecondLevel, "Rilevazione", "Count", "Zählung", "demomagazzino.dll", "ApriInventarioX",
          "MODO=RILEVAZIONE"},
         {242, 240, 0, "Rettifiche", "Adjustments", "Korrekturen", "demomagazzino.dll", "ApriRettificheX"},
         {300, 0, Quick, "Giacenze", "Stock on hand", "Bestand", "demomagazzino.dll", "StampaGiacenze"},
     }},
    {3, "vendite.ico", "Vendite",
     {
         {100, 0, 0, "Documenti", "Documents", "Belege"},
         {110, 100, Quick, "Preventivi", "Quotations", "Angebote", "demovendite.dll", "ApriPreventiviX"},
         {120, 100, Quick, "Ordini clienti", "Sales orders", "Kundenaufträge", "demovendite.dll", "ApriOrdiniX"},
         {130, 100, Quick, "Fatture", "Invoices", "Rechnungen", "demovendite.dll", "ApriFattureX"},
         {200, 0, 0, "Clienti", "Customers", "Kunden", "demoanagrafiche.dll", "ApriClientiX"},
         {300, 0, 0, "Statistiche", "Statistics", "Statistiken"},
         {310, 300, 0, "Venduto per cliente", "Sales by customer", "Umsatz nach Kunde", "demovendite.dll",
          "StatisticheY", "RAGGRUPPA=CLIENTE"},
         {320, 300, 0, "Venduto per articolo", "Sales by item", "Umsatz nach Artikel", "demovendite.dll",
          "StatisticheY", "RAGGRUPPA=ARTICOLO"},
     }},
    // Acquisti and Personale have no English captions: a user whose first
    // language is English sees them in the second language, or as stored.
    {4, "acquisti.ico", "Acquisti",
     {
         {100, 0, Quick, "Ordini fornitori", nullptr, "Bestellungen", "demoacquisti.dll", "ApriOrdiniFornitoriX"},
         {200, 0, 0, "Documenti", nullptr, "Belege"},
         {210, 200, 0, "Richieste d'offerta", nullptr, "Angebotsanfragen", "demoacquisti.dll", "ApriRichiesteX"},
         {220, 200, Quick, "DDT di carico", nullptr, "Lieferscheine", "demoacquisti.dll", "ApriDdtX"},
         {230, 200, 0, "Fatture fornitori", nullptr, "Eingangsrechnungen", "demoacquisti.dll",
          "ApriFattureFornitoriX"},
         {300, 0, 0, "Fornitori", nullptr, "Lieferanten", "demoanagrafiche.dll", "ApriFornitoriX"},
     }},
    {5, "personale.ico", "Personale",
     {
         {100, 0, Quick, "Dipendenti", nullptr, "Mitarbeiter", "demopersonale.dll", "ApriDipendentiX"},
         {200, 0, 0, "Presenze", nullptr, "Anwesenheit"},
         {210, 200, Quick, "Rilevazione presenze", nullptr, "Zeiterfassung", "demopersonale.dll", "ApriPresenzeX"},
         {220, 200, 0, "Ferie e permessi", nullptr, "Urlaub", "demopersonale.dll", "ApriFerieX"},
         // Still a quick entry while out of the menu tree.
         {300, 0, Quick | Hidden, "Cedolini", nullptr, "Lohnabrechnungen", "demopersonale.dll", "StampaCedoliniY",
          "MESE=CORRENTE"},
     }},
    // The front-end's own commands need no library.
    {6, "sistema.ico", "Sistema",
     {
         {100, 0, 0, "Utente e ditta", "User and company", "Benutzer und Firma"},
         {110, 100, Quick, "Cambio utente", "Change user", "Benutzer wechseln", nullptr, "CAMBIOUTENTE"},
         {120, 100, Quick, "Cambio ditta", "Change company", "Firma wechseln", nullptr, "CAMBIODITTA"},
         {200, 0, 0, "Strumenti", "Tools", "Werkzeuge"},
         {210, 200, 0, "Opzioni", "Options", "Optionen", "demosistema.dll", "ApriOpzioniX"},
         {215, 200, Quick, "Valori dell'archivio", "Archive values", "Archivwerte", "demoinserimento.dll",
          "ApriInserimentoX"},
         separator(220, 200),
         {230, 200, Quick, "Chiudi", "Exit", "Beenden", nullptr, "CHIUDI"},
     }},
};

// ----------------------------------------------------------------- projects

constexpr int kMenuProject = 1;   // navigation bar with the programs
constexpr int kButtonProject = 2; // picture buttons

struct ProjectDef {
    int code;
    std::optional<int> systemMenuMode; // MODOMENUSISTEMA; both leave the system menu as it is
    std::vector<int> programs;
};

// The button project keeps one program, so that the login finds a group
// whose menu it loads.
const std::vector<ProjectDef> kProjects{
    {kMenuProject, 0, {1, 2, 3, 4, 5, 6}},
    {kButtonProject, std::nullopt, {6}},
};

struct ButtonDef {
    int id;
    bool visible;
    const char *caption;
    const char *image; // bitmap in Grafica/
    const char *dll;
    const char *function;
    bool secondLevel = false;
    const char *parameters = nullptr;
};

// Laid out in two columns of 200x120 buttons, in the order given, so that
// they fit the small-screen main window (230x300, shown twice as large).
constexpr int kButtonWidth = 200;
constexpr int kButtonHeight = 120;
constexpr int kButtonMargin = 10;
constexpr int kButtonColumns = 2;

const std::vector<ButtonDef> kButtons{
    {1, true, "Clienti", "clienti.bmp", "demoanagrafiche.dll", "ApriClientiX"},
    {2, true, "Articoli", "articoli.bmp", "demomagazzino.dll", "ApriArticoliX"},
    // A second-level button: the orders window filtered by its parameters,
    // an entry point of its own since the menu's ApriOrdiniX takes no text.
    {3, true, "Ordini", "ordini.bmp", "demovendite.dll", "ApriOrdiniApertiX", true, "STATO=APERTI"},
    {4, true, "Fatture", "fatture.bmp", "demovendite.dll", "ApriFattureX"},
    {5, true, "Cambio utente", "cambioutente.bmp", nullptr, "CAMBIOUTENTE"},
    {6, true, "Esci", "esci.bmp", nullptr, "CHIUDI"},
    {7, false, "Statistiche", "statistiche.bmp", "demovendite.dll", "StatisticheY", false, "RAGGRUPPA=CLIENTE"},
};

// --------------------------------------------------------- critical windows

// Rows of every demo archive. Orders and invoices exclude each other (an
// invoice is drawn from the orders); the journal is under special watch, so
// that it opens once at a time, and excludes the due-date schedule and the
// other way round.
struct CriticalDef {
    const char *dll;
    const char *form;
    bool specialWatch; // OSSERVATASPECIALE 1
};

constexpr CriticalDef kCriticalWindows[] = {
    {"demovendite.dll", "ApriOrdiniX", false},
    {"demovendite.dll", "ApriOrdiniApertiX", false},
    {"demovendite.dll", "ApriFattureX", false},
    {"democontabilita.dll", "ApriPrimaNotaX", true},
    {"democontabilita.dll", "ApriScadenzarioX", false},
};

// A critical window (first pair) is refused while the linked one (second
// pair) holds a taken semaphore.
struct CriticalLinkDef {
    const char *dll;
    const char *form;
    const char *linkedDll;
    const char *linkedForm;
};

constexpr CriticalLinkDef kCriticalLinks[] = {
    {"demovendite.dll", "ApriFattureX", "demovendite.dll", "ApriOrdiniX"},
    {"demovendite.dll", "ApriFattureX", "demovendite.dll", "ApriOrdiniApertiX"},
    {"demovendite.dll", "ApriOrdiniX", "demovendite.dll", "ApriFattureX"},
    {"demovendite.dll", "ApriOrdiniApertiX", "demovendite.dll", "ApriFattureX"},
    {"democontabilita.dll", "ApriPrimaNotaX", "democontabilita.dll", "ApriScadenzarioX"},
    {"democontabilita.dll", "ApriScadenzarioX", "democontabilita.dll", "ApriPrimaNotaX"},
};

// -------------------------------------------------------------------- users

struct Parameter {
    const char *name;
    const char *value;
};

// A company section: "Archivio" first, then the further parameters.
struct SectionDef {
    const char *company;
    std::vector<Parameter> parameters;
};

struct UserDef {
    int code;
    const char *name;
    const char *password; // nullptr: none
    const char *info1;    // workstation mark; nullptr: NULL
    bool inactive;
    bool editsParameters; // ACCESSOQUADREL
    int profile;
    int project;
    int language1; // 0: none
    int language2;
    const char *company;              // the company last worked on
    std::vector<SectionDef> sections; // in the order they were added
};

// STAMPANTE fills the "<LINEA>" caption of the accounting reports menu.
// UFFICIO's mark is neither empty nor TERM and LUCA is inactive: the login
// offers neither.
const std::vector<UserDef> kUsers{
    {1, "ADMIN", nullptr, nullptr, false, true, kAdministrator, kMenuProject, 0, 0, "ROSSI SPA",
     {{"ROSSI SPA", {{"STAMPANTE", "LPT1"}}}, {"BIANCHI SRL", {}}, {"VERDI SNC", {}}}},
    {2, "MARIO", "mario", "TERM", false, false, kClerk, kMenuProject, 0, 0, "ROSSI SPA",
     {{"ROSSI SPA", {{"STAMPANTE", "LPT1"}}},
      {"VECCHIA SRL <INATTIVA>", {}},
      {"BIANCHI SRL", {{"STAMPANTE", "\\\\SERVER\\LASER"}}}}},
    {3, "ANNA", nullptr, "", false, false, kReadOnly, kButtonProject, 0, 0, "VERDI SNC",
     {{"VERDI SNC", {}}, {"BIANCHI SRL", {}}}},
    {4, "UFFICIO", "ufficio", "PC", false, false, kClerk, kMenuProject, 0, 0, "BIANCHI SRL",
     {{"BIANCHI SRL", {}}, {"ROSSI SPA", {}}}},
    {5, "JOHN", nullptr, "TERM", false, false, kClerk, kMenuProject, kEnglish, 0, "ROSSI SPA",
     {{"ROSSI SPA", {{"STAMPANTE", "LPT2"}}}, {"VERDI SNC", {}}}},
    {6, "HANS", "hans", nullptr, false, false, kClerk, kMenuProject, kEnglish, kGerman, "BIANCHI SRL",
     {{"BIANCHI SRL", {}}, {"VERDI SNC", {}}, {"ROSSI SPA", {}}}},
    {7, "LUCA", "luca", nullptr, true, false, kClerk, kMenuProject, 0, 0, "VERDI SNC",
     {{"VERDI SNC", {}}, {"VECCHIA SRL <INATTIVA>", {}}}},
};

// ------------------------------------------------------------ row building

QVariant text(const char *value)
{
    return value ? QVariant(QString::fromUtf8(value)) : QVariant();
}

QVariant flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// A menu language; 0, no language, is NULL.
QVariant language(int value)
{
    return value != 0 ? QVariant(value) : QVariant();
}

class RowList {
public:
    void add(const QString &table, const QStringList &columns, const QVariantList &values)
    {
        Q_ASSERT(columns.size() == values.size());
        m_rows.append({table, columns, values});
    }
    QList<DemoRow> take() { return std::move(m_rows); }

private:
    QList<DemoRow> m_rows;
};

struct ParameterRow {
    QString section;
    QString name;
    QString value;
    int position;
};

// A user's TABQUADREL rows, numbered in the order they were added. Sections
// of companies without an archive are left out.
std::vector<ParameterRow> parameterRows(const UserDef &user, const QHash<QString, QString> &archives)
{
    std::vector<ParameterRow> rows;
    for (const SectionDef &section : user.sections) {
        const QString company = QString::fromUtf8(section.company);
        if (!archives.contains(company))
            continue;
        rows.push_back({company, QStringLiteral("Archivio"), archives.value(company), int(rows.size()) + 1});
        for (const Parameter &parameter : section.parameters)
            rows.push_back({company, QString::fromUtf8(parameter.name), QString::fromUtf8(parameter.value),
                            int(rows.size()) + 1});
    }
    return rows;
}

// The parameter set as text, the form the front-end keeps in
// UTENTI.QUADREL: sections sorted by name, each opened by "[section]",
// its rows by position as "name=value", every line ended by a line feed.
QString parameterText(std::vector<ParameterRow> rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const ParameterRow &a, const ParameterRow &b) {
        return a.section != b.section ? a.section < b.section : a.position < b.position;
    });
    QString text;
    QString header;
    for (const ParameterRow &row : rows) {
        if (row.section != header) {
            header = row.section;
            text += QLatin1Char('[') + header + QStringLiteral("]\n");
        }
        text += row.name + QLatin1Char('=') + row.value + QLatin1Char('\n');
    }
    return text;
}

void addUsers(RowList &rows, const QList<DemoCompany> &companies)
{
    QHash<QString, QString> archives;
    for (const DemoCompany &company : companies)
        archives.insert(company.name, company.archivePath);

    for (const UserDef &user : kUsers) {
        const std::vector<ParameterRow> parameters = parameterRows(user, archives);
        const QString quadrel = parameterText(parameters);
        const bool hasCompany = archives.contains(QString::fromUtf8(user.company));
        rows.add(QStringLiteral("UTENTI"),
                 {"CODICE", "NOMEUTENTE", "PWDUTENTE", "DITTA", "PROFILOSICUREZZA", "PROGETTO", "MANTIENISTDMIN",
                  "ACCESSOQUADREL", "QUADREL", "INFO1", "UTENTEINATTIVO", "LINGUA1", "LINGUA2"},
                 {user.code, text(user.name), text(user.password), hasCompany ? text(user.company) : QVariant(),
                  user.profile, user.project, flag(false), flag(user.editsParameters),
                  quadrel.isEmpty() ? QVariant() : QVariant(quadrel), text(user.info1), flag(user.inactive),
                  language(user.language1), language(user.language2)});
        for (const ParameterRow &parameter : parameters)
            rows.add(QStringLiteral("TABQUADREL"), {"UTENTE", "INTESTAZIONE", "PARAMETRO", "VALORE", "PROGRESSIVO"},
                     {user.code, parameter.section, parameter.name, parameter.value, parameter.position});
    }
}

void addProfiles(RowList &rows)
{
    for (const ProfileDef &profile : kProfiles)
        rows.add(QStringLiteral("PROFILI"), {"CODICE", "LIVELLOPREDEFINITO"}, {profile.code, profile.defaultLevel});
    for (const ProfileLevelDef &level : kProfileLevels)
        rows.add(QStringLiteral("DETTPROF"), {"PROFILO", "PROGRAMMA", "MENU", "LIVELLO"},
                 {level.profile, level.program, level.menu, level.level});
}

void addTranslation(RowList &rows, int program, int menu, int language, const char *caption)
{
    if (caption)
        rows.add(QStringLiteral("LINGUEMENU"), {"PROGRAMMA", "MENU", "LINGUA", "DESCRIZIONE"},
                 {program, menu, language, text(caption)});
}

void addProgram(RowList &rows, const ProgramDef &program)
{
    rows.add(QStringLiteral("PROGRAMMI"), {"CODICE", "ICONA", "DESCRIZIONE"},
             {program.code, text(program.icon), text(program.caption)});
    QHash<int, int> depth; // menu -> LIVELLOMENU
    for (const MenuDef &entry : program.menu) {
        const bool top = entry.parent == 0;
        const int level = top ? 0 : depth.value(entry.parent) + 1;
        depth.insert(entry.menu, level);
        rows.add(QStringLiteral("DETTMENU"),
                 {"PROGRAMMA", "MENU", "MENUPREC", "LIVELLOMENU", "VISIBILE", "DESCRIZIONE", "VOCERAPIDA", "DLL",
                  "FUNZIONE", "LIVELLO2VERSIONE", "PARAMETRIBLOB"},
                 {program.code, entry.menu, top ? QVariant() : QVariant(entry.parent), level,
                  flag(!(entry.flags & Hidden)), text(entry.caption), flag(entry.flags & Quick), text(entry.dll),
                  text(entry.function), flag(entry.flags & SecondLevel), text(entry.parameters)});
        addTranslation(rows, program.code, entry.menu, kEnglish, entry.english);
        addTranslation(rows, program.code, entry.menu, kGerman, entry.german);
    }
}

void addCatalogue(RowList &rows)
{
    for (const ProjectDef &project : kProjects) {
        rows.add(QStringLiteral("PROGETTI"), {"CODICE", "MODOMENUSISTEMA"},
                 {project.code, project.systemMenuMode ? QVariant(*project.systemMenuMode) : QVariant()});
        for (int program : project.programs)
            rows.add(QStringLiteral("DETTPROGETTI"), {"PROGETTO", "PROGRAMMA"}, {project.code, program});
    }
    for (const ProgramDef &program : kPrograms)
        addProgram(rows, program);

    int cell = 0;
    for (const ButtonDef &button : kButtons) {
        const int x = kButtonMargin + (cell % kButtonColumns) * (kButtonWidth + 2 * kButtonMargin);
        const int y = kButtonMargin + (cell / kButtonColumns) * (kButtonHeight + kButtonMargin);
        ++cell;
        rows.add(QStringLiteral("PULSANTONI"),
                 {"ID", "PROGETTO", "VISIBILE", "POS_X", "POS_Y", "LARGHEZZA", "ALTEZZA", "NOME", "NOMEIMMAGINE",
                  "DLL", "FUNZIONE", "LIVELLO2VERSIONE", "PARAMETRIBLOB"},
                 {button.id, kButtonProject, flag(button.visible), x, y, kButtonWidth, kButtonHeight,
                  text(button.caption), text(button.image), text(button.dll), text(button.function),
                  flag(button.secondLevel), text(button.parameters)});
    }
}

} // namespace

QList<DemoRow> demoArchiveRows()
{
    RowList rows;
    for (const CriticalDef &window : kCriticalWindows)
        rows.add(QStringLiteral("SEMAFORIFCRITICHE"), {"DLL", "FORM", "OSSERVATASPECIALE"},
                 {text(window.dll), text(window.form), window.specialWatch ? 1 : 0});
    for (const CriticalLinkDef &link : kCriticalLinks)
        rows.add(QStringLiteral("SEMAFORIFCRITICHECOLL"), {"DLLPRIN", "FORMPRIN", "DLLCOLLEGATA", "FORMCOLLEGATA"},
                 {text(link.dll), text(link.form), text(link.linkedDll), text(link.linkedForm)});
    return rows.take();
}

QList<DemoCompany> demoCompanies(const QString &applicationDirectory)
{
    const QDir directory(QDir(applicationDirectory).absoluteFilePath(QStringLiteral("archivi")));
    QList<DemoCompany> companies;
    for (const CompanyDef &company : kCompanies)
        companies.append({QString::fromUtf8(company.name),
                          directory.absoluteFilePath(QString::fromUtf8(company.archive))});
    return companies;
}

QList<DemoRow> demoSuiteRows(const QList<DemoCompany> &companies)
{
    RowList rows;
    addUsers(rows, companies);
    addProfiles(rows);
    addCatalogue(rows);
    return rows.take();
}

} // namespace tg::setup
