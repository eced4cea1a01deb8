// An example plug-in: one entry point for each of the five calling forms.
// Each opens a small window that shows what it received: the user number,
// the window id and the parameter text. A window opened with a window id
// records its native handle in the call log and releases its semaphore when
// it closes.
//
// Menu rows that reach them (DETTMENU or PULSANTONI, DLL "esempio.dll"):
//
//   FUNZIONE           level   form
//   MostraUtente       first   (user)
//   MostraParametri    second  (user, counted text)
//   MostraFinestraX    first   (user, window id)
//   MostraParametriX   second  (user, counted text, window id)
//   MostraParametriY   any     (user, window id, plain text)

#include <taskgate/plugin.h>

#include <QByteArray>
#include <QLabel>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

#if TASKGATE_PLUGIN_API_VERSION < TASKGATE_PLUGIN_API_VERSION_OF(1, 0)
#error "esempio needs the Taskgate plug-in interface 1.0 or later"
#endif

namespace {

// The suite's texts are in Windows-1252.
QString fromSuite(const char *text, int32_t length)
{
    QStringDecoder decode("windows-1252");
    return decode(QByteArray(text, length));
}

class EsempioWindow : public QWidget {
public:
    // windowId < 0: the form takes none.
    EsempioWindow(const char *function, int32_t user, int32_t windowId, const QString &parameters)
        : m_windowId(windowId > 0 ? windowId : 0)
    {
        setAttribute(Qt::WA_DeleteOnClose);
        setObjectName(QStringLiteral("Esempio"));
        setWindowTitle(QStringLiteral("Esempio - ") + QLatin1String(function));
        QStringList lines{QStringLiteral("Utente %1").arg(user)};
        if (windowId >= 0)
            lines << QStringLiteral("Finestra %1").arg(windowId);
        if (!parameters.isNull())
            lines << parameters;
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(lines.join(QLatin1Char('\n')), this));
        resize(320, 120);
        show();
        // The call log keeps the handle: the front-end will not close while
        // this window is open.
        if (m_windowId != 0)
            taskgate_record_window(m_windowId, static_cast<int64_t>(winId()));
    }

    ~EsempioWindow() override
    {
        if (m_windowId != 0)
            taskgate_release_semaphore(m_windowId);
    }

private:
    int32_t m_windowId;
};

QString counted(const char *text)
{
    const int32_t length = taskgate_counted_length(text);
    return QStringLiteral("Parametri \"%1\" (%2 byte)").arg(text ? fromSuite(text, length) : QString()).arg(length);
}

QString plain(const char *text)
{
    const QByteArray bytes(text);
    return QStringLiteral("Parametri \"%1\" (%2 byte)").arg(fromSuite(bytes.constData(), bytes.size())).arg(bytes.size());
}

// No exception may leave an entry point.
template <typename Open>
void guarded(Open open)
{
    try {
        open();
    } catch (...) {
    }
}

} // namespace

extern "C" {

TASKGATE_EXPORT void TASKGATE_CALL MostraUtente(int32_t user)
{
    guarded([&] { new EsempioWindow("MostraUtente", user, -1, QString()); });
}

TASKGATE_EXPORT void TASKGATE_CALL MostraParametri(int32_t user, const char *parameters)
{
    guarded([&] { new EsempioWindow("MostraParametri", user, -1, counted(parameters)); });
}

TASKGATE_EXPORT void TASKGATE_CALL MostraFinestraX(int32_t user, int32_t windowId)
{
    guarded([&] { new EsempioWindow("MostraFinestraX", user, windowId, QString()); });
}

TASKGATE_EXPORT void TASKGATE_CALL MostraParametriX(int32_t user, const char *parameters, int32_t windowId)
{
    guarded([&] { new EsempioWindow("MostraParametriX", user, windowId, counted(parameters)); });
}

TASKGATE_EXPORT void TASKGATE_CALL MostraParametriY(int32_t user, int32_t windowId, const char *parameters)
{
    guarded([&] { new EsempioWindow("MostraParametriY", user, windowId, plain(parameters)); });
}

} // extern "C"
