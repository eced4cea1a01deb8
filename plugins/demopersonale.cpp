// demopersonale.dll: staff.

#include "DemoEntries.h"

TASKGATE_DEMO_X(ApriDipendentiX)
TASKGATE_DEMO_X(ApriPresenzeX)
TASKGATE_DEMO_X(ApriFerieX)
TASKGATE_DEMO_3Y(StampaCedoliniY)
