#pragma once

#include "taskgate_core_export.h"

class QCoreApplication;

namespace tg {

// Installs the toolkit's own Italian texts (standard buttons, standard
// dialogs, print preview) into the application, from the translations
// directory of the Qt installation. The suite's own captions are Italian
// already and are not translated. Returns how many catalogues were
// installed; a missing catalogue logs one line and leaves the toolkit's
// English texts.
TASKGATE_CORE_EXPORT int installToolkitTranslations(QCoreApplication &application);

} // namespace tg
