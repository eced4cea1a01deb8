// Rptx: the suite's report library. The data module's LanciaStampaConDll
// stores the print's title and report name as its named values
// "TitoloStampa" and "NomeReport", then calls one of the two entries below
// with the data set and the address of a variable holding the module, and
// unloads the library as soon as the entry returns. Each entry therefore
// finishes its work before returning: the preview is modal, and nothing of
// the library outlives the call.

#include "ReportPrint.h"

#include <taskgate/plugin.h>

#include <QApplication>

namespace {

// The rows and the module are opaque here: the host's report functions read
// them (taskgate/plugin.h).
void showReport(void *dataSet, void *moduleAddress)
{
    if (!dataSet || !moduleAddress)
        return;
    taskgate_report::showPreview(taskgate_report::collect(dataSet, moduleAddress), QApplication::activeWindow());
}

} // namespace

extern "C" {

// A data set over a query. The rows are read through the data set's common
// interface, so both kinds print alike.
TASKGATE_EXPORT void TASKGATE_CALL ShowRptx11FormD(void *dataSet, void *moduleAddress)
{
    showReport(dataSet, moduleAddress);
}

// Any other data set (a table's, or rows held in memory).
TASKGATE_EXPORT void TASKGATE_CALL ShowRptx11MemFormD(void *dataSet, void *moduleAddress)
{
    showReport(dataSet, moduleAddress);
}

} // extern "C"
