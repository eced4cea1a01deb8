#include "TestSupport.h"

#include "archive/ArchiveLocator.h"
#include "platform/NativeWindows.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QThread>
#include <gtest/gtest.h>

namespace tg::test {
namespace {

// Watches every widget for a modal dialog being shown. A dialog run by
// exec() shows itself and only then enters its own event loop; a call queued
// at the show runs inside that loop, one level deeper than at the show. That
// covers ModalRunner with no script installed, the message-box prompter and
// any exec() of a function's own. A dialog merely shown (open(), show() of a
// modal one) is left alone.
class ModalDialogWatch : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Show || !watched->isWidgetType())
            return false;
        auto *dialog = qobject_cast<QDialog *>(watched);
        if (!dialog || !dialog->isModal())
            return false;
        const int levelAtShow = QThread::currentThread()->loopLevel();
        QMetaObject::invokeMethod(
            dialog,
            [dialog, levelAtShow] {
                if (!dialog->isVisible() || QThread::currentThread()->loopLevel() <= levelAtShow)
                    return;
                ADD_FAILURE() << "A modal dialog nothing scripted was run: "
                              << describeDialog(*dialog).toStdString();
                dialog->reject();
            },
            Qt::QueuedConnection);
        return false;
    }
};

} // namespace

QString describeDialog(const QDialog &dialog)
{
    QStringList texts;
    if (const auto *box = qobject_cast<const QMessageBox *>(&dialog)) {
        texts << box->text();
        if (!box->informativeText().isEmpty())
            texts << box->informativeText();
    } else {
        for (const QLabel *label : dialog.findChildren<QLabel *>()) {
            if (!label->text().isEmpty())
                texts << label->text();
        }
    }
    return QStringLiteral("\"%1\" %2").arg(dialog.windowTitle(), texts.join(QStringLiteral(" | ")));
}

void failUnscriptedDialogs()
{
    static ModalDialogWatch watch;
    qApp->installEventFilter(&watch);
}

void installProgramSeams()
{
    registerWindowSystemLookUp();
    archive::installServerQuestion([](QString &serverName, QString &driveLetter, const QString &directory) {
        ChiediServerArchivio(serverName, driveLetter, directory, nullptr);
    });
}

MessageAnswer RecordingPrompter::show(MessageKind kind, const QString &text, MessageButtons buttons)
{
    messages.append({kind, text});
    if (!answers.isEmpty())
        return answers.takeFirst();
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

QStringList RecordingPrompter::texts() const
{
    QStringList result;
    for (const auto &message : messages)
        result << message.second;
    return result;
}

TempDir::TempDir() : m_dir(QDir::tempPath() + QStringLiteral("/taskgate-test-XXXXXX")) {}

} // namespace tg::test
