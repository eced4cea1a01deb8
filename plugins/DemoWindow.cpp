#include "DemoWindow.h"

#include <taskgate/plugin.h>

#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QWidget>

namespace taskgate_demo {
namespace {

QString fromSuiteBytes(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1252");
    return decoder.decode(bytes);
}

QLabel *valueLabel(const QString &objectName, const QString &text)
{
    auto *label = new QLabel(text);
    label->setObjectName(objectName);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

class DemoWindow : public QWidget {
public:
    explicit DemoWindow(const Received &received)
        : QWidget(nullptr, Qt::Window), m_windowId(received.windowId.value_or(0))
    {
        setAttribute(Qt::WA_DeleteOnClose);
        setObjectName(QStringLiteral("DemoWindow"));
        setWindowTitle(QString::fromLatin1(received.function));
        resize(300, 200);

        auto *form = new QFormLayout(this);
        form->addRow(QStringLiteral("Libreria:"),
                     valueLabel(QStringLiteral("libreria"), QString::fromLatin1(received.library)));
        form->addRow(QStringLiteral("Utente:"), valueLabel(QStringLiteral("utente"), QString::number(received.user)));
        if (received.windowId)
            form->addRow(QStringLiteral("Finestra:"),
                         valueLabel(QStringLiteral("finestra"), QString::number(*received.windowId)));
        if (received.text) {
            auto *parameters = new QPlainTextEdit(fromSuiteBytes(*received.text));
            parameters->setObjectName(QStringLiteral("parametri"));
            parameters->setReadOnly(true);
            form->addRow(QStringLiteral("Parametri:"), parameters);
        }
    }

    // The front-end never releases a semaphore itself: the window that
    // holds it does, when it goes.
    ~DemoWindow() override
    {
        if (m_windowId != 0)
            taskgate_release_semaphore(m_windowId);
    }

    int32_t windowId() const { return m_windowId; }

private:
    int32_t m_windowId;
};

} // namespace

void openWindow(const Received &received)
{
    auto *window = new DemoWindow(received);
    window->show();
    // The native handle exists once the window is shown; the front-end's
    // closing check looks for it in the call log.
    if (window->windowId() != 0)
        taskgate_record_window(window->windowId(), static_cast<int64_t>(window->winId()));
}

QByteArray countedBytes(const char *countedText)
{
    return countedText ? QByteArray(countedText, taskgate_counted_length(countedText)) : QByteArray();
}

QByteArray plainBytes(const char *plainText)
{
    return plainText ? QByteArray(plainText) : QByteArray();
}

} // namespace taskgate_demo
