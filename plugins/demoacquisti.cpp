// demoacquisti.dll: purchasing.

#include "DemoEntries.h"

TASKGATE_DEMO_X(ApriOrdiniFornitoriX)
TASKGATE_DEMO_X(ApriRichiesteX)
TASKGATE_DEMO_X(ApriDdtX)
TASKGATE_DEMO_X(ApriFattureFornitoriX)
