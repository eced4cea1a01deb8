// Function keys of the logged-in main window (F8 user change, F9 company
// change, F12 next company) and the closing of the program: KeyCommands
// and ClosingSteps decide, the window shows and closes the other windows.

#include "data/TabX.h"
#include "layout/WindowPositions.h"
#include "shell/Application.h"
#include "shell/BaseMain.h"
#include "shell/ClosingSteps.h"
#include "shell/KeyCommands.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>

namespace tg {
namespace {

// The windows of this process on screen other than the main window (menus
// and tool tips aside): the plug-ins' windows live in this process.
QList<QPointer<QWidget>> windowsBesides(const QWidget *mainWindow)
{
    QList<QPointer<QWidget>> windows;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if (window != mainWindow && window->isVisible() && type != Qt::Popup && type != Qt::ToolTip)
            windows << window;
    }
    return windows;
}

} // namespace

bool TBaseMainForm::eventFilter(QObject *watched, QEvent *event)
{
    // The window sees every key released in it before its controls do. A
    // key it acts on is consumed, so that it is not handled again as it
    // travels up to the parents of the focused control. Errors are reported
    // here rather than left to unwind through the event delivery.
    try {
        if (event->type() == QEvent::KeyPress && pressesLoginOk(watched, static_cast<QKeyEvent *>(event)))
            return true;
        if (event->type() == QEvent::KeyRelease) {
            auto *widget = qobject_cast<QWidget *>(watched);
            const auto *key = static_cast<QKeyEvent *>(event);
            if (widget && widget->window() == this && !key->isAutoRepeat() && FormKeyUp(key->key()))
                return true;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            if (watched == LabelCambioUtente && LabelCambioUtente->isEnabled())
                CambioUtente();
            else if (watched == LabelCambioDitta && LabelCambioDitta->isEnabled())
                CambioDitta();
        }
    } catch (...) {
        reportUnhandledError(std::current_exception());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TBaseMainForm::pressesLoginOk(QObject *watched, const QKeyEvent *key)
{
    // Enter (or the keypad's Enter) anywhere on the visible login page
    // presses its OK button: the main window is no dialog, so default
    // buttons alone would not. An open list of the combo box is a window
    // of its own and keeps its Enter.
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    QWidget *page = NotebookMain->currentWidget();
    if (!widget || !page || NotebookMain->isHidden() || widget->window() != this || !page->isAncestorOf(widget))
        return false;
    (page == ModalitaLista ? ButtonOK2 : ButtonOk)->click();
    return true;
}

bool TBaseMainForm::FormKeyUp(int key)
{
    switch (KeyCommands::forKey(key, UtenteCollegato, MantieniStdMin)) {
    case KeyCommand::ChangeCompany:
        CambioDitta();
        return true;
    case KeyCommand::NextCompany:
        DittaSuccessiva();
        return true;
    case KeyCommand::ChangeUser:
        CambioUtente();
        return true;
    case KeyCommand::None:
        break;
    }
    return false;
}

void TBaseMainForm::Esci1Click()
{
    close();
}

void TBaseMainForm::closeEvent(QCloseEvent *event)
{
    if (!FormClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    emit chiusa();
}

bool TBaseMainForm::otherWindowsOnScreen() const
{
    return !windowsBesides(this).isEmpty();
}

void TBaseMainForm::closeOtherWindows()
{
    // The plug-ins' windows live on this program's services: windows that
    // nothing tracked (a call without a window id, a call log without
    // window columns) must not outlive it on screen. A window that refuses
    // to close is hidden all the same; closing one may destroy another.
    for (const QPointer<QWidget> &window : windowsBesides(this)) {
        if (!window)
            continue;
        if (!window->close() && window)
            window->hide();
    }
}

void TBaseMainForm::saveWindowPosition(int userNumber, db::Transaction &transaction)
{
    SalvaPosizioneFinestra(frameGeometry(), userNumber, 1, 1, transaction);
}

void TBaseMainForm::releaseStatements()
{
    QueryAux.close();
    QueryAux2.close();
    QueryArchivio1.close();
    m_catalogue.release();
}

void TBaseMainForm::reportError(std::exception_ptr error)
{
    reportUnhandledError(error);
}

ClosingSteps TBaseMainForm::closingSteps()
{
    return ClosingSteps(Sessioni, TransazioneMain, *this);
}

bool TBaseMainForm::FormClose()
{
    return closingSteps().close(PTabX ? PTabX->TabX : nullptr, UtenteCollegato, LogFinestre);
}

} // namespace tg
