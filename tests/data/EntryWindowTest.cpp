#include "RecordsFixture.h"

#include "DataSetModel.h"
#include "Inserimento.h"
#include "platform/DynamicLibrary.h"

#include <taskgate/plugin.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace tg;
using namespace tg::test;
using taskgate_entry::TInserimentoForm;

namespace {

class EntryWindow : public Workstations {
protected:
    void SetUp() override
    {
        Workstations::SetUp();
        exec({QStringLiteral("SET GENERATOR CODICETABXCOUNTER TO 100")});
    }

    // Opens the grid's editor on a cell and types a text into it; false
    // when no editor opened (the edit was refused).
    static bool type(TInserimentoForm &window, int row, const QString &column, const QString &text)
    {
        const int col = window.DataSetTabella.fieldIndex(column);
        const QModelIndex cell = window.model()->index(row, col);
        window.GridTabella->setCurrentIndex(cell);
        window.GridTabella->edit(cell);
        auto *editor = window.GridTabella->findChild<QLineEdit *>();
        if (!editor)
            return false;
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits on the next pass of the event loop; the
        // closed editor goes then, so that the next edit finds its own.
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return true;
    }
};

TEST_F(EntryWindow, TwoWindowsOnOneRow)
{
    TInserimentoForm a(first, QStringLiteral("TABX"), QStringLiteral("CODICETABXCOUNTER"));
    TInserimentoForm b(second, QStringLiteral("TABX"), QStringLiteral("CODICETABXCOUNTER"));
    a.show();
    b.show();
    ASSERT_EQ(a.model()->rowCount(), 3);
    EXPECT_EQ(picture(*a.ButtonSalva), QColor(Qt::green));

    ASSERT_TRUE(type(a, 1, QStringLiteral("TESTO"), QStringLiteral("dalla griglia")));
    EXPECT_EQ(tag(*a.ButtonSalva), 1);
    EXPECT_EQ(picture(*a.ButtonSalva), QColor(Qt::red));
    EXPECT_EQ(a.model()->index(1, 6).data().toString(), QStringLiteral("dalla griglia"));

    EXPECT_FALSE(type(b, 1, QStringLiteral("TESTO"), QStringLiteral("dall'altra")));
    EXPECT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages.value(0).first, MessageKind::Warning);
    EXPECT_EQ(tag(*b.ButtonSalva), 0);

    QTest::mouseClick(a.ButtonSalva, Qt::LeftButton);
    EXPECT_EQ(rows().value(1), QStringLiteral("2|dalla griglia"));
    EXPECT_EQ(tag(*a.ButtonSalva), 0);
    EXPECT_EQ(picture(*a.ButtonSalva), QColor(Qt::green));

    QTest::mouseClick(b.ButtonAggiorna, Qt::LeftButton);
    EXPECT_EQ(b.model()->index(1, 6).data().toString(), QStringLiteral("dalla griglia"));
    EXPECT_TRUE(type(b, 1, QStringLiteral("TESTO"), QStringLiteral("dall'altra")));
    QTest::mouseClick(b.ButtonSalva, Qt::LeftButton);
    EXPECT_EQ(rows().value(1), QStringLiteral("2|dall'altra"));
    EXPECT_EQ(prompter.messages.size(), 1);
}

TEST_F(EntryWindow, NewRowsCancelDeleteAndClose)
{
    TInserimentoForm window(first, QStringLiteral("TABX"), QStringLiteral("CODICETABXCOUNTER"));
    window.show();

    QTest::mouseClick(window.ButtonNuovo, Qt::LeftButton);
    EXPECT_EQ(window.model()->rowCount(), 4);
    EXPECT_EQ(window.DataSetTabella.fieldByName(QStringLiteral("CODICE")).asInteger(), 101);
    EXPECT_EQ(tag(*window.ButtonSalva), 1);
    QTest::mouseClick(window.ButtonAnnulla, Qt::LeftButton); // answered Yes
    EXPECT_EQ(window.model()->rowCount(), 3);

    QTest::mouseClick(window.ButtonNuovo, Qt::LeftButton);
    ASSERT_TRUE(type(window, window.DataSetTabella.recNo(), QStringLiteral("NOME"), QStringLiteral("nuovo")));
    QTest::mouseClick(window.ButtonSalva, Qt::LeftButton);
    EXPECT_EQ(rows(QStringLiteral("SELECT CODICE,NOME FROM TABX WHERE CODICE>3")), QStringList{QStringLiteral("102|nuovo")});

    window.GridTabella->setCurrentIndex(window.model()->index(0, 0));
    QTest::mouseClick(window.ButtonElimina, Qt::LeftButton);
    EXPECT_EQ(rows().value(0), QStringLiteral("2|b"));
    EXPECT_EQ(window.model()->rowCount(), 3);

    // Closing with pending changes answered No drops them.
    ASSERT_TRUE(type(window, 0, QStringLiteral("TESTO"), QStringLiteral("perso")));
    prompter.answers = {MessageAnswer::No};
    window.close();
    EXPECT_EQ(prompter.texts().last(), QStringLiteral("Salvare le modifiche apportate?"));
    first.IBTransaction1.commit();
    EXPECT_EQ(rows().value(0), QStringLiteral("2|b"));
}

TEST_F(EntryWindow, NewPutsTheFocusInTheNewRowAndCtrlSSaves)
{
    TInserimentoForm window(first, QStringLiteral("TABX"), QStringLiteral("CODICETABXCOUNTER"));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    window.ButtonNuovo->setFocus();
    QTest::keyClick(window.ButtonNuovo, Qt::Key_Space);
    ASSERT_EQ(window.model()->rowCount(), 4);
    const QModelIndex current = window.GridTabella->currentIndex();
    EXPECT_EQ(current.row(), 3);
    EXPECT_EQ(current.column(), 1) << "the first field after the key the generator gave";
    EXPECT_EQ(QApplication::focusWidget(), window.GridTabella);

    // Typing opens the field's editor; Ctrl+S saves with the text still in it.
    for (const char *key : {"P", "R", "G"})
        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(key));
    ASSERT_NE(qobject_cast<QLineEdit *>(QApplication::focusWidget()), nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(rows(QStringLiteral("SELECT CODICE,CODPROGETTO FROM TABX WHERE CODICE>3")),
              QStringList{QStringLiteral("101|PRG")});
    EXPECT_EQ(tag(*window.ButtonSalva), 0);
}

TEST_F(EntryWindow, PluginOpensTheWindowOnTheUsersArchive)
{
    app.execUser({QStringLiteral("INSERT INTO UTENTI (CODICE,NOMEUTENTE,DITTA) VALUES (7,'MARIO','ROSSI SPA')"),
                  QStringLiteral("INSERT INTO TABQUADREL (UTENTE,INTESTAZIONE,PARAMETRO,VALORE) "
                                 "VALUES (7,'ROSSI SPA','Archivio','%1')")
                      .arg(archive)});
    ASSERT_TRUE(QFile::copy(QStringLiteral(TASKGATE_ENTRY_PLUGIN), app.path() + QStringLiteral("demoinserimento.so")));
    void *plugin = DynamicLibrary::load(QStringLiteral("demoinserimento.dll"));
    ASSERT_NE(plugin, nullptr);
    auto entry = reinterpret_cast<TaskgateEntryX>(DynamicLibrary::symbol(plugin, QStringLiteral("ApriInserimentoX")));
    ASSERT_NE(entry, nullptr);
    entry(7, 0);

    QWidget *opened = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("InserimentoForm") && widget->isVisible())
            opened = widget;
    }
    ASSERT_NE(opened, nullptr);
    auto *grid = opened->findChild<QTableView *>(QStringLiteral("GridTabella"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_TRUE(prompter.messages.isEmpty());
    opened->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
