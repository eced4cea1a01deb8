#pragma once

#include "taskgate_core_export.h"

namespace tg {

class TTabXForm;

// The data module that the services exported to plug-ins work with; the
// main window installs its module while it lives.
class TASKGATE_CORE_EXPORT HostServices {
public:
    static void install(TTabXForm *module);
    static TTabXForm *module();
};

} // namespace tg
