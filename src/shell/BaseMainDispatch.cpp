// The main window's side of the dispatch: the clicks refused while nobody is
// logged in, the rest handed to the dispatcher, and what the dispatcher asks
// back (built-in commands, the current company, the plug-in calls).

#include "data/TabX.h"
#include "menu/NavigationBar.h"
#include "menu/PluginCaller.h"
#include "platform/Logging.h"
#include "platform/Prompter.h"
#include "shell/BaseMain.h"
#include "shell/CompanyChange.h"

#include <QAction>
#include <QPushButton>

namespace tg {

Caller TBaseMainForm::caller() const
{
    Caller who;
    who.user = PTabX->TabX->GetNumUser();
    PTabX->TabX->GetNomeUser(who.userName);
    who.profile = ProfiloSicurezza;
    who.checkProfile = !MantieniStdMin;
    return who;
}

void TBaseMainForm::closeProgram()
{
    close();
}

void TBaseMainForm::changeUser()
{
    CambioUtente();
}

void TBaseMainForm::changeCompany()
{
    CambioDitta();
}

bool TBaseMainForm::recordCurrentCompany(bool userFound, const QString &storedCompany)
{
    TTabXForm *tabX = PTabX->TabX;
    return companyChange().recordIfChanged(tabX->GetNumUser(), tabX->dittaCorrente(), userFound, storedCompany);
}

void TBaseMainForm::callPlugin(const PluginCall &call)
{
    // Through the window's own calling forms, which a window may replace.
    switch (call.form) {
    case CallingForm::Plain:
        CaricaFunzioneDLL(call.dll, call.funzione);
        break;
    case CallingForm::WithParameters:
        CaricaFunzioneDLL2(call.dll, call.funzione, call.parametri);
        break;
    case CallingForm::WithWindow:
        CaricaFunzioneDLLX(call.dll, call.funzione, call.windowId);
        break;
    case CallingForm::WithParametersAndWindow:
        CaricaFunzioneDLL2X(call.dll, call.funzione, call.parametri, call.windowId);
        break;
    case CallingForm::ThirdForm:
        CaricaFunzioneDLL3Y(call.dll, call.funzione, call.parametri, call.windowId);
        break;
    }
}

void TBaseMainForm::EseguiFunzioneVoce(int programma, int menu, int origine)
{
    m_dispatcher.runMenuEntry(programma, menu, origine != 1, caller());
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
    m_dispatcher.runPictureButton(sender->property("tag").toString(), caller());
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
