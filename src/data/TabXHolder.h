#pragma once

namespace tg {

class TTabXForm;

// The one-slot holder through which the main window hands the data module to
// the dialogs it creates.
struct TabXHolder {
    TTabXForm *TabX = nullptr;
};

} // namespace tg
