#include "TestSupport.h"

#include <QDir>

namespace tg::test {

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
