// demomagazzino.dll: warehouse. The stocktaking count is a second-level entry
// of the menu tree.

#include "DemoEntries.h"

TASKGATE_DEMO_X(ApriArticoliX)
TASKGATE_DEMO_X(ApriDepositiX)
TASKGATE_DEMO_X(ApriCarichiX)
TASKGATE_DEMO_X(ApriScarichiX)
TASKGATE_DEMO_2X(ApriInventarioX)
TASKGATE_DEMO_X(ApriRettificheX)
TASKGATE_DEMO_PLAIN(StampaGiacenze)
