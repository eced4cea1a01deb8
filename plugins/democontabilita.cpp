// democontabilita.dll: accounting. The VAT registers are second-level entries
// of the menu tree and take their parameter text.

#include "DemoEntries.h"

TASKGATE_DEMO_PLAIN(ApriPianoConti)
TASKGATE_DEMO_X(ApriPrimaNotaX)
TASKGATE_DEMO_2X(StampaRegistroX)
TASKGATE_DEMO_PLAIN(StampaBilancio)
TASKGATE_DEMO_X(ChiusuraEsercizioX)
TASKGATE_DEMO_X(ApriScadenzarioX)
