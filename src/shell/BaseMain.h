#pragma once

#include "data/TabXHolder.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "menu/CatalogueModel.h"
#include "sessions/WorkSessions.h"
#include "shell/ClosingSteps.h"
#include "shell/FunctionDispatcher.h"

#include <QMainWindow>
#include <QPointer>
#include <QVector>
#include <memory>
#include <optional>

class QAction;
class QToolButton;
class QComboBox;
class QKeyEvent;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QStackedWidget;

namespace tg {

class CompanyChange;
class LoginSteps;
class NavigationBar;
class SpinButton;
class TInizForm;
class TLingueMenuReader;
class TTabXForm;
struct ScreenScale;

// The program-wide edition string, set by the program entry before any
// window exists.
extern QString EdizioneProgramma;

// The main window: the login pages, the navigation bar and the system menu.
class TBaseMainForm : public QMainWindow, private DispatchHost, private ClosingHost {
    Q_OBJECT

public:
    explicit TBaseMainForm(QWidget *parent = nullptr);
    ~TBaseMainForm() override;

    // The text of the TABX row of the user database with this name (and of
    // the current user when perUser), or empty when there is none.
    QString ValoreTabX(const QString &name, bool perUser);

    // Login.
    void ButtonOkClick();
    QString GetNomeUtente() const;
    QString GetPassword() const;
    void SetPassword(const QString &text);
    void SpinButtonListaUpClick();
    void SpinButtonListaDownClick();

    // Catalogue: navigation bar, picture buttons, menu tree, system menu.
    void CaricaProgrammi();
    void CaricaMenu(int programma);
    bool CercaFigli(int programma, int menu, int livello);
    void CreaVoci(int programma, int menu, QMenu *parent, int livello);
    QString GetVoce(const QString &descrizione, int programma, int menu);
    void CheckMenuSistema();
    void ProgrammaOnClick(int programma);
    // The program whose menu tree the main menu holds.
    int menuProgram() const { return m_menuProgram; }
    // The directory of icons and bitmaps, ending with a separator.
    static QString pictureDirectory();

    // Company change, and the current company recorded before each call.
    void CambioDitta();
    bool AggiornaDittaUtente(int userNumber, const QString &company);
    // The return to the login page.
    void CambioUtente();

    // Plug-in calls (each in its calling form) and dispatch.
    virtual void CaricaFunzioneDLL(const QString &dll, const QString &funzione);
    virtual void CaricaFunzioneDLL2(const QString &dll, const QString &funzione, const QString &parametri);
    virtual void CaricaFunzioneDLLX(const QString &dll, const QString &funzione, int idFinestra);
    virtual void CaricaFunzioneDLL2X(const QString &dll, const QString &funzione, const QString &parametri,
                                     int idFinestra);
    virtual void CaricaFunzioneDLL3Y(const QString &dll, const QString &funzione, const QString &parametri,
                                     int idFinestra);
    void EseguiFunzioneVoce(int programma, int menu, int origine);
    void EventoVoceOnClick(QAction *sender);
    void EventoVoce2OnClick(QAction *sender);
    void VoceRapidaClick(int programma, int menu);
    void PulsantoneClick(QPushButton *sender);

    // Function keys, the next company, the closing.
    // True when the key was one of the function keys and acted.
    bool FormKeyUp(int key);
    void DittaSuccessiva();
    void Esci1Click();
    // The system menu's screens.
    void Sessioni1Click();
    void Gestionesemafori1Click();
    void Accessoaquadrel1Click();
    // The closing: false when it is refused (plug-in windows still open).
    bool FormClose();

signals:
    // The closing went through: the program ends.
    void chiusa();

public:

    // Work sessions and the call log.
    void ApriSessione();
    void ChiudiSessione();
    bool VerificaStatoSessione(bool withMessages);
    int AggiornaMartiLogFunz(const QString &functionName);
    bool VerificaFinestreAperte();

    // The holder of the data module, which the system menu's screens and
    // the plug-ins' services share with the window.
    std::unique_ptr<TabXHolder> PTabX;

    // What the login, the catalogue and the dispatcher left, for reading.
    int progetto() const { return Progetto; }
    int profiloSicurezza() const { return ProfiloSicurezza; }
    int codiceSessione() const { return CodiceSessione; }
    bool mantieniStdMin() const { return MantieniStdMin; }
    bool utenteCollegato() const { return UtenteCollegato; }
    bool logFinestre() const { return LogFinestre; }
    const QString &edizione() const { return Edizione; }
    TLingueMenuReader *lingueMenu() const { return LingueMenu; }
    const db::Query &queryArchivio1() const { return QueryArchivio1; }
    const QVector<int> &gruppiProgrammi() const { return GruppiProgrammi; }
    const QVector<QToolButton *> &vociRapide() const { return VociRapide; }
    const QVector<QAction *> &vociMenu() const { return VociMenu; }
    const QVector<QPushButton *> &pulsantoni() const { return Pulsantoni; }
    bool menuBarRimossa() const { return MenuBarRimossa; }
    // The transaction of the window's reads and writes on the user
    // database: a caller may renew its snapshot.
    db::Transaction &transazioneMain() { return TransazioneMain; }
    // A project, a standard-window flag or a window tracking other than
    // the login's: the catalogue of another project built on the same
    // window, a flag that changes within one session.
    void setProgetto(int project) { Progetto = project; }
    void setMantieniStdMin(bool keeps) { MantieniStdMin = keeps; }
    void setLogFinestre(bool tracks) { LogFinestre = tracks; }

    // Controls, named as their objectName.
    QFrame *Panel1;
    QStackedWidget *NotebookMain;
    QWidget *ModalitaDefault;
    QWidget *ModalitaLista;
    QFrame *PanelLogIn;
    QLabel *Label1;
    QComboBox *ComboUtenti1;
    QLabel *Label2;
    QLineEdit *EditPassword1;
    QPushButton *ButtonOk;
    QLabel *Label4;
    QPushButton *ButtonSceltaDisco;
    QLabel *Label6;
    QListWidget *ListaUtenti2;
    QLabel *Label5;
    QLineEdit *EditPassword2;
    SpinButton *SpinButtonLista;
    QPushButton *ButtonOK2;
    QPushButton *ButtonSceltaDisco2;
    QLabel *LabelCambioUtente;
    QLabel *LabelCambioDitta;
    NavigationBar *MenuProgrammi;
    QMenuBar *MenuPrincipale;
    QMenu *N1;
    QAction *Sessioni1;
    QAction *Gestionesemafori1;
    QAction *Accessoaquadrel1;
    QAction *N2;
    QAction *Esci1;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void createLoginPages();
    void createMenu();
    void FormCreate();
    void startMainTransaction();
    void recordArchiveParameter();
    void checkGraphicsDirectory();
    void fillUserLists(bool hasInactiveFlag);
    void chooseLoginPage();
    void layoutForSmallScreen();
    void scaleToScreen(const ScreenScale &scale);
    void placeNavigationBar();
    QAction *addMenuEntry(QWidget *parent, const QString &caption, int tag);
    void connectMenuEntry(QAction *entry, bool secondLevel);
    void removeProgramMenus();
    // The closing and the user change, decided without a widget.
    ClosingSteps closingSteps();
    // What the closing asks of the window.
    bool otherWindowsOnScreen() const override;
    void closeOtherWindows() override;
    void saveWindowPosition(int userNumber, db::Transaction &transaction) override;
    void releaseStatements() override;
    void reportError(std::exception_ptr error) override;
    bool pressesLoginOk(QObject *watched, const QKeyEvent *key);
    void focusUserChoice();
    void createPictureButtons();
    QString captionWithParameter(const QString &stored, const QString &shown);
    bool loginStepsUntilConfiguration(LoginSteps &steps, const QString &userName, TInizForm &iniz);
    void buildCatalogue(bool adaptSystemMenu);
    // The company change's writes and reads, on the window's statement.
    CompanyChange companyChange();
    void showCompanyAndUserCaption();
    void readProjectAndProfile(const QString &userName);
    void connectCompanyArchive();
    // What the dispatcher asks of the window.
    void closeProgram() override;
    void changeUser() override;
    void changeCompany() override;
    bool recordCurrentCompany(bool userFound, const QString &storedCompany) override;
    void callPlugin(const PluginCall &call) override;
    // The user who calls, as the login left him.
    Caller caller() const;
    void focusFirstEntry();
    void openAgenda();
    void runStartFunction();

    // State kept by the login, the catalogue and the dispatcher.
    db::Transaction TransazioneMain;
    db::Query QueryAux;
    db::Query QueryAux2;
    db::Query QueryArchivio1;
    int Progetto = 0;
    int ProfiloSicurezza = 0;
    int ContatoreMenu = 0;
    int CodiceSessione = 0;
    bool MantieniStdMin = false;
    bool UtenteCollegato = false;
    bool LogFinestre = false;
    QString Edizione;
    TLingueMenuReader *LingueMenu = nullptr;
    // What the last catalogue build created, in build order. They grow as
    // needed: a project is not limited to a fixed number of elements.
    QVector<int> GruppiProgrammi;         // group indexes in MenuProgrammi
    QVector<QToolButton *> VociRapide;    // quick entries
    QVector<QAction *> VociMenu;          // menu entries, depth first
    QVector<QPushButton *> Pulsantoni;    // picture buttons
    // The menu bar was taken away by a successful login.
    bool MenuBarRimossa = false;
    WorkSessions Sessioni{QueryAux, TransazioneMain, CodiceSessione, LogFinestre};

    int m_menuProgram = 0;
    // The catalogue read in bulk, on the connection and in the transaction of QueryAux.
    CatalogueModel m_catalogue{QueryAux};
    FunctionDispatcher m_dispatcher{QueryAux, Sessioni, *this};
};

} // namespace tg
