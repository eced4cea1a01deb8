#include "LoggedInWindow.h"

#include "data/TabX.h"

#include <QFile>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;
using rows::Entry;

namespace {

class PluginFailure : public LoggedInWindow<> {};

TEST_F(PluginFailure, ExceptionThrownByAnEntryPointIsReportedAndTheProgramGoesOn)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(TASKGATE_TEST_PLUGIN), app.path() + QStringLiteral("taskgatetest.so")));
    app.execUser({menuEntry(Entry{.program = 1, .menu = 1, .caption = QStringLiteral("Guasto"),
                                  .quick = QStringLiteral("'1'"), .function = QStringLiteral("'GuastoX'")}),
                  QStringLiteral("UPDATE DETTMENU SET DLL='taskgatetest.dll'")});
    TBaseMainForm &main = login();
    main.show();
    ASSERT_EQ(main.vociRapide().size(), 1);
    QTest::mouseClick(main.vociRapide().first(), Qt::LeftButton);
    EXPECT_EQ(prompter.messages, (QList<QPair<MessageKind, QString>>{
                                     {MessageKind::Error, QStringLiteral("guasto nel plug-in")}}));
    EXPECT_EQ(calls(), QStringList{QStringLiteral("GuastoX|1")}) << "the call was logged before the plug-in ran";
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(main.utenteCollegato());
}

} // namespace
