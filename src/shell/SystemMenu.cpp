// The commands of the system menu: each screen is created with the main
// window as owner and the module's holder, shown modally and destroyed.

#include "companies/MemoQuadrel.h"
#include "platform/ModalRunner.h"
#include "semaphores/Semafori.h"
#include "sessions/Sessioni.h"
#include "shell/BaseMain.h"

namespace tg {

void TBaseMainForm::Sessioni1Click()
{
    TSessioniForm screen(this, PTabX.get());
    ModalRunner::run(screen);
}

void TBaseMainForm::Gestionesemafori1Click()
{
    TSemaforiForm screen(this, PTabX.get());
    ModalRunner::run(screen);
}

void TBaseMainForm::Accessoaquadrel1Click()
{
    TMemoQuadrelForm screen(this, PTabX.get());
    ModalRunner::run(screen);
}

} // namespace tg
