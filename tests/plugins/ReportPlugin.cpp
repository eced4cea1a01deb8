// A report library for the tests, built as "Rptx": each entry hands what it
// received to the host's "TaskgateReportProbe" (exported by the test
// program), together with its own name. The library keeps no state of its
// own, because the front-end unloads it after every print.

#include <taskgate/plugin.h>

extern "C" {

typedef void (*TaskgateReportProbe)(const char *entry, void *dataSet, void *moduleAddress);

static void forward(const char *entry, void *dataSet, void *moduleAddress)
{
    TaskgateReportProbe probe = (TaskgateReportProbe)taskgate_host_service("TaskgateReportProbe");
    if (probe)
        probe(entry, dataSet, moduleAddress);
}

TASKGATE_EXPORT void TASKGATE_CALL ShowRptx11FormD(void *dataSet, void *moduleAddress)
{
    forward("ShowRptx11FormD", dataSet, moduleAddress);
}

TASKGATE_EXPORT void TASKGATE_CALL ShowRptx11MemFormD(void *dataSet, void *moduleAddress)
{
    forward("ShowRptx11MemFormD", dataSet, moduleAddress);
}

} // extern "C"
