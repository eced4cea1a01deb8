// Texts of the main window stay readable and inside their controls at the
// two screen sizes a terminal has: 800 by 600 and 1024 by 768.

#include "AppDirectory.h"
#include "TestSupport.h"

#include "companies/AbilitaDitte.h"
#include "companies/MemoQuadrel.h"
#include "companies/SelDir.h"
#include "data/TabX.h"
#include "platform/ScreenSize.h"
#include "semaphores/Semafori.h"
#include "sessions/Sessioni.h"
#include "shell/BaseMain.h"
#include "shell/SpinButton.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tg;
using namespace tg::test;

namespace {

// The height of what is painted in the button's text colour.
int arrowHeight(QToolButton *button)
{
    const QImage image = button->grab().toImage();
    const QColor ink = button->palette().color(QPalette::Active, QPalette::ButtonText);
    int top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - ink.red()) + std::abs(pixel.green() - ink.green())
                    + std::abs(pixel.blue() - ink.blue()) < 60) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return bottom < 0 ? 0 : bottom - top + 1;
}

class ShellScale : public ::testing::TestWithParam<QSize> {
protected:
    ShellScale() { ScreenSize::override(GetParam()); }
    ~ShellScale() override
    {
        ScreenSize::override(QSize());
        QApplication::setFont(m_applicationFont);
    }

    QFont m_applicationFont = QApplication::font();
    AppDirectory app;
    RecordingPrompter prompter;
};

TEST_P(ShellScale, TextsAreReadableAndInsideTheirControls)
{
    const QString button = QStringLiteral("INSERT INTO PULSANTONI (ID,PROGETTO,VISIBILE,POS_X,POS_Y,LARGHEZZA,ALTEZZA,NOME,"
                                          "NOMEIMMAGINE) VALUES (1,2,'1',10,10,200,120,'Cambio utente','utente.bmp')");
    QImage glyph(32, 32, QImage::Format_RGB32);
    glyph.fill(Qt::darkBlue);
    ASSERT_TRUE(glyph.save(app.path() + QStringLiteral("Grafica/utente.bmp"), "BMP"));
    app.execUser({button});
    TBaseMainForm form;
    const double windowPoints = form.font().pointSizeF();
    ASSERT_GT(windowPoints, 15.0) << "the window's font grows with the screen";

    // Default layout: the password's masking characters as large as the rest.
    EXPECT_GE(form.EditPassword1->font().pointSizeF(), windowPoints);
    EXPECT_GE(QFontMetrics(form.EditPassword1->font()).height() * 2, form.EditPassword1->height())
        << "the text fills at least half the field";
    EXPECT_LE(QFontMetrics(form.EditPassword1->font()).height(), form.EditPassword1->height());

    // List layout: the whole prompt above the list, the password field clear
    // of the arrows, arrows as large as their buttons allow.
    const QRect prompt = QFontMetrics(form.Label6->font())
                             .boundingRect(QRect(0, 0, form.Label6->width(), 10000), Qt::TextWordWrap, form.Label6->text());
    const int promptTop = form.Label6->y()
                          + ((form.Label6->alignment() & Qt::AlignTop) ? 0 : (form.Label6->height() - prompt.height()) / 2);
    EXPECT_LE(promptTop + prompt.height(), form.ListaUtenti2->y());
    EXPECT_GE(prompt.height(), 2 * QFontMetrics(form.Label6->font()).height()) << "both of its lines";
    EXPECT_LT(form.EditPassword2->geometry().bottom(), form.SpinButtonLista->y());
    form.NotebookMain->setCurrentWidget(form.ModalitaLista);
    form.show();
    EXPECT_GE(arrowHeight(form.SpinButtonLista->upButton()), form.SpinButtonLista->upButton()->height() / 5);

    // One size for the whole program: a message box and the system menu
    // read as large as the window.
    EXPECT_DOUBLE_EQ(QApplication::font().pointSizeF(), windowPoints);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Taskgate"), QStringLiteral("Salvare?"),
                    QMessageBox::Yes | QMessageBox::No);
    EXPECT_DOUBLE_EQ(box.font().pointSizeF(), windowPoints);
    QApplication::processEvents(); // the change of the program's font reaches the menus
    EXPECT_DOUBLE_EQ(form.N1->font().pointSizeF(), windowPoints);

    // The picture button's caption, made smaller, stays inside its stored size.
    form.setProgetto(2);
    form.CaricaProgrammi();
    ASSERT_EQ(form.pulsantoni().size(), 1);
    QPushButton *picture = form.pulsantoni().first();
    EXPECT_EQ(picture->size(), QSize(200, 120)) << "the stored size";
    const int caption = QFontMetrics(picture->font()).horizontalAdvance(picture->text());
    EXPECT_LE(caption + picture->iconSize().width(), picture->width() - 8);
    EXPECT_GE(picture->font().pointSizeF(), 8.0);
}

// Every push button of a screen framed, its caption inside it, in the
// program's font; the screen inside the workstation's screen.
void expectReadableScreen(QWidget &screen, double windowPoints)
{
    SCOPED_TRACE(screen.objectName().toStdString());
    screen.show();
    EXPECT_DOUBLE_EQ(screen.font().pointSizeF(), windowPoints);
    EXPECT_LE(screen.width(), ScreenSize::current().width());
    EXPECT_LE(screen.height(), ScreenSize::current().height());
    QList<QPushButton *> buttons = screen.findChildren<QPushButton *>();
    buttons.removeIf([&screen](QPushButton *button) { return !button->isVisibleTo(&screen); });
    ASSERT_FALSE(buttons.isEmpty());
    for (QPushButton *button : std::as_const(buttons)) {
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_FALSE(button->isFlat());
        EXPECT_DOUBLE_EQ(button->font().pointSizeF(), windowPoints);
        QString caption = button->text();
        caption.remove(QLatin1Char('&'));
        EXPECT_LE(button->fontMetrics().horizontalAdvance(caption), button->width() - 8);
        EXPECT_GE(button->height(), button->fontMetrics().height() + 4);
        EXPECT_TRUE(screen.rect().contains(QRect(button->mapTo(&screen, QPoint()), button->size())));
    }
}

TEST_P(ShellScale, SystemScreensReadInTheWindowsFont)
{
    TBaseMainForm form;
    const double windowPoints = form.font().pointSizeF();
    ASSERT_GT(windowPoints, 15.0);

    TSessioniForm sessions(&form, form.PTabX.get());
    expectReadableScreen(sessions, windowPoints);
    // The grid's first header whole, however large its text.
    const int header = sessions.GridSessioni->horizontalHeader()->sectionSizeHint(0);
    EXPECT_GE(sessions.GridSessioni->columnWidth(0), header);
    EXPECT_GT(sessions.GridSessioni->width(), sessions.GridSessioni->columnWidth(0));

    TSemaforiForm semaphores(&form, form.PTabX.get());
    expectReadableScreen(semaphores, windowPoints);

    TMemoQuadrelForm editor(&form, nullptr);
    expectReadableScreen(editor, windowPoints);
    EXPECT_LT(editor.ButtonOk->geometry().right(), editor.ButtonCancel->x());
    EXPECT_LT(editor.ButtonFile->geometry().bottom(), editor.MemoQD->y());

    TAbilitaDitteForm companies(&editor, nullptr);
    expectReadableScreen(companies, windowPoints);
    TSelDirForm folder(&editor);
    expectReadableScreen(folder, windowPoints);
}

INSTANTIATE_TEST_SUITE_P(Screens, ShellScale, ::testing::Values(QSize(800, 600), QSize(1024, 768)),
                         [](const auto &info) {
                             return std::to_string(info.param.width()) + "x" + std::to_string(info.param.height());
                         });

} // namespace
