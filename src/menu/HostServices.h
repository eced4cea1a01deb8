#pragma once

namespace tg {

class TTabXForm;

// The data module that the services exported to plug-ins work with; the
// main window installs its module while it lives.
class HostServices {
public:
    static void install(TTabXForm *module);
    static TTabXForm *module();
};

} // namespace tg
