/*
 * Taskgate plug-in SDK.
 *
 * A plug-in is a shared library that exports functions by name. The
 * front-end finds a function by the library file name and the export name
 * stored in the suite's menu tables, and calls it in one of five forms. Every
 * entry point is extern "C", takes 32-bit integers and text pointers, and
 * returns nothing the front-end reads.
 *
 *   form   entry point receives
 *   ----   -------------------------------------------------------------
 *   plain  user number
 *   2      user number, parameter text (counted)
 *   X      user number, window id
 *   2X     user number, parameter text (counted), window id
 *   3Y     user number, window id, parameter text (plain)
 *
 * Export names ending in "X" take the window id after the other arguments;
 * names ending in "Y" take it second and the text in plain form.
 *
 * Texts are in the suite's single-byte code page (Windows-1252).
 *  - Counted text: the pointer addresses the first character of a buffer laid
 *    out as int32 reference count (-1: a constant, never free it), int32
 *    length in bytes, the bytes, a zero byte. The empty text is a null
 *    pointer. Use taskgate_counted_length() for the length.
 *  - Plain text: a zero-terminated text, never null.
 *
 * A function that receives a window id and opens a window records the
 * window's native handle (QWidget::winId()) with taskgate_record_window(), so
 * that the front-end refuses to close while it is open, and releases the
 * window's semaphore with taskgate_release_semaphore() when the window
 * closes.
 */
#ifndef TASKGATE_PLUGIN_H
#define TASKGATE_PLUGIN_H

#include <stdint.h>

/* Version of this interface: the calling forms, the text layouts and the
 * host services. The major number changes when a plug-in built against an
 * older header could no longer be called correctly; the minor number when
 * something is added. A plug-in may compare it at compile time:
 *
 *   #if TASKGATE_PLUGIN_API_VERSION < TASKGATE_PLUGIN_API_VERSION_OF(1, 0)
 */
#define TASKGATE_PLUGIN_API_VERSION_MAJOR 1
#define TASKGATE_PLUGIN_API_VERSION_MINOR 1
#define TASKGATE_PLUGIN_API_VERSION_OF(major, minor) (((major) << 16) | (minor))
#define TASKGATE_PLUGIN_API_VERSION \
    TASKGATE_PLUGIN_API_VERSION_OF(TASKGATE_PLUGIN_API_VERSION_MAJOR, TASKGATE_PLUGIN_API_VERSION_MINOR)

#if defined(_WIN32) && !defined(_WIN64)
#define TASKGATE_CALL __stdcall
#else
#define TASKGATE_CALL
#endif

#if defined(_WIN32)
#define TASKGATE_EXPORT __declspec(dllexport)
#include <windows.h>
#else
#define TASKGATE_EXPORT __attribute__((visibility("default")))
#include <dlfcn.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef void(TASKGATE_CALL *TaskgateEntry)(int32_t user);
typedef void(TASKGATE_CALL *TaskgateEntry2)(int32_t user, const char *countedText);
typedef void(TASKGATE_CALL *TaskgateEntryX)(int32_t user, int32_t windowId);
typedef void(TASKGATE_CALL *TaskgateEntry2X)(int32_t user, const char *countedText, int32_t windowId);
typedef void(TASKGATE_CALL *TaskgateEntry3Y)(int32_t user, int32_t windowId, const char *plainText);

/* The header that precedes the characters of a counted text. */
typedef struct TaskgateCountedHeader {
    int32_t referenceCount;
    int32_t length;
} TaskgateCountedHeader;

/* Length in bytes of a counted text; 0 for the null pointer. */
static inline int32_t taskgate_counted_length(const char *countedText)
{
    if (!countedText)
        return 0;
    const TaskgateCountedHeader *header = (const TaskgateCountedHeader *)(countedText - sizeof(TaskgateCountedHeader));
    return header->length;
}

/* Host services, exported by the front-end's executable. */
#define TASKGATE_RECORD_WINDOW_SERVICE "TaskgateScritturaHandleDiApertura"
#define TASKGATE_RELEASE_SEMAPHORE_SERVICE "TaskgateLiberaSemaforo"
typedef int32_t (*TaskgateRecordWindow)(int32_t windowId, int64_t handle);
typedef int32_t (*TaskgateReleaseSemaphore)(int32_t windowId);

static inline void *taskgate_host_service(const char *name)
{
#if defined(_WIN32)
    return (void *)GetProcAddress(GetModuleHandleA(NULL), name);
#else
    return dlsym(RTLD_DEFAULT, name);
#endif
}

/* Records the native handle of the window opened for a window id in the
 * call log. Returns 1 when written, 0 otherwise (also without a host). */
static inline int32_t taskgate_record_window(int32_t windowId, int64_t handle)
{
    TaskgateRecordWindow service = (TaskgateRecordWindow)taskgate_host_service(TASKGATE_RECORD_WINDOW_SERVICE);
    return service ? service(windowId, handle) : 0;
}

/* Releases the semaphore rows of a window id in the company archive.
 * Returns 1 when released, 0 otherwise. */
static inline int32_t taskgate_release_semaphore(int32_t windowId)
{
    TaskgateReleaseSemaphore service =
        (TaskgateReleaseSemaphore)taskgate_host_service(TASKGATE_RELEASE_SEMAPHORE_SERVICE);
    return service ? service(windowId) : 0;
}

/* The report library ("Rptx"). Its entries ShowRptx11FormD and
 * ShowRptx11MemFormD receive the rows to print and the address of the data
 * module, both opaque: they are read through the host's functions below,
 * valid only while the entry runs. Texts are in the suite's code page;
 * each function copies at most size - 1 bytes and a terminating zero into
 * buffer and returns the whole text's length (-1 for a bad argument). */
typedef void(TASKGATE_CALL *TaskgateReportEntry)(void *rows, void *module);
#define TASKGATE_REPORT_ROW_COUNT_SERVICE "TaskgateStampaNumeroRighe"
#define TASKGATE_REPORT_FIELD_COUNT_SERVICE "TaskgateStampaNumeroCampi"
#define TASKGATE_REPORT_FIELD_NAME_SERVICE "TaskgateStampaNomeCampo"
#define TASKGATE_REPORT_FIELD_TEXT_SERVICE "TaskgateStampaTestoCampo"
#define TASKGATE_REPORT_NAMED_VALUE_SERVICE "TaskgateStampaValore"
typedef int32_t (*TaskgateReportCount)(void *rows);
typedef int32_t (*TaskgateReportFieldName)(void *rows, int32_t field, char *buffer, int32_t size);
typedef int32_t (*TaskgateReportFieldText)(void *rows, int32_t row, int32_t field, char *buffer, int32_t size);
typedef int32_t (*TaskgateReportNamedValue)(void *module, const char *name, char *buffer, int32_t size);

/* Number of rows and of fields of the rows handed to a report entry. */
static inline int32_t taskgate_report_row_count(void *rows)
{
    TaskgateReportCount service = (TaskgateReportCount)taskgate_host_service(TASKGATE_REPORT_ROW_COUNT_SERVICE);
    return service ? service(rows) : -1;
}

static inline int32_t taskgate_report_field_count(void *rows)
{
    TaskgateReportCount service = (TaskgateReportCount)taskgate_host_service(TASKGATE_REPORT_FIELD_COUNT_SERVICE);
    return service ? service(rows) : -1;
}

/* A field's name, and a field of a row (0-based) as text. */
static inline int32_t taskgate_report_field_name(void *rows, int32_t field, char *buffer, int32_t size)
{
    TaskgateReportFieldName service =
        (TaskgateReportFieldName)taskgate_host_service(TASKGATE_REPORT_FIELD_NAME_SERVICE);
    return service ? service(rows, field, buffer, size) : -1;
}

static inline int32_t taskgate_report_field_text(void *rows, int32_t row, int32_t field, char *buffer, int32_t size)
{
    TaskgateReportFieldText service =
        (TaskgateReportFieldText)taskgate_host_service(TASKGATE_REPORT_FIELD_TEXT_SERVICE);
    return service ? service(rows, row, field, buffer, size) : -1;
}

/* A named value of the data module ("TitoloStampa", "NomeReport"). */
static inline int32_t taskgate_report_named_value(void *module, const char *name, char *buffer, int32_t size)
{
    TaskgateReportNamedValue service =
        (TaskgateReportNamedValue)taskgate_host_service(TASKGATE_REPORT_NAMED_VALUE_SERVICE);
    return service ? service(module, name, buffer, size) : -1;
}

#ifdef __cplusplus
}
#endif

#endif /* TASKGATE_PLUGIN_H */
