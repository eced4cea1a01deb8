#include "shell/Iniz.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace tg {
namespace {

QLabel *centredLabel(QWidget *parent, const char *name, const QString &text, int top)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSize(10);
    label->setFont(font);
    label->setGeometry(0, top, 292, 24);
    return label;
}

} // namespace

TInizForm::TInizForm(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("InizForm"));
    setWindowTitle(QStringLiteral("Inizializzazione"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(292, 131);
    LabelMessaggio1 = centredLabel(this, "LabelMessaggio1", QStringLiteral("Caricamento delle impostazioni"), 36);
    LabelMessaggio2 = centredLabel(this, "LabelMessaggio2", QStringLiteral("personali in corso..."), 62);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

} // namespace tg
