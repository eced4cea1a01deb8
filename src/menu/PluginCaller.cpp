#include "menu/PluginCaller.h"

#include "data/TabX.h"
#include "menu/PluginTexts.h"
#include "platform/DynamicLibrary.h"
#include "semaphores/SemaphoreChecks.h"

#include <taskgate/plugin.h>

namespace tg {

void *PluginCaller::prepareCall(const QString &dll, const QString &funzione, bool takesWindowId, int idFinestra)
{
    db::Database &archive = m_module.IBDatabase1;
    const int user = m_module.GetNumUser();
    const CriticalWindowState window = ControllaFinestraCritica(dll, funzione, archive, &m_module.archiveChecks, user);
    if (!window.mayOpen) {
        SegnalaSemaforoOccupato(user, dll, funzione, archive);
        return nullptr;
    }
    void *entry = DynamicLibrary::symbol(DynamicLibrary::load(dll), funzione);
    // Another workstation may have taken a linked window since the check.
    if (entry && takesWindowId && !OccupaSemaforo(dll, funzione, user, idFinestra, archive, window.critical)) {
        SegnalaSemaforoOccupato(user, dll, funzione, archive);
        return nullptr;
    }
    return entry;
}

void PluginCaller::CaricaFunzioneDLL(const QString &dll, const QString &funzione)
{
    if (auto entry = reinterpret_cast<TaskgateEntry>(prepareCall(dll, funzione, false, 0)))
        entry(m_module.GetNumUser());
}

void PluginCaller::CaricaFunzioneDLL2(const QString &dll, const QString &funzione, const QString &parametri)
{
    if (auto entry = reinterpret_cast<TaskgateEntry2>(prepareCall(dll, funzione, false, 0))) {
        const CountedText text(parametri);
        entry(m_module.GetNumUser(), text.data());
    }
}

void PluginCaller::CaricaFunzioneDLLX(const QString &dll, const QString &funzione, int idFinestra)
{
    if (auto entry = reinterpret_cast<TaskgateEntryX>(prepareCall(dll, funzione, true, idFinestra)))
        entry(m_module.GetNumUser(), idFinestra);
}

void PluginCaller::CaricaFunzioneDLL2X(const QString &dll, const QString &funzione, const QString &parametri,
                                       int idFinestra)
{
    if (auto entry = reinterpret_cast<TaskgateEntry2X>(prepareCall(dll, funzione, true, idFinestra))) {
        const CountedText text(parametri);
        entry(m_module.GetNumUser(), text.data(), idFinestra);
    }
}

void PluginCaller::CaricaFunzioneDLL3Y(const QString &dll, const QString &funzione, const QString &parametri,
                                       int idFinestra)
{
    if (auto entry = reinterpret_cast<TaskgateEntry3Y>(prepareCall(dll, funzione, true, idFinestra))) {
        const PlainText text(parametri);
        entry(m_module.GetNumUser(), idFinestra, text.data());
    }
}

} // namespace tg
