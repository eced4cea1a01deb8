// Services the executable exports to plug-ins (declared in taskgate/plugin.h):
// a window records its native handle in the call log, and a closing window
// releases the semaphore of its window id in the company archive.

#include "menu/HostServices.h"

#include "data/TabX.h"
#include "semaphores/SemaphoreChecks.h"

#include <taskgate/plugin.h>

namespace tg {
namespace {
TTabXForm *installedModule = nullptr;
}

void HostServices::install(TTabXForm *module)
{
    installedModule = module;
}

TTabXForm *HostServices::module()
{
    return installedModule;
}

} // namespace tg

extern "C" {

TASKGATE_EXPORT int32_t TaskgateScritturaHandleDiApertura(int32_t windowId, int64_t handle)
{
    tg::TTabXForm *module = tg::HostServices::module();
    return module && module->ScritturaHandleDiApertura(windowId, handle) ? 1 : 0;
}

TASKGATE_EXPORT int32_t TaskgateLiberaSemaforo(int32_t windowId)
{
    tg::TTabXForm *module = tg::HostServices::module();
    return module && tg::LiberaSemaforoFinestra(windowId, module->IBDatabase1) ? 1 : 0;
}

} // extern "C"
