// The main window's company change and the record of the current company
// before every plug-in call: the window shows the list and the caption,
// CompanyChange writes and connects.

#include "companies/SelezDitta.h"
#include "data/TabX.h"
#include "menu/NavigationBar.h"
#include "platform/ModalRunner.h"
#include "shell/BaseMain.h"
#include "shell/CompanyChange.h"
#include "shell/LoginSteps.h"

#include <QListWidget>

namespace tg {

CompanyChange TBaseMainForm::companyChange()
{
    return CompanyChange(*PTabX->TabX, QueryAux, TransazioneMain);
}

void TBaseMainForm::CambioDitta()
{
    QString company;
    {
        TSelezDittaForm dialog(this, Edizione, PTabX.get());
        if (Edizione == QLatin1String("SMALL"))
            dialog.resize(230, 300);
        if (ModalRunner::run(dialog) != QDialog::Accepted)
            return;
        company = dialog.selectedCompany();
    }
    if (!companyChange().recordAndReselectUser(company))
        return;
    QString userName;
    PTabX->TabX->GetNomeUser(userName);
    readProjectAndProfile(userName);
    connectCompanyArchive();
    showCompanyAndUserCaption();
    buildCatalogue(false);
}

void TBaseMainForm::DittaSuccessiva()
{
    QStringList companies;
    {
        TSelezDittaForm dialog(this, Edizione, PTabX.get());
        const QListWidget *list = dialog.ListBoxSelDitta;
        for (int i = 0; i < list->count(); ++i)
            companies << list->item(i)->text();
    }
    if (companies.isEmpty())
        return; // no company to step to
    const QString company = CompanyChange::nextCompany(companies, PTabX->TabX->dittaCorrente());
    if (!companyChange().recordAndReselectUser(company))
        return;
    showCompanyAndUserCaption();
    const int group = MenuProgrammi->activeGroup();
    if (group >= 0)
        CaricaMenu(MenuProgrammi->groupTag(group));
}

void TBaseMainForm::showCompanyAndUserCaption()
{
    QString userName;
    PTabX->TabX->GetNomeUser(userName);
    setWindowTitle(QStringLiteral("Ditta: ") + PTabX->TabX->dittaCorrente() + QStringLiteral(" - Utente: ") + userName);
}

void TBaseMainForm::readProjectAndProfile(const QString &userName)
{
    const UserConfiguration configuration =
        LoginSteps(*PTabX->TabX, QueryAux, Sessioni).readProjectAndProfile(userName);
    Progetto = configuration.project;
    ProfiloSicurezza = configuration.profile;
}

void TBaseMainForm::connectCompanyArchive()
{
    companyChange().connectArchive(QueryArchivio1);
}

bool TBaseMainForm::AggiornaDittaUtente(int userNumber, const QString &company)
{
    return companyChange().recordForUser(userNumber, company);
}

} // namespace tg
