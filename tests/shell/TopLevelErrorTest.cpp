#include "TestSupport.h"

#include "db/DatabaseError.h"

#include <QCoreApplication>
#include <QEvent>
#include <gtest/gtest.h>

using namespace tg;

namespace {

// An object whose event handler fails the way a database statement does.
class FailingHandler : public QObject {
public:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::User)
            throw db::DatabaseError(QStringLiteral("Dynamic SQL Error\nTable unknown\nUTENTI"));
        if (event->type() == QEvent::User + 1)
            throw std::runtime_error("conversione non riuscita");
        return QObject::event(event);
    }
};

TEST(TopLevelErrorReport, EscapedExceptionsAreShownAndTheProgramGoesOn)
{
    test::RecordingPrompter prompter;
    FailingHandler handler;
    QEvent first(QEvent::User);
    QEvent second(static_cast<QEvent::Type>(QEvent::User + 1));
    EXPECT_FALSE(QCoreApplication::sendEvent(&handler, &first));
    EXPECT_FALSE(QCoreApplication::sendEvent(&handler, &second));
    ASSERT_EQ(prompter.messages.size(), 2);
    EXPECT_EQ(prompter.messages[0],
              qMakePair(MessageKind::Error, QStringLiteral("Dynamic SQL Error\nTable unknown\nUTENTI")));
    EXPECT_EQ(prompter.messages[1], qMakePair(MessageKind::Error, QStringLiteral("conversione non riuscita")));
}

} // namespace
