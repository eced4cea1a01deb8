// A plug-in for the tests: every entry point records what it received, in
// one line per call, which the tests read through TaskgateTestCalls().

#include <taskgate/plugin.h>

#include <QCloseEvent>
#include <QWidget>
#include <stdexcept>
#include <string>

namespace {

std::string calls;

std::string textOf(const char *text, bool counted)
{
    if (!text)
        return "<null>";
    if (counted)
        return "[" + std::to_string(taskgate_counted_length(text)) + "]" + text;
    return text;
}

void record(const std::string &line)
{
    calls += line + "\n";
}

// A window that records its handle for its window id and releases the
// window's semaphore when it closes.
class TrackedWindow : public QWidget {
public:
    explicit TrackedWindow(int32_t windowId) : m_windowId(windowId)
    {
        setAttribute(Qt::WA_DeleteOnClose);
        setObjectName(QStringLiteral("TrackedWindow"));
        show();
        taskgate_record_window(windowId, static_cast<int64_t>(winId()));
    }
    ~TrackedWindow() override { taskgate_release_semaphore(m_windowId); }

private:
    int32_t m_windowId;
};

// A window that nothing tracks (a plain call carries no window id) and that
// will not close when asked, as a window holding unsaved work may do.
class UntrackedWindow : public QWidget {
public:
    UntrackedWindow()
    {
        setObjectName(QStringLiteral("UntrackedWindow"));
        show();
    }

protected:
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

} // namespace

extern "C" {

TASKGATE_EXPORT const char *TaskgateTestCalls()
{
    return calls.c_str();
}

TASKGATE_EXPORT void TaskgateTestReset()
{
    calls.clear();
}

TASKGATE_EXPORT void TASKGATE_CALL RecPlain(int32_t user)
{
    record("RecPlain " + std::to_string(user));
}

TASKGATE_EXPORT void TASKGATE_CALL Rec2(int32_t user, const char *text)
{
    record("Rec2 " + std::to_string(user) + " " + textOf(text, true));
}

TASKGATE_EXPORT void TASKGATE_CALL RecX(int32_t user, int32_t windowId)
{
    record("RecX " + std::to_string(user) + " " + std::to_string(windowId));
}

TASKGATE_EXPORT void TASKGATE_CALL Rec2X(int32_t user, const char *text, int32_t windowId)
{
    record("Rec2X " + std::to_string(user) + " " + textOf(text, true) + " " + std::to_string(windowId));
}

TASKGATE_EXPORT void TASKGATE_CALL RecY(int32_t user, int32_t windowId, const char *text)
{
    record("RecY " + std::to_string(user) + " " + std::to_string(windowId) + " " + textOf(text, false));
}

TASKGATE_EXPORT void TASKGATE_CALL FinestraX(int32_t user, int32_t windowId)
{
    record("FinestraX " + std::to_string(user) + " " + std::to_string(windowId));
    new TrackedWindow(windowId);
}

TASKGATE_EXPORT void TASKGATE_CALL FinestraLibera(int32_t user)
{
    record("FinestraLibera " + std::to_string(user));
    new UntrackedWindow;
}

TASKGATE_EXPORT void TASKGATE_CALL GuastoX(int32_t, int32_t)
{
    throw std::runtime_error("guasto nel plug-in");
}

} // extern "C"
