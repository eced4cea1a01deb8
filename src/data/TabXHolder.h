#pragma once

#include "taskgate_core_export.h"

namespace tg {

class TTabXForm;

// The one-slot holder through which the main window hands the data module to
// the dialogs it creates.
struct TASKGATE_CORE_EXPORT TabXHolder {
    TTabXForm *TabX = nullptr;
};

} // namespace tg
