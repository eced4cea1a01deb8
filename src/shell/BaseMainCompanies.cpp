// The main window's company change and the record of the current company
// before every plug-in call.

#include "companies/SelezDitta.h"
#include "data/TabX.h"
#include "db/DatabaseError.h"
#include "db/SqlText.h"
#include "platform/Logging.h"
#include "platform/ModalRunner.h"
#include "platform/Prompter.h"
#include "sessions/StatementDump.h"
#include "shell/BaseMain.h"
#include "shell/LoginSteps.h"

namespace tg {

bool TBaseMainForm::writeUserCompany(const QString &company)
{
    QueryAux.close();
    QueryAux.sql() = QStringList{QStringLiteral("UPDATE UTENTI SET DITTA='") + db::quotedValue(company) + QStringLiteral("' WHERE"),
                                 QStringLiteral("CODICE='%1'").arg(PTabX->TabX->GetNumUser())};
    // The fresh start of the transaction is part of the write: when the
    // user database is gone it fails here, and is reported as the write.
    try {
        TransazioneMain.rollback();
        TransazioneMain.start();
        QueryAux.execSql();
        TransazioneMain.commit();
        return true;
    } catch (const db::DatabaseError &error) {
        qCWarning(lcCompanies).noquote() << "Recording company" << company << "for the user failed:" << error.message();
        saveStatementDump(QStringLiteral("CambioDitta"), QueryAux.sql());
        showMessage(MessageKind::Error, QStringLiteral("Errore interno: impossibile effettuare il cambio ditta. Riprovare"));
        return false;
    }
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
    if (!recordCompanyAndReselectUser(company))
        return;
    QString userName;
    PTabX->TabX->GetNomeUser(userName);
    readProjectAndProfile(userName);
    connectCompanyArchive();
    showCompanyAndUserCaption();
    buildCatalogue(false);
}

bool TBaseMainForm::recordCompanyAndReselectUser(const QString &company)
{
    if (!writeUserCompany(company))
        return false;
    // Setting the user again takes the company from UTENTI.DITTA.
    QString userName;
    PTabX->TabX->GetNomeUser(userName);
    PTabX->TabX->SetUserPerNome(userName);
    return true;
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
    TTabXForm *tabX = PTabX->TabX;
    try {
        QString archive;
        tabX->CaricaParametro(QStringLiteral("Archivio"), archive);
        tabX->SetV(QStringLiteral("Archivio"), archive);
        // The named value keeps only the first characters of a long path:
        // connected through it, such a path would be cut short and a new,
        // empty database created where nobody asked for one. The path is
        // connected as the parameter gives it then.
        QString named;
        tabX->GetV(QStringLiteral("Archivio"), named);
        if (named == archive)
            tabX->ConnettiDatabase1(QStringLiteral("Archivio"));
        else
            tabX->ConnettiDatabase0(archive);
        QueryArchivio1.close();
        QueryArchivio1.setDatabase(&tabX->IBDatabase1);
        QueryArchivio1.setTransaction(&tabX->IBTransaction1);
    } catch (const std::exception &error) {
        // The change goes on without the archive; its own message, if any,
        // has been shown.
        qCWarning(lcCompanies).noquote() << "Connecting the company archive failed, the user goes on without it:"
                                         << QString::fromUtf8(error.what());
    }
}

bool TBaseMainForm::AggiornaDittaUtente(int userNumber, const QString &company)
{
    QueryAux.close();
    TransazioneMain.rollback();
    TransazioneMain.start();
    QueryAux.sql() = QStringList{QStringLiteral("SELECT DITTA FROM UTENTI"),
                                 QStringLiteral("WHERE CODICE='%1'").arg(userNumber)};
    QueryAux.open();
    const bool found = !QueryAux.eof();
    const QString stored = found ? QueryAux.field(0).asText() : QString();
    QueryAux.close();
    return recordCompanyIfChanged(userNumber, company, found, stored);
}

bool TBaseMainForm::recordCompanyIfChanged(int userNumber, const QString &company, bool userFound,
                                           const QString &storedCompany)
{
    if (!userFound || storedCompany == company)
        return true;
    QueryAux.sql() = QStringList{QStringLiteral("UPDATE UTENTI SET DITTA='") + db::quotedValue(company) + QLatin1Char('\''),
                                 QStringLiteral("WHERE CODICE='%1'").arg(userNumber)};
    try {
        QueryAux.execSql();
        TransazioneMain.commitRetaining();
        return true;
    } catch (const db::DatabaseError &error) {
        qCWarning(lcCompanies).noquote() << "Recording company" << company << "for user" << userNumber
                                         << "before a function failed:" << error.message();
        showMessage(MessageKind::Error, QStringLiteral("Errore interno di lettura parametro ditta"));
        return false;
    }
}

} // namespace tg
