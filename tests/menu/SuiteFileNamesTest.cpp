// File names from the suite's tables, written on a disk that ignores letter
// case and separates folders with "\", found on a case-sensitive one.

#include "AppDirectory.h"
#include "SuiteRows.h"
#include "TestSupport.h"

#include "data/TabX.h"
#include "menu/NavigationBar.h"
#include "platform/DynamicLibrary.h"
#include "platform/ScreenSize.h"
#include "shell/BaseMain.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

void writeImage(const QString &path, const char *format)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(path, format)) << path.toStdString();
}

TEST(SuiteFileNames, LibraryNamedInAnotherCaseLoadsTheBuiltPlugin)
{
    AppDirectory app(AppDirectory::Contents::Empty);
    ASSERT_TRUE(QFile::copy(QStringLiteral(TASKGATE_TEST_PLUGIN), app.path() + QStringLiteral("Clienti.so")));
    void *library = DynamicLibrary::load(QStringLiteral("CLIENTI.DLL"));
    ASSERT_NE(library, nullptr);
    EXPECT_NE(DynamicLibrary::symbol(library, QStringLiteral("TaskgateTestCalls")), nullptr);
    DynamicLibrary::unload(library);
    EXPECT_EQ(DynamicLibrary::load(QStringLiteral("CLIENTI2.DLL")), nullptr);
}

class SuitePictures : public ::testing::Test {
protected:
    SuitePictures() { ScreenSize::override(QSize(800, 600)); }
    ~SuitePictures() override { ScreenSize::override(QSize()); }
    void SetUp() override
    {
        app.execUser({rows::user(1, QStringLiteral("MARIO"), QStringLiteral("DITTA"), QStringLiteral("'ROSSI SPA'"))});
    }
    // The catalogue of a project, built by a window opened after the rows
    // were written.
    TBaseMainForm &catalogue(int project)
    {
        form = std::make_unique<TBaseMainForm>();
        form->PTabX->TabX->SetUserPerNum(1);
        form->Progetto = project;
        form->CaricaProgrammi();
        return *form;
    }
    QString picture(const QString &name) const { return app.path() + QStringLiteral("Grafica/") + name; }

    AppDirectory app;
    RecordingPrompter prompter;
    std::unique_ptr<TBaseMainForm> form;
};

TEST_F(SuitePictures, ProgramIconInAnotherCaseIsShown)
{
    writeImage(picture(QStringLiteral("clienti.ico")), "ICO");
    app.execUser({rows::program(1, QStringLiteral("Clienti"), QStringLiteral("'Clienti.ICO'")),
                  rows::program(2, QStringLiteral("Fornitori"), QStringLiteral("'Fornitori.ICO'")),
                  rows::projectProgram(5, 1), rows::projectProgram(5, 2)});
    NavigationBar *bar = catalogue(5).MenuProgrammi;
    ASSERT_EQ(bar->groupCount(), 2);
    EXPECT_EQ(bar->groupImageIndex(0), 0);
    EXPECT_EQ(bar->groupImageIndex(1), -1) << "an icon no file matches is still skipped";
}

TEST_F(SuitePictures, ButtonBitmapWithBackslashesAndAnotherCaseLoads)
{
    ASSERT_TRUE(QDir().mkpath(picture(QStringLiteral("foto"))));
    writeImage(picture(QStringLiteral("foto/MAGAZZINO.BMP")), "BMP");
    app.execUser({rows::pictureButton(1, 2, QStringLiteral("'Foto\\Magazzino.bmp'"))});
    ASSERT_NO_THROW(catalogue(2));
    ASSERT_EQ(form->Pulsantoni.size(), 1);
    EXPECT_FALSE(form->Pulsantoni.first()->icon().isNull());
    EXPECT_TRUE(prompter.messages.isEmpty());
}

class MixedSeparatorArchive : public ::testing::Test {
protected:
    void SetUp() override { module.Avvia(); }
    void connectArchive(const QString &path)
    {
        module.Inserisci(QStringLiteral("VRT"), QStringLiteral("Archivio"), QString(), path, QString(), QString(),
                         QString(), QString(), QStringLiteral("0"));
        module.ConnettiDatabase1(QStringLiteral("Archivio"));
    }

    AppDirectory app;
    RecordingPrompter prompter;
    TTabXForm module{nullptr, 0};
};

TEST_F(MixedSeparatorArchive, AttachesTheExistingDatabaseInsteadOfCreatingOne)
{
    ASSERT_TRUE(QDir().mkpath(app.path() + QStringLiteral("dati")));
    const QString archive = app.createArchive(QStringLiteral("dati/rossi.fdb"));
    connectArchive(app.path() + QStringLiteral("DATI\\Rossi.fdb"));
    ASSERT_TRUE(module.IBDatabase1.connected());
    EXPECT_EQ(module.IBDatabase1.databaseName(), archive);
    EXPECT_TRUE(prompter.messages.isEmpty()) << "nothing was created";
    EXPECT_EQ(QDir(app.path()).entryList(QDir::Files), QStringList{}) << "no file beside the folder";

    // No file matches: the backslash still separates folders.
    connectArchive(app.path() + QStringLiteral("dati\\nuovo.fdb"));
    ASSERT_TRUE(module.IBDatabase1.connected());
    EXPECT_EQ(module.IBDatabase1.databaseName(), app.path() + QStringLiteral("dati/nuovo.fdb"));
    EXPECT_TRUE(QFile::exists(app.path() + QStringLiteral("dati/nuovo.fdb")));
}

} // namespace
