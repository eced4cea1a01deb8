// The main window's work sessions and call log; the work itself is done by
// WorkSessions on the main window's statement and transaction.

#include "data/TabX.h"
#include "shell/BaseMain.h"

namespace tg {

void TBaseMainForm::ApriSessione()
{
    Sessioni.ApriSessione(PTabX->TabX->GetNumUser());
}

void TBaseMainForm::ChiudiSessione()
{
    Sessioni.ChiudiSessione();
}

bool TBaseMainForm::VerificaStatoSessione(bool withMessages)
{
    return Sessioni.VerificaStatoSessione(withMessages);
}

int TBaseMainForm::AggiornaMartiLogFunz(const QString &functionName)
{
    return Sessioni.AggiornaMartiLogFunz(functionName);
}

bool TBaseMainForm::VerificaFinestreAperte()
{
    return Sessioni.VerificaFinestreAperte();
}

} // namespace tg
