// Rubrimax.dll: the agenda window the login opens when the parameter
// AperturaAgenda is "SI". The front-end calls either entry with user number
// and window id.

#include "DemoEntries.h"

TASKGATE_DEMO_X(ShowContattAgendaFormX)
TASKGATE_DEMO_X(ShowContattAgendaFormD)
