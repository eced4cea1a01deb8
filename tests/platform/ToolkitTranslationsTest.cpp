#include "platform/QtTranslations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

using namespace tg;

namespace {

QString shown(const QAbstractButton *button)
{
    return button ? QString(button->text()).remove(QLatin1Char('&')) : QStringLiteral("<none>");
}

class ToolkitTranslations : public ::testing::Test {
protected:
    ~ToolkitTranslations() override
    {
        // A translator deleted is taken out of the application.
        qDeleteAll(qApp->findChildren<QTranslator *>(Qt::FindDirectChildrenOnly));
    }
};

TEST_F(ToolkitTranslations, StandardButtonsReadItalian)
{
    QMessageBox before(QMessageBox::Question, QStringLiteral("Taskgate"), QStringLiteral("Salvare le modifiche apportate?"),
                       QMessageBox::Yes | QMessageBox::No);
    ASSERT_EQ(shown(before.button(QMessageBox::Yes)), QStringLiteral("Yes")) << "translations already installed";

    ASSERT_EQ(installToolkitTranslations(*qApp), 1);

    QMessageBox box(QMessageBox::Question, QStringLiteral("Taskgate"), QStringLiteral("Salvare le modifiche apportate?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(shown(box.button(QMessageBox::Yes)), QStringLiteral("Sì"));
    EXPECT_EQ(shown(box.button(QMessageBox::No)), QStringLiteral("No"));
    EXPECT_EQ(shown(box.button(QMessageBox::Cancel)), QStringLiteral("Annulla"));
    QDialogButtonBox dialogButtons(QDialogButtonBox::Ok | QDialogButtonBox::Close);
    EXPECT_EQ(shown(dialogButtons.button(QDialogButtonBox::Close)), QStringLiteral("Chiudi"));
}

} // namespace
