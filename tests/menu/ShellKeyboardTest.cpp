// The keyboard paths of the navigation bar and the picture buttons, and the
// dragging of groups and links within the bar.

#include "AppDirectory.h"
#include "TestSupport.h"

#include "data/TabX.h"
#include "menu/NavigationBar.h"
#include "platform/ScreenSize.h"
#include "shell/BaseMain.h"

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

// How much of a widget, as painted, is in the selection colour.
double highlightedShare(QWidget *widget)
{
    const QImage image = widget->grab().toImage();
    const QRgb highlight = widget->palette().color(QPalette::Active, QPalette::Highlight).rgb();
    qint64 matching = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            matching += (image.pixel(x, y) & 0xffffff) == (highlight & 0xffffff) ? 1 : 0;
    }
    return image.isNull() ? 0.0 : static_cast<double>(matching) / (image.width() * image.height());
}

QStringList texts(const QList<QToolButton *> &links)
{
    QStringList result;
    for (const QToolButton *link : links)
        result << link->text();
    return result;
}

// A bar of two groups, "Vendite" (tag 1: "Fatture" 11, "Ordini" 12) and
// "Magazzino" (tag 2: "Articoli" 21), in a window of its own.
class Bar : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(300, 400);
        auto *layout = new QVBoxLayout(&window);
        bar = new NavigationBar(&window);
        layout->addWidget(bar);
        bar->setEntryPointSize(12);
        vendite = bar->addGroup(QStringLiteral("Vendite"), 1);
        fatture = bar->addLink(vendite, QStringLiteral("Fatture"), 11);
        ordini = bar->addLink(vendite, QStringLiteral("Ordini"), 12);
        magazzino = bar->addGroup(QStringLiteral("Magazzino"), 2);
        articoli = bar->addLink(magazzino, QStringLiteral("Articoli"), 21);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    // Presses on an entry, moves past the drag distance to a point of the
    // bar (in the entry's coordinates) and releases there.
    static void drag(QToolButton *entry, QPoint to)
    {
        const QPoint from = entry->rect().center();
        QTest::mousePress(entry, Qt::LeftButton, Qt::NoModifier, from);
        const QPoint step = from + QPoint(0, (to.y() > from.y() ? 1 : -1) * (QApplication::startDragDistance() + 2));
        QTest::mouseMove(entry, step);
        QTest::mouseMove(entry, to);
        QTest::mouseRelease(entry, Qt::LeftButton, Qt::NoModifier, to);
    }
    QPoint inEntry(QToolButton *entry, QWidget *target, QPoint at) const { return entry->mapFrom(&window, target->mapTo(&window, at)); }

    QWidget window;
    NavigationBar *bar = nullptr;
    int vendite = -1, magazzino = -1;
    QToolButton *fatture = nullptr, *ordini = nullptr, *articoli = nullptr;
};

TEST_F(Bar, EnterRunsTheFocusedEntryWhichShowsInTheSelectionColour)
{
    QSignalSpy links(bar, &NavigationBar::linkClicked);
    QSignalSpy groups(bar, &NavigationBar::groupClicked);
    const double unfocused = highlightedShare(ordini);
    ordini->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(ordini->hasFocus());
    EXPECT_LT(unfocused, 0.05);
    EXPECT_GT(highlightedShare(ordini), 0.5) << "the focused entry is plainly marked";

    QTest::keyClick(ordini, Qt::Key_Return);
    ASSERT_EQ(links.size(), 1);
    EXPECT_EQ(links.at(0), (QVariantList{1, 12}));
    QTest::keyClick(ordini, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(ordini, Qt::Key_Space);
    EXPECT_EQ(links.size(), 3) << "the keypad's Enter and Space run it too";

    // Tab reaches the next group's header, whose Enter opens its program.
    QTest::keyClick(ordini, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), bar->groupHeader(magazzino));
    QTest::keyClick(bar->groupHeader(magazzino), Qt::Key_Return);
    EXPECT_EQ(groups.size(), 1);
    EXPECT_EQ(groups.value(0).value(0).toInt(), 2);
    EXPECT_EQ(bar->activeGroup(), magazzino);
}

TEST_F(Bar, GroupsAndLinksAreDraggedWithinTheBarAndKeepTheirFunctions)
{
    QSignalSpy links(bar, &NavigationBar::linkClicked);
    QSignalSpy groups(bar, &NavigationBar::groupClicked);
    QToolButton *header = bar->groupHeader(magazzino);

    // "Magazzino" dragged above "Vendite".
    drag(header, inEntry(header, bar->groupHeader(vendite), QPoint(10, 2)));
    EXPECT_EQ(bar->shownGroupOrder(), (QList<int>{magazzino, vendite}));
    EXPECT_EQ(bar->groupTag(magazzino), 2) << "build indexes and tags stay";
    EXPECT_TRUE(groups.isEmpty()) << "a drag is no click";

    // "Fatture" dragged below "Articoli", into the other group.
    QApplication::processEvents();
    drag(fatture, inEntry(fatture, articoli, QPoint(10, articoli->height() - 2)));
    EXPECT_EQ(texts(bar->links(magazzino)), (QStringList{QStringLiteral("Articoli"), QStringLiteral("Fatture")}));
    EXPECT_EQ(texts(bar->links(vendite)), QStringList{QStringLiteral("Ordini")});
    EXPECT_TRUE(links.isEmpty());

    // Within its group: "Fatture" back above "Articoli".
    QApplication::processEvents();
    drag(fatture, inEntry(fatture, articoli, QPoint(10, 1)));
    EXPECT_EQ(texts(bar->links(magazzino)), (QStringList{QStringLiteral("Fatture"), QStringLiteral("Articoli")}));

    // Released outside the bar: nothing moves.
    QApplication::processEvents();
    drag(ordini, ordini->mapFrom(&window, QPoint(bar->x() + bar->width() / 2, bar->y() - 50)));
    EXPECT_EQ(texts(bar->links(vendite)), QStringList{QStringLiteral("Ordini")});
    EXPECT_TRUE(links.isEmpty());

    // A click afterwards runs the entry's own function, of its own program.
    QApplication::processEvents();
    QTest::mouseClick(fatture, Qt::LeftButton);
    ASSERT_EQ(links.size(), 1);
    EXPECT_EQ(links.at(0), (QVariantList{1, 11}));
    // Tab follows the entries as they are shown now.
    bar->groupHeader(magazzino)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), fatture);
}

class PictureButtons : public ::testing::Test {
protected:
    PictureButtons() { ScreenSize::override(QSize(1024, 768)); }
    ~PictureButtons() override { ScreenSize::override(QSize()); }

    AppDirectory app;
    RecordingPrompter prompter;
};

TEST_F(PictureButtons, TakeTheFocusInStoredOrderAndRunWithEnterOrSpace)
{
    QImage glyph(32, 32, QImage::Format_RGB32);
    glyph.fill(Qt::darkGreen);
    ASSERT_TRUE(glyph.save(app.path() + QStringLiteral("Grafica/utente.bmp"), "BMP"));
    const QString row = QStringLiteral("INSERT INTO PULSANTONI (ID,PROGETTO,VISIBILE,POS_X,POS_Y,LARGHEZZA,ALTEZZA,NOME,"
                                       "NOMEIMMAGINE) VALUES (%1,2,'1',%2,10,200,120,'%3','utente.bmp')");
    app.execUser({row.arg(7).arg(10).arg(QStringLiteral("Clienti")),
                  row.arg(3).arg(230).arg(QStringLiteral("Cambio utente")),
                  row.arg(5).arg(10 + 230 * 2).arg(QStringLiteral("Esci"))});
    TBaseMainForm form;
    form.setProgetto(2);
    form.CaricaProgrammi();
    ASSERT_EQ(form.pulsantoni().size(), 3);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    QPushButton *first = form.pulsantoni()[0];
    first->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(first->hasFocus());
    EXPECT_GT(highlightedShare(first), 0.03) << "the focus frame";
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form.pulsantoni()[1]);
    QTest::keyClick(form.pulsantoni()[1], Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form.pulsantoni()[2]);

    QPushButton *second = form.pulsantoni()[1];
    QSignalSpy clicks(second, &QPushButton::clicked);
    QTest::keyClick(second, Qt::Key_Return);
    QTest::keyClick(second, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(second, Qt::Key_Space);
    EXPECT_EQ(clicks.size(), 3);
}

TEST(SystemMenu, OpensWithF10AndItsAccessKeyBeforeLogin)
{
    ScreenSize::override(QSize(800, 600));
    AppDirectory app;
    RecordingPrompter prompter;
    {
        TBaseMainForm form;
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, Qt::Key_F10);
        EXPECT_EQ(form.MenuPrincipale->activeAction(), form.N1->menuAction());
        EXPECT_TRUE(form.N1->isVisible()) << "F10 opens Sistema";
        form.N1->hide();
        QApplication::processEvents();
        EXPECT_EQ(QKeySequence::mnemonic(form.N1->title()), QKeySequence(Qt::ALT | Qt::Key_S));

        // A hidden system menu does not open.
        form.N1->menuAction()->setVisible(false);
        QTest::keyClick(&form, Qt::Key_F10);
        EXPECT_FALSE(form.N1->isVisible());
    }
    ScreenSize::override(QSize());
}

} // namespace
