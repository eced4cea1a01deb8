#include "LoggedInWindow.h"

#include "companies/SelezDitta.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

// On a real X server whose window manager frames the windows: the designed
// size is the window's outer size, so that the whole window, title bar
// included, lies on the screen's free area.
class WindowFrame : public LoggedInWindow<> {
protected:
    WindowFrame() { ScreenSize::override(QSize()); } // the real screen
    static bool framed(const QWidget &window)
    {
        return window.frameGeometry().size() != window.size();
    }
};

TEST_F(WindowFrame, MainWindowAndCompanyDialogFitTheScreenFrameIncluded)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(area, QRect(0, 0, 800, 600)) << "run on an 800 by 600 screen";
    TBaseMainForm &main = login(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return framed(main) && main.frameGeometry().topLeft() == QPoint(0, 0); }, 10000))
        << "the window manager framed the window";
    QTest::qWait(200); // let the toolkit and the window manager settle
    EXPECT_EQ(main.frameGeometry(), QRect(0, 0, 460, 600)) << "200 percent of 230 by 300, frame included";
    EXPECT_GT(main.geometry().top(), 0) << "the title bar, with the company, is on screen";

    TSelezDittaForm dialog(&main, main.edizione(), main.PTabX.get());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return framed(dialog) && dialog.frameGeometry().topLeft() == QPoint(0, 0); }, 10000));
    QTest::qWait(200);
    EXPECT_EQ(dialog.frameGeometry(), QRect(0, 0, 460, 600));
}

} // namespace
