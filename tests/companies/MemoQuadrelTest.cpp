#include "AppDirectory.h"
#include "SuiteRows.h"
#include "TestSupport.h"
#include "WidgetTexts.h"

#include "companies/AbilitaDitte.h"
#include "companies/MemoQuadrel.h"
#include "companies/SelDir.h"
#include "data/TabX.h"
#include "platform/ModalRunner.h"
#include "platform/TextCodec.h"
#include "shell/BaseMain.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

const QString DeleteFailed = QStringLiteral(
    "Errore interno di DELETE: impossibile aggiornare la tabella TABQUADREL. Chiudere il programma e riaprirlo");
const QString InsertFailed = QStringLiteral(
    "Errore interno di INSERT: impossibile aggiornare la tabella TABQUADREL. Chiudere il programma e riaprirlo");
const QString UpdateFailed =
    QStringLiteral("Errore interno di UPDATE: impossibile aggiornare i parametri quadrel dell'utente");

void select(QListWidget *list, const QStringList &names)
{
    list->clearSelection();
    for (const QString &name : names) {
        const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1) << name.toStdString();
        for (QListWidgetItem *item : found)
            item->setSelected(true);
    }
}

// User MARIO (1) with two companies, ANNA (2) with one; the module acts for MARIO.
class MemoQuadrel : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.execUser({rows::user(1, QStringLiteral("MARIO"), QStringLiteral("DITTA"), QStringLiteral("'ROSSI SPA'")),
                      rows::user(2, QStringLiteral("ANNA"), QString(), QString()),
                      rows::parameter(1, QStringLiteral("ROSSI SPA"), QStringLiteral("Archivio"), QStringLiteral("/r.fdb"), 1),
                      rows::parameter(1, QStringLiteral("VERDI SRL"), QStringLiteral("Archivio"), QStringLiteral("/v.fdb"), 2),
                      rows::parameter(2, QStringLiteral("ALTRA"), QStringLiteral("K"), QStringLiteral("v"), 1),
                      QStringLiteral("UPDATE UTENTI SET QUADREL='[ROSSI SPA]\nArchivio=/r.fdb\n[VERDI SRL]\n"
                                     "Archivio=/v.fdb\n' WHERE CODICE=1")});
        module.Avvia();
        module.SetUserPerNum(1);
        holder.TabX = &module;
    }
    void TearDown() override { ModalRunner::install({}); }

    QString stored() const { return app.queryUserText(QStringLiteral("SELECT QUADREL FROM UTENTI WHERE CODICE=1")); }
    QStringList rows(int user = 1) const
    {
        return app.queryUserRows(QStringLiteral("SELECT INTESTAZIONE,PARAMETRO,COALESCE(VALORE,'<NULL>'),PROGRESSIVO "
                                                "FROM TABQUADREL WHERE UTENTE=%1 ORDER BY PROGRESSIVO")
                                     .arg(user));
    }
    const QStringList oldRows{QStringLiteral("ROSSI SPA|Archivio|/r.fdb|1"), QStringLiteral("VERDI SRL|Archivio|/v.fdb|2")};

    AppDirectory app;
    RecordingPrompter prompter;
    TTabXForm module{nullptr, 0};
    TabXHolder holder;
};

TEST_F(MemoQuadrel, OpensWithTheStoredTextOnItsOwnNoWaitTransaction)
{
    app.execUser({QStringLiteral("UPDATE UTENTI SET QUADREL='[ROSSI SPA]'||ASCII_CHAR(13)||ASCII_CHAR(10)||'A=1' "
                                 "WHERE CODICE=1")});
    const DesignedTextSize designed;
    TMemoQuadrelForm editor(nullptr, &holder);
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Editazione parametri quadrel - Ditta: MARIO"));
    EXPECT_EQ(editor.MemoQD->toPlainText(), QStringLiteral("[ROSSI SPA]\nA=1"));
    EXPECT_EQ(editor.TransazioneQuadrel.params(),
              (QStringList{QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait")}));
    EXPECT_EQ(editor.size(), QSize(745, 523));
    editor.show();
    editor.resize(845, 623);
    EXPECT_EQ(editor.MemoQD->geometry(), QRect(32, 24, 773, 503)) << "the text box follows all four edges";
    const QRect companies = editor.ButtonAbilitaDitte->geometry();
    EXPECT_EQ(companies.right(), 804) << "40 pixels from the right edge";
    EXPECT_EQ(companies.top(), 5);
    EXPECT_EQ(companies.height(), 18);
    EXPECT_GE(companies.width(), 72) << "the designed width, or as much as its caption needs";
    EXPECT_EQ(editor.ButtonOk->pos(), QPoint(216, 532));
}

TEST_F(MemoQuadrel, SaveDropsApostrophesAndRewritesTheRowsInTextOrder)
{
    TMemoQuadrelForm editor(nullptr, &holder);
    editor.MemoQD->setPlainText(QStringLiteral("Orfano=1\n[VERDI SRL]\nArchivio=/dati/l'archivio.fdb\nVuoto=\n"
                                               "SenzaUguale\n[ROSSI SPA]\nPROGETTO=2\n\nPerso=1"));
    RecordingObserver observer;
    editor.ButtonOk->click();
    EXPECT_EQ(editor.result(), int(QDialog::Accepted));
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();

    const QString text = QStringLiteral("Orfano=1\n[VERDI SRL]\nArchivio=/dati/larchivio.fdb\nVuoto=\n"
                                        "SenzaUguale\n[ROSSI SPA]\nPROGETTO=2\n\nPerso=1");
    EXPECT_EQ(editor.MemoQD->toPlainText(), text);
    EXPECT_EQ(stored(), QString(text).replace(QLatin1Char('\n'), QLatin1String("\r\n")));
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("VERDI SRL|Archivio|/dati/larchivio.fdb|1"),
                                   QStringLiteral("VERDI SRL|Vuoto|<NULL>|2"), QStringLiteral("ROSSI SPA|PROGETTO|2|3")}));
    EXPECT_EQ(rows(2), QStringList{QStringLiteral("ALTRA|K|v|1")}) << "another user's rows stay";
    EXPECT_TRUE(observer.statements.contains(QStringLiteral("DELETE FROM TABQUADREL WHERE UTENTE='1'")));
    EXPECT_TRUE(observer.statements.contains(QStringLiteral("INSERT INTO TABQUADREL (UTENTE,INTESTAZIONE,PARAMETRO,\n"
                                                            "VALORE,PROGRESSIVO) VALUES(\n'1',\n'VERDI SRL',\n'Vuoto',\n"
                                                            "NULL,\n'2')")));
    EXPECT_TRUE(observer.statements.contains(QStringLiteral("UPDATE UTENTI SET QUADREL='")
                                             + QString(text).replace(QLatin1Char('\n'), QLatin1String("\r\n"))
                                             + QStringLiteral("' WHERE\nCODICE='1'")));
}

TEST_F(MemoQuadrel, AccentedTextSurvivesTheTextAndTheRows)
{
    const QString text = QStringLiteral("[città]\nNota=caffè ´ 5€\u00a0netti\n");
    {
        TMemoQuadrelForm editor(nullptr, &holder);
        editor.MemoQD->setPlainText(text);
        ASSERT_TRUE(editor.Memorizzazione());
    }
    EXPECT_EQ(rows(), QStringList{QStringLiteral("città|Nota|caffè ´ 5€\u00a0netti|1")});
    // One byte per character in the suite's code page, in the text and in the row.
    EXPECT_EQ(app.queryUserText(QStringLiteral("SELECT OCTET_LENGTH(VALORE) FROM TABQUADREL WHERE UTENTE=1")),
              QString::number(toSuiteBytes(QStringLiteral("caffè ´ 5€\u00a0netti")).size()));
    EXPECT_EQ(stored(), QStringLiteral("[città]\r\nNota=caffè ´ 5€\u00a0netti\r\n"));
    TMemoQuadrelForm reopened(nullptr, &holder);
    EXPECT_EQ(reopened.testo(), text);
}

TEST_F(MemoQuadrel, MoreThan4096LinesAreAllStored)
{
    QString text = QStringLiteral("[ROSSI SPA]\n");
    for (int i = 1; i <= 5000; ++i)
        text += QStringLiteral("Parametro%1=valore del parametro numero %1\n").arg(i);
    {
        TMemoQuadrelForm editor(nullptr, &holder);
        editor.MemoQD->setPlainText(text);
        ASSERT_TRUE(editor.Memorizzazione());
    }
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(app.queryUserText(QStringLiteral("SELECT COUNT(*) FROM TABQUADREL WHERE UTENTE=1")), QStringLiteral("5000"));
    EXPECT_EQ(app.queryUserText(QStringLiteral("SELECT PARAMETRO||'='||VALORE FROM TABQUADREL WHERE UTENTE=1 "
                                               "AND PROGRESSIVO=5000")),
              QStringLiteral("Parametro5000=valore del parametro numero 5000"));
    EXPECT_EQ(stored(), QString(text).replace(QLatin1Char('\n'), QLatin1String("\r\n")));
    TMemoQuadrelForm reopened(nullptr, &holder);
    EXPECT_EQ(reopened.testo(), text);
}

TEST_F(MemoQuadrel, FailedDeleteKeepsTheOldRowsAndTheEditorOpen)
{
    app.execUser({QStringLiteral("CREATE EXCEPTION E_QD 'bloccato'"),
                  QStringLiteral("CREATE TRIGGER T_QD FOR TABQUADREL BEFORE DELETE AS BEGIN EXCEPTION E_QD; END")});
    TMemoQuadrelForm editor(nullptr, &holder);
    editor.MemoQD->setPlainText(QStringLiteral("[NUOVA]\nA=1\n"));
    editor.ButtonOk->click();
    EXPECT_EQ(prompter.texts(), QStringList{DeleteFailed});
    EXPECT_EQ(editor.result(), 0) << "the edited text is not thrown away";
    EXPECT_EQ(rows(), oldRows);
    EXPECT_EQ(stored(), QStringLiteral("[NUOVA]\r\nA=1\r\n")) << "the text is stored on its own";

    bool dialogRan = false;
    ModalRunner::install([&](QDialog &) { return dialogRan = true, int(QDialog::Rejected); });
    editor.ButtonAbilitaDitte->click();
    EXPECT_FALSE(dialogRan) << "the companies of the rows are not those of the text";
}

TEST_F(MemoQuadrel, FailedInsertRollsBackAllRowsAndASecondSaveSucceeds)
{
    TMemoQuadrelForm editor(nullptr, &holder);
    editor.MemoQD->setPlainText(QStringLiteral("[NUOVA]\nA=1\nB=") + QString(300, QLatin1Char('x')) + QStringLiteral("\nC=3\n"));
    editor.ButtonOk->click();
    EXPECT_EQ(prompter.texts(), QStringList{InsertFailed}) << "one message, then no further insert";
    EXPECT_EQ(editor.result(), 0);
    EXPECT_EQ(rows(), oldRows);
    EXPECT_TRUE(stored().startsWith(QStringLiteral("[NUOVA]\r\nA=1\r\nB=xxx")));

    editor.MemoQD->setPlainText(QStringLiteral("[NUOVA]\nA=1\nC=3\n"));
    editor.ButtonOk->click();
    EXPECT_EQ(editor.result(), int(QDialog::Accepted));
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("NUOVA|A|1|1"), QStringLiteral("NUOVA|C|3|2")}));
}

TEST_F(MemoQuadrel, FailedTextUpdateStillRewritesTheRows)
{
    app.execUser({QStringLiteral("CREATE EXCEPTION E_QD 'bloccato'"),
                  QStringLiteral("CREATE TRIGGER T_QD FOR UTENTI BEFORE UPDATE AS BEGIN EXCEPTION E_QD; END")});
    const QString before = stored();
    TMemoQuadrelForm editor(nullptr, &holder);
    editor.MemoQD->setPlainText(QStringLiteral("[NUOVA]\nA=1\n"));
    EXPECT_FALSE(editor.Memorizzazione());
    EXPECT_EQ(prompter.texts(), QStringList{UpdateFailed});
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(rows(), QStringList{QStringLiteral("NUOVA|A|1|1")});
}

TEST_F(MemoQuadrel, CancelStoresNothing)
{
    const QString before = stored();
    TMemoQuadrelForm editor(nullptr, &holder);
    editor.MemoQD->setPlainText(QStringLiteral("[NUOVA]\nA=1\n"));
    editor.ButtonCancel->click();
    EXPECT_EQ(editor.result(), int(QDialog::Rejected));
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(rows(), oldRows);
}

// The company enabling dialog, worked through its real widgets.
class CompanyEnabling : public MemoQuadrel {
protected:
    void SetUp() override
    {
        MemoQuadrel::SetUp();
        editor = std::make_unique<TMemoQuadrelForm>(nullptr, &holder);
        editor->MemoQD->setPlainText(QStringLiteral("[ROSSI SPA]\nA=1\n[VERDI SRL <INATTIVA>]\nB=2\n"
                                                    "[GIALLI]\nC=3\n[Bianchi <inattiva>]\nD=4\n"));
    }
    void TearDown() override
    {
        editor.reset();
        MemoQuadrel::TearDown();
    }
    std::unique_ptr<TMemoQuadrelForm> editor;
};

TEST_F(CompanyEnabling, MovedCompaniesAreRewrittenInTheHeadersOnOk)
{
    // The module's reads have a snapshot open from before the save.
    QString value;
    module.CaricaParametro(QStringLiteral("Archivio"), value);
    editor->MemoQD->moveCursor(QTextCursor::End);
    editor->MemoQD->insertPlainText(QStringLiteral("[NUOVA]\nE=5"));
    const QString savedText = editor->testo();
    QStringList active, inactive;
    ModalRunner::install([&](QDialog &dialog) {
        auto &form = dynamic_cast<TAbilitaDitteForm &>(dialog);
        active = items(form.ListBoxAttive);
        inactive = items(form.ListBoxDisattive);
        select(form.ListBoxAttive, {QStringLiteral("ROSSI SPA"), QStringLiteral("GIALLI")});
        form.ButtonDisattiva->click();
        select(form.ListBoxDisattive, {QStringLiteral("VERDI SRL")});
        form.ButtonAttiva->click();
        EXPECT_EQ(items(form.ListBoxAttive),
                  (QStringList{QStringLiteral("Bianchi <inattiva>"), QStringLiteral("NUOVA"), QStringLiteral("VERDI SRL")}));
        EXPECT_EQ(form.ditteDisattive(), (QStringList{QStringLiteral("GIALLI"), QStringLiteral("ROSSI SPA")}));
        form.ButtonOk->click();
        return form.result();
    });
    editor->ButtonAbilitaDitte->click();
    EXPECT_EQ(active, (QStringList{QStringLiteral("Bianchi <inattiva>"), QStringLiteral("GIALLI"), QStringLiteral("NUOVA"),
                                   QStringLiteral("ROSSI SPA")}));
    EXPECT_EQ(inactive, QStringList{QStringLiteral("VERDI SRL")});
    EXPECT_EQ(editor->testo(), QStringLiteral("[ROSSI SPA <INATTIVA>]\nA=1\n[VERDI SRL]\nB=2\n[GIALLI <INATTIVA>]\nC=3\n"
                                              "[Bianchi <inattiva>]\nD=4\n[NUOVA]\nE=5"));
    // The dialog stored the text as it was before; the rewrite waits for OK.
    editor->ButtonCancel->click();
    EXPECT_EQ(stored(), QString(savedText).replace(QLatin1Char('\n'), QLatin1String("\r\n")));
    EXPECT_TRUE(app.queryUserRows(QStringLiteral("SELECT 1 FROM TABQUADREL WHERE INTESTAZIONE='ROSSI SPA <INATTIVA>'"))
                    .isEmpty());
}

TEST_F(CompanyEnabling, ReactivatingAllLeavesNoMarkerAndCancelLeavesTheText)
{
    ModalRunner::install([](QDialog &dialog) {
        auto &form = dynamic_cast<TAbilitaDitteForm &>(dialog);
        form.ListBoxDisattive->selectAll();
        form.ButtonAttiva->click();
        form.ButtonOk->click();
        return form.result();
    });
    editor->ButtonAbilitaDitte->click();
    EXPECT_FALSE(editor->testo().contains(QStringLiteral(" <INATTIVA>")));
    editor->ButtonOk->click();
    EXPECT_EQ(rows().first(), QStringLiteral("ROSSI SPA|A|1|1"));
    EXPECT_EQ(rows().at(1), QStringLiteral("VERDI SRL|B|2|2"));

    const QString before = editor->testo();
    ModalRunner::install([](QDialog &dialog) {
        auto &form = dynamic_cast<TAbilitaDitteForm &>(dialog);
        form.ListBoxAttive->selectAll();
        form.ButtonDisattiva->click();
        form.ButtonCancel->click();
        return form.result();
    });
    editor->ButtonAbilitaDitte->click();
    EXPECT_EQ(editor->testo(), before);
}

class PathButtons : public MemoQuadrel {
protected:
    TempDir dir;
};

TEST_F(PathButtons, FileReplacesTheSelectionWithTheChosenPath)
{
    const QString file = dir.file(QStringLiteral("archivio.fdb"));
    QFile(file).open(QIODevice::WriteOnly);
    TMemoQuadrelForm editor(nullptr, &holder);
    editor.MemoQD->setPlainText(QStringLiteral("[A]\nArchivio=VECCHIO\nB=1"));
    QTextCursor cursor = editor.MemoQD->textCursor();
    cursor.setPosition(13);
    cursor.setPosition(20, QTextCursor::KeepAnchor); // "VECCHIO"
    editor.MemoQD->setTextCursor(cursor);

    ModalRunner::install([](QDialog &dialog) {
        EXPECT_EQ(dialog.objectName(), QStringLiteral("DialogApri"));
        dialog.reject();
        return dialog.result();
    });
    editor.ButtonFile->click();
    EXPECT_EQ(editor.testo(), QStringLiteral("[A]\nArchivio=VECCHIO\nB=1"));

    ModalRunner::install([&](QDialog &dialog) {
        auto &files = dynamic_cast<QFileDialog &>(dialog);
        files.selectFile(file);
        dialog.accept(); // QFileDialog's own accept, which checks the file
        return files.result();
    });
    editor.ButtonFile->click();
    EXPECT_EQ(editor.testo(), QStringLiteral("[A]\nArchivio=") + QDir::toNativeSeparators(file) + QStringLiteral("\nB=1"));
}

TEST_F(PathButtons, PercorsoInsertsTheChosenFolderWithItsSeparator)
{
    QDir(dir.path()).mkpath(QStringLiteral("dati/2024"));
    TMemoQuadrelForm editor(nullptr, &holder);
    editor.MemoQD->setPlainText(QStringLiteral("Percorso="));
    editor.MemoQD->moveCursor(QTextCursor::End);
    QStringList shown;
    ModalRunner::install([&](QDialog &dialog) {
        auto &form = dynamic_cast<TSelDirForm &>(dialog);
        EXPECT_EQ(form.DirectoryListBox1->directory(), QDir::currentPath());
        form.DirectoryListBox1->setDirectory(dir.path());
        QTreeWidgetItem *item = form.DirectoryListBox1->itemForPath(dir.path() + QStringLiteral("dati"));
        EXPECT_NE(item, nullptr);
        if (item)
            emit form.DirectoryListBox1->itemActivated(item, 0);
        shown.clear();
        for (QTreeWidgetItemIterator it(form.DirectoryListBox1); *it; ++it)
            shown << (*it)->text(0);
        form.ButtonOk->click();
        return form.result();
    });
    editor.ButtonPercorso->click();
    EXPECT_EQ(shown.last(), QStringLiteral("2024")) << "the subfolders of the current folder come last";
    EXPECT_EQ(editor.testo(), QStringLiteral("Percorso=") + QDir::toNativeSeparators(dir.path() + QStringLiteral("dati"))
                                  + QDir::separator())
        << "a file name written after the folder must land inside it";

    ModalRunner::install([](QDialog &dialog) {
        dynamic_cast<TSelDirForm &>(dialog).ButtonCancel->click();
        return dialog.result();
    });
    editor.ButtonPercorso->click();
    EXPECT_TRUE(editor.testo().endsWith(QStringLiteral("dati") + QDir::separator()));
}

TEST_F(PathButtons, DriveChooserSwitchesTheFolderList)
{
    TSelDirForm form(nullptr);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Selezione Percorso"));
    EXPECT_EQ(form.Label4->buddy(), form.DriveComboBox1);
    form.DirectoryListBox1->setDirectory(dir.path());
    const QString root = QDir::cleanPath(QStorageInfo(dir.path()).rootPath());
    ASSERT_GE(form.DriveComboBox1->findData(root), 0);
    EXPECT_EQ(form.DriveComboBox1->currentData().toString(), root) << "the drive follows the folder";
    int other = -1;
    for (int i = 0; i < form.DriveComboBox1->count() && other < 0; ++i) {
        if (i != form.DriveComboBox1->currentIndex() && QDir(form.DriveComboBox1->itemData(i).toString()).isReadable())
            other = i;
    }
    if (other < 0)
        GTEST_SKIP() << "one drive only";
    form.DriveComboBox1->setCurrentIndex(other);
    EXPECT_EQ(form.DirectoryListBox1->directory(), form.DriveComboBox1->itemData(other).toString());
    EXPECT_FALSE(form.DirectoryListBox1->setDirectory(dir.file(QStringLiteral("manca"))));
}

} // namespace
