// demovendite.dll: sales. ApriOrdiniApertiX is the orders window of the
// second-level picture button, which passes a filter.

#include "DemoEntries.h"

TASKGATE_DEMO_X(ApriPreventiviX)
TASKGATE_DEMO_X(ApriOrdiniX)
TASKGATE_DEMO_2X(ApriOrdiniApertiX)
TASKGATE_DEMO_X(ApriFattureX)
TASKGATE_DEMO_3Y(StatisticheY)
