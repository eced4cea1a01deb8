#pragma once

#include "taskgate_core_export.h"

#include <functional>

class QDialog;

namespace tg {

// Every modal dialog is run through here. Tests install a callback that gets
// the live dialog, works its widgets and returns the dialog's result.
class TASKGATE_CORE_EXPORT ModalRunner {
public:
    using Script = std::function<int(QDialog &)>;

    static int run(QDialog &dialog);
    static void install(Script script); // an empty script restores exec()
};

} // namespace tg
