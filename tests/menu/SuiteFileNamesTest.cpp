// File names from the suite's tables, written on a disk that ignores letter
// case and separates folders with "\", found on a case-sensitive one (the
// catalogue's icons and pictures are tested with the catalogue).

#include "AppDirectory.h"
#include "TestSupport.h"

#include "data/TabX.h"
#include "platform/DynamicLibrary.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

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
