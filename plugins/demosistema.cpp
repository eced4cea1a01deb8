// demosistema.dll: workstation settings.

#include "DemoEntries.h"

TASKGATE_DEMO_PLAIN(ScegliStampante)
TASKGATE_DEMO_X(ApriOpzioniX)
