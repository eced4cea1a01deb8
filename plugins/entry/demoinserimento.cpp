// demoinserimento.dll: a data-entry window over the company archive's named
// values (TABX), keys from CODICETABXCOUNTER. Like any program of the suite
// it has its own data module: it opens the user database beside the
// executable, takes the user's company archive from the user's parameters
// and edits it through the module's record services.

#include "Inserimento.h"
#include "data/TabX.h"

#include <taskgate/plugin.h>

#include <memory>

namespace {

// Records the window's handle for its window id, so that the front-end
// refuses to close while it is open, and releases the window's semaphore
// when it goes.
class TrackedInserimento : public taskgate_entry::TInserimentoForm {
public:
    TrackedInserimento(tg::TTabXForm &module, int32_t windowId)
        : TInserimentoForm(module, QStringLiteral("TABX"), QStringLiteral("CODICETABXCOUNTER")), m_windowId(windowId)
    {
        setAttribute(Qt::WA_DeleteOnClose);
    }
    ~TrackedInserimento() override
    {
        if (m_windowId != 0)
            taskgate_release_semaphore(m_windowId);
    }

private:
    int32_t m_windowId;
};

} // namespace

extern "C" TASKGATE_EXPORT void TASKGATE_CALL ApriInserimentoX(int32_t user, int32_t windowId)
{
    auto module = std::make_unique<tg::TTabXForm>(nullptr, 0);
    module->Avvia();
    module->SetUserPerNum(user);
    QString archive;
    module->CaricaParametro(QStringLiteral("Archivio"), archive);
    module->Inserisci(QStringLiteral("VRT"), QStringLiteral("Archivio"), QString(), archive, QString(), QString(),
                      QString(), QString(), QString::number(user));
    module->ConnettiDatabase1(QStringLiteral("Archivio"));
    if (!module->IBDatabase1.connected())
        return; // "Errore apertura archivio" has been shown
    auto *window = new TrackedInserimento(*module, windowId);
    // The module goes with the window, after the window's data set.
    module.release()->setParent(window);
    window->show();
    if (windowId != 0)
        taskgate_record_window(windowId, static_cast<int64_t>(window->winId()));
}
