#include "archive/Qorin2.h"

#include "archive/ArchiveLocator.h"
#include "platform/ModalRunner.h"
#include "platform/Prompter.h"

#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

TQorIn2Form::TQorIn2Form(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("QorIn2Form"));
    setWindowTitle(QStringLiteral("Dialog"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(329, 148);
    QFont designed(QStringLiteral("Tahoma"));
    designed.setPixelSize(13);
    setFont(designed);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 313, 89);

    Label1 = new QLabel(QStringLiteral("Inserisci data e numero:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(13, 32, 140, 16);

    Edit1 = new QLineEdit(QStringLiteral("Edit1"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(24, 56, 129, 24);

    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(168, 56, 127, 24);

    OKBtn = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(93, 108, 77, 27);
    OKBtn->setDefault(true);

    CancelBtn = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(177, 108, 77, 27);

    // Tab order: right field, OK, Cancel, left field.
    setTabOrder(Edit2, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    setTabOrder(CancelBtn, Edit1);
    OKBtn->setFocus();

    connect(OKBtn, &QPushButton::clicked, this, &TQorIn2Form::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TQorIn2Form::CancelBtnClick);
}

void TQorIn2Form::OKBtnClick()
{
    ModalResult = 1;
    done(1);
}

void TQorIn2Form::CancelBtnClick()
{
    ModalResult = 2;
    done(2);
}

void TQorIn2Form::FormActivate()
{
    Edit1->setFocus(Qt::ActiveWindowFocusReason);
}

void TQorIn2Form::showEvent(QShowEvent *event)
{
    ModalResult = 0;
    if (!m_placed) {
        // Centred on the screen.
        m_placed = true;
        if (QScreen *where = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(where->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QDialog::showEvent(event);
}

void TQorIn2Form::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TQorIn2Form::keyPressEvent(QKeyEvent *event)
{
    // Esc is the Cancel button.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        CancelBtn->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

namespace tg {

void ChiediServerArchivio(QString &serverName, QString &driveLetter, const QString &directory,
                          QWidget *owner)
{
    serverName.clear();
    driveLetter.clear();
    archive::readRecordedServer(directory, serverName, driveLetter);
    if (!serverName.isEmpty())
        return;
    driveLetter.clear();

    showMessage(MessageKind::Plain, QStringLiteral("Non trovato dati.ini"));

    TQorIn2Form dialog(owner);
    dialog.setWindowTitle(QStringLiteral("Non trovato dati.ini"));
    dialog.Label1->setText(QStringLiteral(
        "Inserire il nome del computer e la lettera della sua\r\nunità disco dove risulta ospitato (o sarà ospitato) il database"));
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    dialog.setFont(font);
    // The label takes the size of its new text, 10 pixels above its place.
    dialog.Label1->resize(dialog.Label1->sizeHint());
    dialog.Label1->move(dialog.Label1->x(), dialog.Label1->y() - 10);
    dialog.Edit1->clear();

    const int answer = ModalRunner::run(dialog);
    // The code the buttons set; when no button set one, what the run gave back.
    const int code = dialog.resultCode() != 0 ? dialog.resultCode() : answer;
    if (code != 1)
        return;

    serverName = dialog.Edit1->text();
    driveLetter = dialog.Edit2->text();
    archive::writeRecordedServer(directory, serverName, driveLetter);
}

} // namespace tg
