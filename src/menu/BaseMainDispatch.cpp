// The main window's dispatchers: what a click on a quick entry, a menu entry
// or a picture button runs. Built-in commands run here; any other function
// passes the session check, is logged, records the current company and is
// handed to the plug-in call chosen by the last character of its name and
// by its level.

#include "data/TabX.h"
#include "menu/NavigationBar.h"
#include "menu/PluginCaller.h"
#include "platform/Logging.h"
#include "platform/Prompter.h"
#include "shell/BaseMain.h"

#include <QAction>
#include <QPushButton>

namespace tg {

struct TBaseMainForm::FunctionRow {
    QString dll;
    QString funzione;
    QString livello2;
    QString parametri;
};

namespace {

const QString MenuOpening = QStringLiteral("Impossibile caricare la finestra relativa alla voce di menu selezionata. "
                                           "Controllare le impostazioni di menu del programma ");
const QString ButtonOpening = QStringLiteral("Impossibile caricare la finestra relativa al pulsantone premuto. "
                                             "Controllare le impostazioni del pulsantone ");

// Runs a built-in command; true when the function is one (and so nothing
// else runs for it).
template <typename Main>
bool runBuiltIn(Main &main, const QString &funzione, bool &close)
{
    const QString command = funzione.toUpper();
    if (command == QLatin1String("CHIUDI")) {
        close = true;
        return true;
    }
    if (command == QLatin1String("CAMBIOUTENTE")) {
        main.CambioUtente();
        return true;
    }
    if (command == QLatin1String("CAMBIODITTA")) {
        main.CambioDitta();
        return true;
    }
    return false;
}

} // namespace

void TBaseMainForm::runFunction(const FunctionRow &row, bool secondLevel)
{
    if (!VerificaStatoSessione(true))
        return;
    const int windowId = AggiornaMartiLogFunz(row.funzione);
    TTabXForm *tabX = PTabX->TabX;
    if (!AggiornaDittaUtente(tabX->GetNumUser(), tabX->dittaCorrente()))
        return;
    if (row.funzione.endsWith(QLatin1Char('Y')))
        CaricaFunzioneDLL3Y(row.dll, row.funzione, row.parametri, windowId);
    else if (row.funzione.endsWith(QLatin1Char('X')))
        secondLevel ? CaricaFunzioneDLL2X(row.dll, row.funzione, row.parametri, windowId)
                    : CaricaFunzioneDLLX(row.dll, row.funzione, windowId);
    else
        secondLevel ? CaricaFunzioneDLL2(row.dll, row.funzione, row.parametri) : CaricaFunzioneDLL(row.dll, row.funzione);
}

void TBaseMainForm::EseguiFunzioneVoce(int programma, int menu, int origine)
{
    bool close = false;
    [&] {
        QString userName;
        PTabX->TabX->GetNomeUser(userName);
        if (!MantieniStdMin) {
            QueryAux.close();
            QueryAux.sql() = QStringList{QStringLiteral("SELECT LIVELLOPREDEFINITO FROM PROFILI WHERE"),
                                         QStringLiteral("CODICE='%1'").arg(ProfiloSicurezza)};
            QueryAux.open();
            const bool exists = !QueryAux.eof();
            QueryAux.close();
            if (!exists) {
                showMessage(MessageKind::Error, QStringLiteral("Errore di configurazione dell'utente ") + userName
                                                    + QStringLiteral(": il profilo sicurezza assegnato non esiste"));
                return;
            }
        }
        QueryAux.sql() = QStringList{QStringLiteral("SELECT DLL, FUNZIONE, LIVELLO2VERSIONE, PARAMETRIBLOB"),
                                     QStringLiteral("FROM DETTMENU WHERE"),
                                     QStringLiteral("(PROGRAMMA='%1')AND").arg(programma),
                                     QStringLiteral("(MENU='%1')").arg(menu)};
        QueryAux.open();
        if (QueryAux.eof()) {
            QueryAux.close();
            showMessage(MessageKind::Error,
                        MenuOpening + QString::number(programma) + QStringLiteral(": manca il menu ") + QString::number(menu));
            return;
        }
        const FunctionRow row{QueryAux.field(0).asText(), QueryAux.field(1).asText(), QueryAux.field(2).asText(),
                              QueryAux.field(3).asText()};
        QueryAux.close();
        if (!runBuiltIn(*this, row.funzione, close)) {
            if (row.dll.isEmpty()) {
                showMessage(MessageKind::Error, MenuOpening + QString::number(programma) + QStringLiteral(": manca la DLL ")
                                                    + QStringLiteral("di riferimento per caricare la finestra nel menu ")
                                                    + QString::number(menu));
                return;
            }
            if (row.funzione.isEmpty()) {
                showMessage(MessageKind::Error, MenuOpening + QString::number(programma) + QStringLiteral(": manca la ")
                                                    + QStringLiteral("funzione di riferimento per caricare la finestra nel menu ")
                                                    + QString::number(menu));
                return;
            }
            runFunction(row, origine != 1);
        }
    }();
    if (close)
        this->close();
}

void TBaseMainForm::EventoVoceOnClick(QAction *sender)
{
    if (!UtenteCollegato) {
        qCWarning(lcDispatch) << "Menu entry" << sender->property("tag").toInt() << "refused: nobody is logged in";
        return;
    }
    EseguiFunzioneVoce(m_menuProgram, sender->property("tag").toInt(), 1);
}

void TBaseMainForm::EventoVoce2OnClick(QAction *sender)
{
    if (!UtenteCollegato) {
        qCWarning(lcDispatch) << "Menu entry" << sender->property("tag").toInt() << "refused: nobody is logged in";
        return;
    }
    const int menu = sender->property("tag").toInt();
    std::exception_ptr failure;
    try {
        EseguiFunzioneVoce(m_menuProgram, menu, 2);
    } catch (...) {
        failure = std::current_exception();
    }
    // Whatever the outcome, the user transaction starts afresh and the menu
    // of the active group is rebuilt.
    PTabX->TabX->TransazioneUser.rollback();
    PTabX->TabX->TransazioneUser.start();
    const int group = MenuProgrammi->activeGroup();
    if (group >= 0)
        CaricaMenu(MenuProgrammi->groupTag(group));
    if (failure)
        std::rethrow_exception(failure);
}

void TBaseMainForm::VoceRapidaClick(int programma, int menu)
{
    if (!UtenteCollegato) {
        qCWarning(lcDispatch) << "Quick entry" << menu << "of program" << programma << "refused: nobody is logged in";
        return;
    }
    EseguiFunzioneVoce(programma, menu, 1);
}

void TBaseMainForm::PulsantoneClick(QPushButton *sender)
{
    // Nothing of a catalogue runs while nobody is logged in: the elements
    // of the last user may still exist under the login page.
    if (!UtenteCollegato) {
        qCWarning(lcDispatch) << "Picture button" << sender->property("tag").toInt() << "refused: nobody is logged in";
        return;
    }
    const QString button = sender->property("tag").toString();
    bool close = false;
    [&] {
        QueryAux.close();
        QueryAux.sql() = QStringList{QStringLiteral("SELECT DLL,FUNZIONE,LIVELLO2VERSIONE,PARAMETRIBLOB"),
                                     QStringLiteral("FROM PULSANTONI"), QStringLiteral("WHERE ID='%1'").arg(button)};
        QueryAux.open();
        if (QueryAux.eof()) {
            QueryAux.close();
            showMessage(MessageKind::Warning, QStringLiteral("Errore nella configurazione del pulsantone"));
            return;
        }
        const FunctionRow row{QueryAux.field(0).asText(), QueryAux.field(1).asText(), QueryAux.field(2).asText(),
                              QueryAux.field(3).asText()};
        QueryAux.close();
        if (runBuiltIn(*this, row.funzione, close))
            return;
        if (row.dll.isEmpty()) {
            showMessage(MessageKind::Error, ButtonOpening + button + QStringLiteral(": manca la DLL ")
                                                + QStringLiteral("di riferimento per caricare la finestra"));
            return;
        }
        if (row.funzione.isEmpty()) {
            showMessage(MessageKind::Error, ButtonOpening + button + QStringLiteral(": manca la funzione ")
                                                + QStringLiteral("di riferimento per caricare la finestra"));
            return;
        }
        runFunction(row, row.livello2 == QLatin1String("1"));
    }();
    if (close)
        this->close();
}

void TBaseMainForm::CaricaFunzioneDLL(const QString &dll, const QString &funzione)
{
    PluginCaller(*PTabX->TabX).CaricaFunzioneDLL(dll, funzione);
}

void TBaseMainForm::CaricaFunzioneDLL2(const QString &dll, const QString &funzione, const QString &parametri)
{
    PluginCaller(*PTabX->TabX).CaricaFunzioneDLL2(dll, funzione, parametri);
}

void TBaseMainForm::CaricaFunzioneDLLX(const QString &dll, const QString &funzione, int idFinestra)
{
    PluginCaller(*PTabX->TabX).CaricaFunzioneDLLX(dll, funzione, idFinestra);
}

void TBaseMainForm::CaricaFunzioneDLL2X(const QString &dll, const QString &funzione, const QString &parametri,
                                        int idFinestra)
{
    PluginCaller(*PTabX->TabX).CaricaFunzioneDLL2X(dll, funzione, parametri, idFinestra);
}

void TBaseMainForm::CaricaFunzioneDLL3Y(const QString &dll, const QString &funzione, const QString &parametri,
                                        int idFinestra)
{
    PluginCaller(*PTabX->TabX).CaricaFunzioneDLL3Y(dll, funzione, parametri, idFinestra);
}

} // namespace tg
