#include "TestSupport.h"

#include "archive/Qorin2.h"
#include "archive/ArchiveLocator.h"
#include "platform/IniFile.h"
#include "platform/ModalRunner.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tg;

TEST(QorIn2Form, DesignedControlsGeometryAndTexts)
{
    TQorIn2Form form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Dialog"));
    EXPECT_EQ(form.size(), QSize(329, 148));
    EXPECT_EQ(form.minimumSize(), QSize(329, 148));
    EXPECT_EQ(form.maximumSize(), QSize(329, 148));
    EXPECT_EQ(form.font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(form.font().pixelSize(), 13);

    auto *bevel = form.findChild<QFrame *>(QStringLiteral("Bevel1"));
    ASSERT_NE(bevel, nullptr);
    EXPECT_EQ(bevel->geometry(), QRect(8, 8, 313, 89));
    EXPECT_EQ(bevel->frameShape(), QFrame::Box);

    auto *label = form.findChild<QLabel *>(QStringLiteral("Label1"));
    ASSERT_EQ(label, form.Label1);
    EXPECT_EQ(label->geometry(), QRect(13, 32, 140, 16));
    EXPECT_EQ(label->text(), QStringLiteral("Inserisci data e numero:"));

    auto *edit1 = form.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    ASSERT_EQ(edit1, form.Edit1);
    EXPECT_EQ(edit1->geometry(), QRect(24, 56, 129, 24));
    EXPECT_EQ(edit1->text(), QStringLiteral("Edit1"));

    auto *edit2 = form.findChild<QLineEdit *>(QStringLiteral("Edit2"));
    ASSERT_EQ(edit2, form.Edit2);
    EXPECT_EQ(edit2->geometry(), QRect(168, 56, 127, 24));
    EXPECT_TRUE(edit2->text().isEmpty());

    auto *ok = form.findChild<QPushButton *>(QStringLiteral("OKBtn"));
    ASSERT_EQ(ok, form.OKBtn);
    EXPECT_EQ(ok->geometry(), QRect(93, 108, 77, 27));
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(ok->icon().isNull());

    auto *cancel = form.findChild<QPushButton *>(QStringLiteral("CancelBtn"));
    ASSERT_EQ(cancel, form.CancelBtn);
    EXPECT_EQ(cancel->geometry(), QRect(177, 108, 77, 27));
    EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));
    EXPECT_FALSE(cancel->icon().isNull());

    EXPECT_EQ(form.resultCode(), 0);
}

TEST(QorIn2Form, OkSetsOneAndCloses)
{
    TQorIn2Form form;
    form.show();
    QTest::mouseClick(form.OKBtn, Qt::LeftButton);
    EXPECT_EQ(form.resultCode(), 1);
    EXPECT_EQ(form.result(), 1);
    EXPECT_FALSE(form.isVisible());
}

TEST(QorIn2Form, CancelSetsTwoAndCloses)
{
    TQorIn2Form form;
    form.show();
    QTest::mouseClick(form.CancelBtn, Qt::LeftButton);
    EXPECT_EQ(form.resultCode(), 2);
    EXPECT_FALSE(form.isVisible());
}

TEST(QorIn2Form, EscIsCancelAndClosingLeavesZero)
{
    TQorIn2Form form;
    form.show();
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(form.resultCode(), 2);
    EXPECT_FALSE(form.isVisible());

    form.show();
    EXPECT_EQ(form.resultCode(), 0) << "the code starts from 0 at every opening";
    form.close();
    EXPECT_EQ(form.resultCode(), 0);
    EXPECT_FALSE(form.isVisible());
}

TEST(QorIn2Form, EnterInAFieldIsOk)
{
    TQorIn2Form form;
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(form.Edit1, Qt::Key_Return);
    EXPECT_EQ(form.resultCode(), 1);
}

TEST(QorIn2Form, ActivationFocusesTheLeftFieldAndTabFollowsTheDesignedOrder)
{
    TQorIn2Form form;
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(QApplication::focusWidget(), form.Edit1);

    form.Edit2->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form.OKBtn);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form.CancelBtn);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form.Edit1);
}

TEST(QorIn2Form, RunWithoutAScriptIsExecAndGivesTheButtonsCode)
{
    ModalRunner::install({});
    TQorIn2Form form;
    QTimer::singleShot(0, &form, [&form] { form.OKBtn->click(); });
    EXPECT_EQ(ModalRunner::run(form), 1);
    QTimer::singleShot(0, &form, [&form] { form.CancelBtn->click(); });
    EXPECT_EQ(ModalRunner::run(form), 2);
}

TEST(ChiediServerArchivio, RecordedServerAndLetterWithoutAnyQuestion)
{
    test::TempDir dir;
    test::RecordingPrompter prompter;
    int dialogs = 0;
    ModalRunner::install([&dialogs](QDialog &) { return ++dialogs, 0; });
    IniFile ini(dir.file(QStringLiteral("dati.ini")));
    ini.writeString(QStringLiteral("config"), QStringLiteral("nome server"), QStringLiteral("SRV"));
    ini.writeString(QStringLiteral("CONFIG"), QStringLiteral("Lettera Disco Server"), QStringLiteral("E"));
    QString server = QStringLiteral("old");
    QString letter = QStringLiteral("old");
    ChiediServerArchivio(server, letter, dir.path(), nullptr);
    ModalRunner::install({});
    EXPECT_EQ(server, QStringLiteral("SRV"));
    EXPECT_EQ(letter, QStringLiteral("E"));
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST(ChiediServerArchivio, DialogIsOwnedByTheOwnerAndCancelClearsBoth)
{
    test::TempDir dir;
    test::RecordingPrompter prompter;
    IniFile(dir.file(QStringLiteral("dati.ini")))
        .writeString(QStringLiteral("CONFIG"), QStringLiteral("Lettera Disco Server"), QStringLiteral("E"));
    QWidget owner;
    QWidget *parent = nullptr;
    ModalRunner::install([&parent](QDialog &dialog) {
        parent = dialog.parentWidget();
        return 0; // closed without a button
    });
    QString server = QStringLiteral("old");
    QString letter = QStringLiteral("old");
    ChiediServerArchivio(server, letter, dir.path(), &owner);
    ModalRunner::install({});
    EXPECT_EQ(parent, &owner);
    EXPECT_TRUE(server.isEmpty());
    EXPECT_TRUE(letter.isEmpty());
    EXPECT_EQ(prompter.messages,
              (QList<QPair<MessageKind, QString>>{{MessageKind::Plain, QStringLiteral("Non trovato dati.ini")}}));
}
