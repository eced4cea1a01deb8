#include "LoggedInWindow.h"

#include "companies/MemoQuadrel.h"
#include "platform/ModalRunner.h"
#include "semaphores/Semafori.h"
#include "sessions/Sessioni.h"

#include <QAction>
#include <QMenuBar>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

// The system menu is on screen in the state a failed user configuration
// leaves: its commands open their screens modally.
class SystemMenu : public LoggedInWindow<> {
protected:
    void SetUp() override
    {
        LoggedInWindow::SetUp();
        app.execUser({QStringLiteral("UPDATE UTENTI SET PROGETTO=NULL, ACCESSOQUADREL='1' WHERE CODICE=1")});
    }
    void TearDown() override
    {
        ModalRunner::install({});
        LoggedInWindow::TearDown();
    }
};

TEST_F(SystemMenu, CommandsOpenTheirScreensWithTheModule)
{
    TBaseMainForm &main = login();
    ASSERT_FALSE(main.MenuPrincipale->isHidden());
    ASSERT_TRUE(main.Sessioni1->isEnabled());
    ASSERT_TRUE(main.Accessoaquadrel1->isEnabled());
    QStringList opened;
    ModalRunner::install([&](QDialog &dialog) {
        if (qobject_cast<TSessioniForm *>(&dialog))
            opened << QStringLiteral("sessioni");
        else if (qobject_cast<TSemaforiForm *>(&dialog))
            opened << QStringLiteral("semafori");
        else if (qobject_cast<TMemoQuadrelForm *>(&dialog))
            opened << QStringLiteral("quadrel");
        EXPECT_EQ(dialog.parentWidget(), &main);
        return int(QDialog::Rejected);
    });
    main.Sessioni1->trigger();
    main.Gestionesemafori1->trigger();
    main.Accessoaquadrel1->trigger();
    EXPECT_EQ(opened, (QStringList{QStringLiteral("sessioni"), QStringLiteral("semafori"), QStringLiteral("quadrel")}));
    EXPECT_TRUE(main.findChildren<QDialog *>().isEmpty()) << "each screen is destroyed when it closes";
}

} // namespace
