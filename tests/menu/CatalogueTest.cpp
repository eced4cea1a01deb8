#include "AppDirectory.h"
#include "SuiteRows.h"
#include "TestSupport.h"

#include "data/TabX.h"
#include "menu/LingueMenuReader.h"
#include "menu/NavigationBar.h"
#include "platform/ScreenSize.h"
#include "shell/BaseMain.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;
using rows::Entry;

namespace {

void writeImage(const QString &path, const char *format)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(path, format)) << path.toStdString();
}

QStringList tags(const QList<QAction *> &actions)
{
    QStringList result;
    for (const QAction *action : actions)
        result << (action->isSeparator() ? QStringLiteral("-") : QString()) + action->property("tag").toString();
    return result;
}

class Catalogue : public ::testing::Test {
protected:
    Catalogue() { ScreenSize::override(QSize(800, 600)); }
    ~Catalogue() override { ScreenSize::override(QSize()); }

    void SetUp() override
    {
        app.execUser({rows::user(1, QStringLiteral("MARIO"), QStringLiteral("DITTA"), QStringLiteral("'ROSSI SPA'")),
                      rows::parameter(1, QStringLiteral("ROSSI SPA"), QStringLiteral("STAMPANTE"), QStringLiteral("LPT1"), 1)});
    }
    TBaseMainForm &window(int project)
    {
        form = std::make_unique<TBaseMainForm>();
        form->PTabX->TabX->SetUserPerNum(1);
        form->setProgetto(project);
        return *form;
    }
    QString picture(const QString &name) const { return app.path() + QStringLiteral("Grafica/") + name; }

    AppDirectory app;
    RecordingPrompter prompter;
    std::unique_ptr<TBaseMainForm> form;
};

TEST_F(Catalogue, GroupsInProgramOrderWithImageIndexesOfLoadedIconsOnly)
{
    writeImage(picture(QStringLiteral("tre.bmp")), "BMP");
    writeImage(picture(QStringLiteral("quattro.png")), "PNG");
    app.execUser({rows::program(3, QStringLiteral("Tre"), QStringLiteral("'tre.bmp'")),
                  rows::program(1, QStringLiteral("Uno"), QStringLiteral("'manca.ico'")),
                  rows::program(4, QStringLiteral("Quattro"), QStringLiteral("'quattro.png'")),
                  rows::program(2, QStringLiteral("Altro progetto")), rows::projectProgram(5, 3),
                  rows::projectProgram(5, 1), rows::projectProgram(5, 4), rows::projectProgram(6, 2),
                  menuEntry(Entry{.program = 1, .menu = 10, .caption = QStringLiteral("Rapida nascosta"), .visible = QStringLiteral("'0'"),
                                  .quick = QStringLiteral("'1'")}),
                  menuEntry(Entry{.program = 1, .menu = 5, .caption = QStringLiteral("Rapida"), .quick = QStringLiteral("'1'")}),
                  menuEntry(Entry{.program = 1, .menu = 7, .caption = QStringLiteral("Non rapida")}),
                  menuEntry(Entry{.program = 3, .menu = 1, .caption = QStringLiteral("Di tre"), .quick = QStringLiteral("'1'")})});
    TBaseMainForm &main = window(5);
    main.CaricaProgrammi();
    NavigationBar *bar = main.MenuProgrammi;
    ASSERT_EQ(bar->groupCount(), 3);
    EXPECT_EQ(bar->groupCaption(0), QStringLiteral("Uno"));
    EXPECT_EQ(bar->groupTag(1), 3);
    EXPECT_EQ(bar->groupTag(2), 4);
    EXPECT_EQ(bar->groupImageIndex(0), -1) << "a missing icon file leaves the group without image";
    EXPECT_EQ(bar->groupImageIndex(1), 0);
    EXPECT_EQ(bar->groupImageIndex(2), 1);
    EXPECT_EQ(bar->imageCount(), 2);
    EXPECT_TRUE(bar->groupHeader(0)->font().bold());
    EXPECT_EQ(main.gruppiProgrammi().size(), 3);
    QStringList quick;
    for (const QToolButton *link : main.vociRapide())
        quick << link->text() + QLatin1Char('/') + link->property("tag").toString();
    EXPECT_EQ(quick, (QStringList{QStringLiteral("Rapida/5"), QStringLiteral("Rapida nascosta/10"),
                                  QStringLiteral("Di tre/1")}))
        << "quick entries follow VOCERAPIDA alone, numbered across groups";
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->activeGroup(), 0);
    EXPECT_TRUE(prompter.messages.isEmpty());

    // A rebuild replaces everything.
    main.CaricaProgrammi();
    EXPECT_EQ(bar->groupCount(), 3);
    EXPECT_EQ(main.vociRapide().size(), 3);
    EXPECT_EQ(bar->imageCount(), 2);
}

TEST_F(Catalogue, EmptyProjectShowsAnEmptyBarWithoutActiveGroup)
{
    TBaseMainForm &main = window(9);
    main.CaricaProgrammi();
    EXPECT_FALSE(main.MenuProgrammi->isHidden());
    EXPECT_EQ(main.MenuProgrammi->groupCount(), 0);
    EXPECT_EQ(main.MenuProgrammi->activeGroup(), -1);
}

TEST_F(Catalogue, PictureButtonsTakeThePlaceOfTheBarAndOnlyBitmapsLoad)
{
    for (const char *name : {"logo.bmp", "LOGO2.BMP", "a.bmp.old"})
        writeImage(picture(QString::fromLatin1(name)), "BMP");
    app.execUser({rows::pictureButton(1, 2, QStringLiteral("'logo.bmp'")),
                  rows::pictureButton(2, 2, QStringLiteral("'LOGO2.BMP'")),
                  rows::pictureButton(3, 2, QStringLiteral("'a.bmp.old'")),
                  rows::pictureButton(4, 2, QStringLiteral("'logo.png'")),
                  rows::pictureButton(5, 2, QStringLiteral("NULL")),
                  rows::pictureButton(6, 2, QStringLiteral("'logo.bmp'"), QStringLiteral("'0'")),
                  rows::pictureButton(7, 3, QStringLiteral("'logo.bmp'"))});
    TBaseMainForm &main = window(2);
    main.CaricaProgrammi();
    EXPECT_TRUE(main.MenuProgrammi->isHidden());
    ASSERT_EQ(main.pulsantoni().size(), 5);
    QPushButton *first = main.findChild<QPushButton *>(QStringLiteral("Pulsantone_1"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->parentWidget(), main.Panel1);
    EXPECT_EQ(first->geometry(), QRect(11, 20, 100, 60)) << "stored geometry, not scaled";
    EXPECT_EQ(first->text(), QStringLiteral("Bottone 1"));
    EXPECT_EQ(first->property("tag").toInt(), 1);
    EXPECT_EQ(first->focusPolicy(), Qt::StrongFocus) << "a terminal with picture buttons is worked by keyboard too";
    for (const char *loaded : {"Pulsantone_1", "Pulsantone_2", "Pulsantone_3"})
        EXPECT_FALSE(main.findChild<QPushButton *>(QString::fromLatin1(loaded))->icon().isNull()) << loaded;
    EXPECT_TRUE(main.findChild<QPushButton *>(QStringLiteral("Pulsantone_4"))->icon().isNull());
    EXPECT_TRUE(main.findChild<QPushButton *>(QStringLiteral("Pulsantone_5"))->icon().isNull());
    EXPECT_EQ(prompter.messages,
              (QList<QPair<MessageKind, QString>>{
                  {MessageKind::Warning, QStringLiteral("I pulsantoni possono caricare solo immagini bitmap: "
                                                        "controllare l'impostazione del pulsantone")}}));

    main.setProgetto(3);
    main.CaricaProgrammi();
    EXPECT_EQ(main.pulsantoni().size(), 1) << "the previous buttons are gone";
    EXPECT_EQ(main.findChild<QPushButton *>(QStringLiteral("Pulsantone_1")), nullptr);
}

TEST_F(Catalogue, InvisibleButtonsLeaveTheBarAndAnUnreadableBitmapStopsTheBuild)
{
    app.execUser({rows::pictureButton(6, 2, QStringLiteral("'logo.bmp'"), QStringLiteral("'0'"))});
    TBaseMainForm &main = window(2);
    main.CaricaProgrammi();
    EXPECT_FALSE(main.MenuProgrammi->isHidden());
    EXPECT_TRUE(main.pulsantoni().isEmpty());

    app.execUser({rows::pictureButton(8, 4, QStringLiteral("'assente.bmp'")),
                  rows::pictureButton(9, 4, QStringLiteral("NULL"))});
    main.transazioneMain().commit();
    main.setProgetto(4);
    EXPECT_THROW(main.CaricaProgrammi(), std::exception);
    EXPECT_TRUE(main.MenuProgrammi->isHidden()) << "the bar's visibility was decided before";
}

class MenuTree : public Catalogue {
protected:
    void SetUp() override
    {
        Catalogue::SetUp();
        app.execUser({menuEntry(Entry{.program = 7, .menu = 20, .caption = QStringLiteral("Secondo")}),
                      menuEntry(Entry{.program = 7, .menu = 10, .caption = QStringLiteral("Primo")}),
                      menuEntry(Entry{.program = 7, .menu = 11, .parent = QStringLiteral("10"), .level = 1, .caption = QStringLiteral("Figlio con nipoti")}),
                      menuEntry(Entry{.program = 7, .menu = 1, .parent = QStringLiteral("10"), .level = 1, .caption = QStringLiteral("-")}),
                      menuEntry(Entry{.program = 7, .menu = 13, .parent = QStringLiteral("10"), .level = 1, .caption = QStringLiteral("Stampante: <LINEA>STAMPANTE</LINEA> (locale)"),
                                      .level2 = QStringLiteral("'1'")}),
                      menuEntry(Entry{.program = 7, .menu = 14, .parent = QStringLiteral("10"), .level = 1, .caption = QStringLiteral("Fax: <LINEA>FAX</LINEA>")}),
                      menuEntry(Entry{.program = 7, .menu = 15, .parent = QStringLiteral("11"), .level = 2, .caption = QStringLiteral("Nipote")}),
                      menuEntry(Entry{.program = 7, .menu = 16, .parent = QStringLiteral("1"), .level = 2, .caption = QStringLiteral("Sotto il separatore")}),
                      menuEntry(Entry{.program = 7, .menu = 30, .caption = QStringLiteral("Nascosto"), .visible = QStringLiteral("'0'")}),
                      menuEntry(Entry{.program = 7, .menu = 31, .parent = QStringLiteral("30"), .level = 1, .caption = QStringLiteral("Figlio del nascosto")}),
                      menuEntry(Entry{.program = 7, .menu = 40, .caption = QStringLiteral("Foglia"), .level2 = QStringLiteral("'1'")}),
                      menuEntry(Entry{.program = 8, .menu = 1, .caption = QStringLiteral("Altro programma")})});
    }
};

TEST_F(MenuTree, EntriesAreBuiltDepthFirstWithSeparatorsAndParameterCaptions)
{
    TBaseMainForm &main = window(1);
    main.CaricaMenu(7);
    EXPECT_EQ(main.menuProgram(), 7);
    EXPECT_EQ(tags(main.vociMenu()), (QStringList{QStringLiteral("10"), QStringLiteral("-1"), QStringLiteral("11"),
                                                 QStringLiteral("15"), QStringLiteral("13"), QStringLiteral("14"),
                                                 QStringLiteral("20"), QStringLiteral("40")}));
    const QList<QAction *> top = main.MenuPrincipale->actions();
    ASSERT_EQ(top.size(), 4);
    EXPECT_EQ(top[0], main.N1->menuAction());
    QMenu *first = top[1]->menu();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->title(), QStringLiteral("Primo"));
    const QList<QAction *> children = first->actions();
    ASSERT_EQ(children.size(), 4);
    EXPECT_TRUE(children[0]->isSeparator());
    EXPECT_EQ(children[0]->objectName(), QStringLiteral("N1"));
    EXPECT_TRUE(children[0]->property("clickHandler").isNull());
    EXPECT_EQ(children[1]->menu()->title(), QStringLiteral("Figlio con nipoti"));
    EXPECT_EQ(children[2]->text(), QStringLiteral("Stampante: LPT1"));
    EXPECT_EQ(children[2]->property("clickHandler"), QStringLiteral("EventoVoce2OnClick"));
    EXPECT_EQ(children[3]->text(), QStringLiteral("Fax: ")) << "a missing parameter leaves the text before the marker";
    EXPECT_EQ(children[3]->property("clickHandler"), QStringLiteral("EventoVoceOnClick"));
    EXPECT_EQ(top[3]->text(), QStringLiteral("Foglia"));
    EXPECT_EQ(top[3]->property("clickHandler"), QStringLiteral("EventoVoceOnClick"))
        << "a top-level leaf never gets the second-version handler";
    EXPECT_EQ(QString(main.N1->title()).remove(QLatin1Char('&')), QStringLiteral("Sistema")) << "a separator named N1 is not the system menu";

    main.CaricaMenu(8);
    EXPECT_EQ(tags(main.vociMenu()), QStringList{QStringLiteral("1")});
    EXPECT_EQ(main.MenuPrincipale->actions().size(), 2);
    EXPECT_EQ(main.MenuPrincipale->actions().first(), main.N1->menuAction());
}

TEST_F(MenuTree, TranslatedCaptionWithoutMarkersStandsAsItIs)
{
    app.execUser({QStringLiteral("UPDATE UTENTI SET LINGUA1=2 WHERE CODICE=1"),
                  rows::translation(7, 13, 2, QStringLiteral("'Printer'")),
                  rows::translation(7, 14, 2, QStringLiteral("'Printer: <LINEA>STAMPANTE</LINEA>'"))});
    TBaseMainForm &main = window(1);
    main.lingueMenu()->LeggiLingueUtente(1);
    main.CaricaMenu(7);
    const QList<QAction *> children = main.MenuPrincipale->actions()[1]->menu()->actions();
    EXPECT_EQ(children[2]->text(), QStringLiteral("Printer"));
    EXPECT_EQ(children[3]->text(), QStringLiteral("Printer: LPT1"));
}

class SystemMenuMode : public Catalogue, public ::testing::WithParamInterface<const char *> {};

TEST_P(SystemMenuMode, OnlyModesOneAndTwoChangeTheSystemMenu)
{
    const QString mode = QString::fromLatin1(GetParam());
    if (mode != QLatin1String("none"))
        app.execUser({QStringLiteral("INSERT INTO PROGETTI (CODICE,MODOMENUSISTEMA) VALUES (1,%1)").arg(mode)});
    TBaseMainForm &main = window(1);
    main.CheckMenuSistema();
    const bool englishExit = mode == QLatin1String("1");
    EXPECT_EQ(main.N1->menuAction()->isVisible(), mode != QLatin1String("2"));
    EXPECT_EQ(main.N1->title(), englishExit ? QStringLiteral("&System") : QStringLiteral("&Sistema"))
        << "the caption with its access key";
    EXPECT_EQ(main.Esci1->text(), englishExit ? QStringLiteral("Exit") : QStringLiteral("Esci"));
    for (QAction *entry : {main.Sessioni1, main.Gestionesemafori1, main.Accessoaquadrel1, main.N2})
        EXPECT_EQ(entry->isVisible(), !englishExit);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Modes, SystemMenuMode, ::testing::Values("1", "2", "0", "NULL", "none"));

TEST_F(Catalogue, SystemMenuStaysWhenProjectsCannotBeRead)
{
    app.execUser({QStringLiteral("DROP TABLE PROGETTI")});
    TBaseMainForm &main = window(1);
    main.CheckMenuSistema();
    EXPECT_TRUE(main.N1->menuAction()->isVisible());
    EXPECT_EQ(main.Esci1->text(), QStringLiteral("Esci"));
}

// Names written on a disk that ignores letter case and separates folders
// with "\".
TEST_F(Catalogue, IconAndPictureNamesOfAnotherCaseOrWithBackslashesAreFound)
{
    writeImage(picture(QStringLiteral("clienti.ico")), "ICO");
    ASSERT_TRUE(QDir().mkpath(picture(QStringLiteral("foto"))));
    writeImage(picture(QStringLiteral("foto/MAGAZZINO.BMP")), "BMP");
    app.execUser({rows::program(1, QStringLiteral("Clienti"), QStringLiteral("'Clienti.ICO'")),
                  rows::program(2, QStringLiteral("Fornitori"), QStringLiteral("'Fornitori.ICO'")),
                  rows::projectProgram(5, 1), rows::projectProgram(5, 2),
                  rows::pictureButton(1, 5, QStringLiteral("'Foto\\Magazzino.bmp'"))});
    TBaseMainForm &main = window(5);
    ASSERT_NO_THROW(main.CaricaProgrammi());
    NavigationBar *bar = main.MenuProgrammi;
    ASSERT_EQ(bar->groupCount(), 2);
    EXPECT_EQ(bar->groupImageIndex(0), 0);
    EXPECT_EQ(bar->groupImageIndex(1), -1) << "an icon no file matches is still skipped";
    ASSERT_EQ(main.pulsantoni().size(), 1);
    EXPECT_FALSE(main.pulsantoni().first()->icon().isNull());
    EXPECT_TRUE(prompter.messages.isEmpty());
}

} // namespace
