#pragma once

#include "taskgate_core_export.h"

#include <QString>

namespace tg {

class TTabXForm;

// The five ways of calling a plug-in entry point, each with the semaphore
// steps around it: the critical-window check before the library is loaded,
// the semaphore taken (for the forms with a window id) once the entry is
// found and before it is called. Libraries stay loaded.
class TASKGATE_CORE_EXPORT PluginCaller {
public:
    explicit PluginCaller(TTabXForm &module) : m_module(module) {}

    void CaricaFunzioneDLL(const QString &dll, const QString &funzione);
    void CaricaFunzioneDLL2(const QString &dll, const QString &funzione, const QString &parametri);
    void CaricaFunzioneDLLX(const QString &dll, const QString &funzione, int idFinestra);
    void CaricaFunzioneDLL2X(const QString &dll, const QString &funzione, const QString &parametri, int idFinestra);
    void CaricaFunzioneDLL3Y(const QString &dll, const QString &funzione, const QString &parametri, int idFinestra);

private:
    // The entry point when the window may open and the library exports it;
    // nullptr otherwise. Takes the semaphore when asked to.
    void *prepareCall(const QString &dll, const QString &funzione, bool takesWindowId, int idFinestra);

    TTabXForm &m_module;
};

} // namespace tg
