#include "shell/BaseMain.h"

#include "archive/ArchiveLocator.h"
#include "data/ShortDate.h"
#include "data/TabX.h"
#include "db/SqlText.h"
#include "menu/HostServices.h"
#include "menu/LingueMenuReader.h"
#include "menu/NavigationBar.h"
#include "platform/ExecutableDirectory.h"
#include "platform/Logging.h"
#include "platform/NativeWindows.h"
#include "platform/Prompter.h"
#include "platform/ScreenSize.h"
#include "shell/Application.h"
#include "shell/SpinButton.h"
#include "widgets/ScreenScale.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace tg {

QString EdizioneProgramma;

namespace {

template <typename Widget>
Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

void setPointSize(QWidget *widget, int points)
{
    QFont font = widget->font();
    font.setPointSize(points);
    widget->setFont(font);
}

QLineEdit *passwordEdit(QWidget *parent, const char *name)
{
    auto *edit = named(new QLineEdit(parent), name);
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    return edit;
}

// A word-wrapped label whose lines must stay inside its height: its font is
// made smaller until they do.
void fitWrappedLabel(QLabel *label)
{
    QFont font = label->font();
    while (font.pointSizeF() > 6.0) {
        const QRect needed = QFontMetrics(font).boundingRect(QRect(0, 0, label->width(), 100000),
                                                             Qt::TextWordWrap, label->text());
        if (needed.height() <= label->height() && needed.width() <= label->width())
            break;
        font.setPointSizeF(std::max(6.0, font.pointSizeF() * 0.9));
    }
    label->setFont(font);
}

QLabel *functionKeyLabel(QWidget *parent, const char *name, const QString &caption)
{
    auto *label = named(new QLabel(caption, parent), name);
    QFont font = label->font();
    font.setPointSize(10);
    font.setBold(true);
    font.setUnderline(true);
    label->setFont(font);
    label->setEnabled(false);
    return label;
}

} // namespace

TBaseMainForm::TBaseMainForm(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("BaseMainForm"));
    setWindowTitle(QStringLiteral("Autenticazione"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    // Whether a plug-in window is still open is asked of the window system.
    registerWindowSystemLookUp();
    // A database whose dati.ini names no server asks for one in a dialog
    // owned by this window, also when a plug-in opens it; once the window is
    // gone the dialog has no owner.
    archive::installServerQuestion([window = QPointer<QWidget>(this)](QString &serverName, QString &driveLetter,
                                                                       const QString &directory) {
        ChiediServerArchivio(serverName, driveLetter, directory, window.data());
    });
    createControls();
    try {
        FormCreate();
    } catch (...) {
        // The remaining steps are skipped; the window still shows.
        reportUnhandledError(std::current_exception());
    }
}

TBaseMainForm::~TBaseMainForm()
{
    qApp->removeEventFilter(this);
    QueryAux.close();
    QueryAux2.close();
    QueryArchivio1.close();
    m_catalogue.release();
    TransazioneMain.endWithCommit();
    delete LingueMenu;
    if (PTabX) {
        if (HostServices::module() == PTabX->TabX)
            HostServices::install(nullptr);
        delete PTabX->TabX;
    }
}

void TBaseMainForm::createControls()
{
    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setCentralWidget(Panel1);
    auto *panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    NotebookMain = named(new QStackedWidget(Panel1), "NotebookMain");
    // Opaque: raised over the picture buttons, the login pages hide them.
    NotebookMain->setAutoFillBackground(true);
    panelLayout->addWidget(NotebookMain);
    createLoginPages();

    LabelCambioUtente = functionKeyLabel(Panel1, "LabelCambioUtente", QStringLiteral("F8 - Cambio Utente"));
    LabelCambioDitta = functionKeyLabel(Panel1, "LabelCambioDitta", QStringLiteral("F9 - Cambio Ditta"));
    MenuProgrammi = named(new NavigationBar(Panel1), "MenuProgrammi");
    MenuProgrammi->hide();
    createMenu();

    connect(ButtonOk, &QPushButton::clicked, this, reportingErrors([this] { ButtonOkClick(); }));
    connect(ButtonOK2, &QPushButton::clicked, this, reportingErrors([this] { ButtonOkClick(); }));
    connect(SpinButtonLista, &SpinButton::upClick, this, &TBaseMainForm::SpinButtonListaUpClick);
    connect(SpinButtonLista, &SpinButton::downClick, this, &TBaseMainForm::SpinButtonListaDownClick);
    connect(MenuProgrammi, &NavigationBar::groupClicked, this,
            reportingErrors([this](int programma) { ProgrammaOnClick(programma); }));
    connect(MenuProgrammi, &NavigationBar::linkClicked, this,
            reportingErrors([this](int programma, int menu) { VoceRapidaClick(programma, menu); }));
    qApp->installEventFilter(this);
}

void TBaseMainForm::createLoginPages()
{
    ModalitaDefault = named(new QWidget(NotebookMain), "ModalitaDefault");
    ModalitaLista = named(new QWidget(NotebookMain), "ModalitaLista");
    NotebookMain->addWidget(ModalitaDefault);
    NotebookMain->addWidget(ModalitaLista);

    // Default layout: a combo of users and one password field.
    PanelLogIn = named(new QFrame(ModalitaDefault), "PanelLogIn");
    Label1 = named(new QLabel(QStringLiteral("Selezionare l'utente e premere OK"), PanelLogIn), "Label1");
    Label1->setGeometry(8, 4, 204, 28);
    Label1->setWordWrap(true);
    ComboUtenti1 = named(new QComboBox(PanelLogIn), "ComboUtenti1");
    ComboUtenti1->setGeometry(8, 34, 204, 21);
    Label2 = named(new QLabel(QStringLiteral("Password"), PanelLogIn), "Label2");
    Label2->setGeometry(8, 62, 100, 14);
    EditPassword1 = passwordEdit(PanelLogIn, "EditPassword1");
    EditPassword1->setGeometry(8, 78, 204, 21);
    ButtonOk = named(new QPushButton(QStringLiteral("OK"), PanelLogIn), "ButtonOk");
    ButtonOk->setGeometry(75, 108, 75, 25);
    ButtonOk->setDefault(true);
    ButtonOk->setToolTip(QStringLiteral("Premere dopo\r\naver inserito i dati\r\nper l'autenticazione"));
    Label4 = named(new QLabel(QStringLiteral("22 10 2012"), PanelLogIn), "Label4");
    Label4->setGeometry(62, 138, 100, 13);
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setEnabled(false);
    setPointSize(Label4, 7);
    ButtonSceltaDisco = named(new QPushButton(QStringLiteral("Scelta disco"), PanelLogIn), "ButtonSceltaDisco");
    ButtonSceltaDisco->setFlat(true);
    ButtonSceltaDisco->setGeometry(8, 156, 100, 20);
    ButtonSceltaDisco->hide();

    // List layout: large list of users, password and arrows beside it.
    Label6 = named(new QLabel(QStringLiteral("Selezionare l'utente e premere OK"), ModalitaLista), "Label6");
    Label6->setWordWrap(true);
    setPointSize(Label6, 14);
    ListaUtenti2 = named(new QListWidget(ModalitaLista), "ListaUtenti2");
    setPointSize(ListaUtenti2, 18);
    Label5 = named(new QLabel(QStringLiteral("Password"), ModalitaLista), "Label5");
    setPointSize(Label5, 14);
    EditPassword2 = passwordEdit(ModalitaLista, "EditPassword2");
    setPointSize(EditPassword2, 18);
    SpinButtonLista = named(new SpinButton(ModalitaLista), "SpinButtonLista");
    ButtonOK2 = named(new QPushButton(QStringLiteral("OK"), ModalitaLista), "ButtonOK2");
    ButtonOK2->setDefault(true);
    ButtonSceltaDisco2 = named(new QPushButton(QStringLiteral("Scelta disco"), ModalitaLista), "ButtonSceltaDisco2");
    ButtonSceltaDisco2->setFlat(true);
}

void TBaseMainForm::createMenu()
{
    MenuPrincipale = named(new QMenuBar(this), "MenuPrincipale");
    setMenuBar(MenuPrincipale);
    // "Sistema" opens with Alt+S, its access key, and with F10, as long as
    // the menu bar shows it.
    N1 = named(MenuPrincipale->addMenu(QStringLiteral("&Sistema")), "N1");
    auto *openSystemMenu = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(openSystemMenu, &QShortcut::activated, this, [this] {
        if (MenuPrincipale->isVisible() && N1->menuAction()->isVisible())
            MenuPrincipale->setActiveAction(N1->menuAction());
    });
    Sessioni1 = named(N1->addAction(QStringLiteral("Sessioni")), "Sessioni1");
    Gestionesemafori1 = named(N1->addAction(QStringLiteral("Gestione semafori")), "Gestionesemafori1");
    Accessoaquadrel1 = named(N1->addAction(QStringLiteral("Accesso a quadrel")), "Accessoaquadrel1");
    N2 = named(N1->addSeparator(), "N2");
    Esci1 = named(N1->addAction(QStringLiteral("Esci")), "Esci1");
    for (QAction *action : {Sessioni1, Gestionesemafori1, Accessoaquadrel1})
        action->setEnabled(false);
    connect(Esci1, &QAction::triggered, this, reportingErrors([this] { Esci1Click(); }));
    connect(Sessioni1, &QAction::triggered, this, reportingErrors([this] { Sessioni1Click(); }));
    connect(Gestionesemafori1, &QAction::triggered, this, reportingErrors([this] { Gestionesemafori1Click(); }));
    connect(Accessoaquadrel1, &QAction::triggered, this, reportingErrors([this] { Accessoaquadrel1Click(); }));
}

void TBaseMainForm::FormCreate()
{
    setShortDateFormat(QStringLiteral("dd/MM/yyyy"));
    PTabX = std::make_unique<TabXHolder>();
    PTabX->TabX = new TTabXForm(this, 0);
    HostServices::install(PTabX->TabX);
    PTabX->TabX->Avvia();
    PTabX->TabX->setMainWindowHandle(static_cast<qint64>(winId()));
    LogFinestre = true;
    startMainTransaction();
    recordArchiveParameter();
    checkGraphicsDirectory();
    MantieniStdMin = false;
    UtenteCollegato = false;
    // The module read the schema's optional columns as it started.
    const QSet<QString> &columns = PTabX->TabX->optionalSchema();
    fillUserLists(columns.contains(QStringLiteral("UTENTI.UTENTEINATTIVO")));
    // The call log tracks windows only with both window columns.
    if (!columns.contains(QStringLiteral("MARTILOGFUNZ.HANDLEFINESTRA"))
        || !columns.contains(QStringLiteral("MARTILOGFUNZ.IDFINESTRA")))
        LogFinestre = false;
    chooseLoginPage();
    Edizione = EdizioneProgramma;
    layoutForSmallScreen();
    LingueMenu = new TLingueMenuReader(this, &PTabX->TabX->IBDatabaseUser);
    focusUserChoice();
}

void TBaseMainForm::startMainTransaction()
{
    db::Database &userDatabase = PTabX->TabX->IBDatabaseUser;
    if (TransazioneMain.active())
        TransazioneMain.commit();
    TransazioneMain.setDefaultDatabase(&userDatabase);
    TransazioneMain.params().clear();
    TransazioneMain.params() << QStringLiteral("isc_tpb_concurrency") << QStringLiteral("isc_tpb_nowait");
    TransazioneMain.start();
    for (db::Query *query : {&QueryAux, &QueryAux2}) {
        query->setDatabase(&userDatabase);
        query->setTransaction(&TransazioneMain);
    }
}

void TBaseMainForm::recordArchiveParameter()
{
    TTabXForm *tabX = PTabX->TabX;
    QString archive;
    tabX->CaricaParametro(QStringLiteral("Archivio"), archive);
    tabX->Inserisci(QStringLiteral("VRT"), QStringLiteral("Archivio"), QString(), archive, QString(), QString(),
                    QString(), QString(), QString::number(tabX->GetNumUser()));
}

void TBaseMainForm::checkGraphicsDirectory()
{
    if (!QDir(ExecutableDirectory::path() + QStringLiteral("Grafica")).exists())
        showMessage(MessageKind::Warning, QStringLiteral("Directory \"Grafica\" mancante"));
}

void TBaseMainForm::fillUserLists(bool hasInactiveFlag)
{
    QueryAux.sql().clear();
    QueryAux.sql() << QStringLiteral("SELECT NOMEUTENTE,INFO1 FROM UTENTI");
    if (hasInactiveFlag)
        QueryAux.sql() << QStringLiteral("WHERE (UTENTEINATTIVO IS NULL)OR(UTENTEINATTIVO='0')");
    QueryAux.sql() << QStringLiteral("ORDER BY CODICE");
    QueryAux.open();
    QueryAux.fetchAll();
    for (; !QueryAux.eof(); QueryAux.next()) {
        const QString info1 = QueryAux.field(1).asText();
        if (!info1.isEmpty() && info1 != QLatin1String("TERM"))
            continue; // a user of another kind of workstation
        const QString name = QueryAux.field(0).asText();
        ComboUtenti1->addItem(name);
        ListaUtenti2->addItem(name);
    }
    QueryAux.close();
    if (ListaUtenti2->count() > 0)
        ListaUtenti2->setCurrentRow(0);
    ComboUtenti1->setCurrentIndex(-1);
}

void TBaseMainForm::chooseLoginPage()
{
    NotebookMain->setCurrentWidget(ModalitaDefault);
    try {
        if (ValoreTabX(QStringLiteral("InterfacciaAccesso"), false) == QLatin1String("1"))
            NotebookMain->setCurrentWidget(ModalitaLista);
    } catch (const std::exception &error) {
        // No TABX, no value or no database: the default layout stays.
        qCWarning(lcShell).noquote() << "Reading the login page layout failed, the default one stays:"
                                     << QString::fromUtf8(error.what());
    }
}

QString TBaseMainForm::ValoreTabX(const QString &name, bool perUser)
{
    QueryAux.close();
    QueryAux.sql().clear();
    QueryAux.sql() << QStringLiteral("SELECT TESTO FROM TABX")
                   << QStringLiteral("WHERE (NOME='") + db::quotedValue(name) + QStringLiteral("')");
    if (perUser)
        QueryAux.sql() << QStringLiteral("AND(UTENTE='%1')").arg(PTabX->TabX->GetNumUser());
    QueryAux.open();
    return QueryAux.eof() ? QString() : QueryAux.field(0).asText();
}

void TBaseMainForm::layoutForSmallScreen()
{
    // The password fields carry a style sheet (their masking character),
    // which keeps them from following the window's font: they get one of
    // their own, as large as the list layout's, and scale with the rest.
    setPointSize(EditPassword1, 10);
    PanelLogIn->setGeometry(1, 20, 220, PanelLogIn->height());
    ButtonOk->move(75, ButtonOk->y());
    Label4->move(62, Label4->y());
    ListaUtenti2->setGeometry(1, 30, 110, 200);
    setPointSize(ListaUtenti2, 10);
    // The prompt's lines start at its top: the list below begins at 30.
    Label6->setGeometry(1, 2, 110, 35);
    Label6->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setPointSize(Label6, 8);
    Label5->move(115, 2);
    Label5->adjustSize();
    setPointSize(Label5, 8);
    ButtonSceltaDisco2->hide();
    // Clear of the arrows at 60.
    EditPassword2->setGeometry(115, 30, 100, 24);
    setPointSize(EditPassword2, 10);
    SpinButtonLista->setGeometry(115, 60, 100, 110);
    ButtonOK2->setGeometry(115, 180, 100, 50);
    setPointSize(ButtonOK2, 10);
    move(0, 0);
    resize(ScreenScale::DesignedWidth, ScreenScale::DesignedHeight);
    LabelCambioDitta->hide();
    LabelCambioUtente->hide();
    MenuProgrammi->setMaxVisibleGroups(0);
    placeNavigationBar();
    // The login panel takes the size of its content, then fills its page
    // (anchored left-top: its controls keep their places when it grows).
    PanelLogIn->adjustSize();
    auto *pageLayout = new QVBoxLayout(ModalitaDefault);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(PanelLogIn);

    const ScreenScale scale = ScreenScale::forScreen(ScreenSize::current());
    scaleToScreen(scale);
    MenuProgrammi->setEntryPointSize(scale.entryPointSize);
}

void TBaseMainForm::scaleToScreen(const ScreenScale &scale)
{
    // Positions, sizes and fonts grow by M/100: every control of the form,
    // then the window itself (whose font the controls without one inherit).
    const QList<QWidget *> controls = {
        PanelLogIn, Label1, ComboUtenti1, Label2, EditPassword1, ButtonOk, Label4, ButtonSceltaDisco,
        Label6, ListaUtenti2, Label5, EditPassword2, SpinButtonLista, ButtonOK2, ButtonSceltaDisco2,
        LabelCambioUtente, LabelCambioDitta};
    for (QWidget *control : controls) {
        const QRect geometry = control->geometry();
        control->setGeometry(scale.scaled(geometry.x()), scale.scaled(geometry.y()),
                             scale.scaled(geometry.width()), scale.scaled(geometry.height()));
        if (control->testAttribute(Qt::WA_SetFont)) {
            QFont font = control->font();
            font.setPointSizeF(font.pointSizeF() * scale.percent / 100.0);
            control->setFont(font);
        }
    }
    QFont windowFont = font();
    windowFont.setPointSizeF(windowFont.pointSizeF() * scale.percent / 100.0);
    setFont(windowFont);
    // One text size for the whole program: message boxes, menus, dialogs
    // and the plug-ins' windows take the window's scaled font.
    QApplication::setFont(windowFont);
    // A platform theme may have fonts of its own for these kinds.
    for (const char *kind : {"QMenu", "QMessageBox"})
        QApplication::setFont(windowFont, kind);
    fitWrappedLabel(Label6);
    // The designed size is the window's outer size, frame included.
    setOuterGeometry(*this, QRect(ScreenSize::origin(), QSize(scale.scaled(ScreenScale::DesignedWidth),
                                                              scale.scaled(ScreenScale::DesignedHeight))));
    placeNavigationBar();
}

void TBaseMainForm::placeNavigationBar()
{
    // Anchored left, top and right: as wide as the window, as high as its
    // client area.
    MenuProgrammi->setGeometry(0, 0, width(), Panel1->height());
}

void TBaseMainForm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    placeNavigationBar();
}

} // namespace tg
