// demoanagrafiche.dll: customer and supplier master data.

#include "DemoEntries.h"

TASKGATE_DEMO_X(ApriClientiX)
TASKGATE_DEMO_X(ApriFornitoriX)
