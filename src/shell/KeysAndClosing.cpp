// Function keys of the logged-in main window (F8 user change, F9 company
// change, F12 next company) and the closing of the program.

#include "companies/SelezDitta.h"
#include "data/TabX.h"
#include "layout/WindowPositions.h"
#include "menu/NavigationBar.h"
#include "platform/Prompter.h"
#include "shell/Application.h"
#include "shell/BaseMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>

namespace tg {
namespace {

// The windows of this process on screen other than the main window (menus
// and tool tips aside): the plug-ins' windows live in this process.
QList<QPointer<QWidget>> otherWindowsOnScreen(const QWidget *mainWindow)
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
    if (!UtenteCollegato || MantieniStdMin)
        return false;
    if (key == Qt::Key_F9)
        CambioDitta();
    else if (key == Qt::Key_F12)
        DittaSuccessiva();
    else if (key == Qt::Key_F8)
        CambioUtente();
    else
        return false;
    return true;
}

void TBaseMainForm::DittaSuccessiva()
{
    QString company;
    {
        TSelezDittaForm dialog(this, Edizione, PTabX.get());
        QListWidget *list = dialog.ListBoxSelDitta;
        if (list->count() == 0)
            return; // no company to step to
        const QList<QListWidgetItem *> current =
            list->findItems(PTabX->TabX->dittaCorrente(), Qt::MatchFixedString);
        const int index = current.isEmpty() ? -1 : list->row(current.first());
        const int next = index == list->count() - 1 ? 0 : index + 1;
        company = list->item(next)->text();
    }
    if (!recordCompanyAndReselectUser(company))
        return;
    showCompanyAndUserCaption();
    const int group = MenuProgrammi->activeGroup();
    if (group >= 0)
        CaricaMenu(MenuProgrammi->groupTag(group));
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

void TBaseMainForm::closeOtherWindows()
{
    // The plug-ins' windows live on this program's services: windows that
    // nothing tracked (a call without a window id, a call log without
    // window columns) must not outlive it on screen. A window that refuses
    // to close is hidden all the same; closing one may destroy another.
    for (const QPointer<QWidget> &window : otherWindowsOnScreen(this)) {
        if (!window)
            continue;
        if (!window->close() && window)
            window->hide();
    }
}

bool TBaseMainForm::refusedWhilePluginWindowsOpen(std::optional<WorkSessions::SessionState> *session)
{
    if (!LogFinestre)
        return false;
    bool open = false;
    try {
        WorkSessions::SessionState state;
        open = !Sessioni.VerificaFinestreAperte(&state);
        if (session)
            *session = state;
    } catch (...) {
        // The call log cannot be read (the server may be gone): the error
        // is shown, and the windows on screen decide, so that the user is
        // not kept in a program that can do nothing.
        reportUnhandledError(std::current_exception());
        open = !otherWindowsOnScreen(this).isEmpty();
    }
    if (open)
        showMessage(MessageKind::Warning, QStringLiteral("Chiudere prima tutte le finestre aperte"));
    return open;
}

bool TBaseMainForm::FormClose()
{
    if (!PTabX || !PTabX->TabX) {
        closeOtherWindows();
        return true;
    }
    TTabXForm *tabX = PTabX->TabX;
    if (UtenteCollegato) {
        // The check of open windows reads the session's state too.
        std::optional<WorkSessions::SessionState> session;
        if (refusedWhilePluginWindowsOpen(&session))
            return false;
        // The user is never locked in: a failure here is shown and the
        // closing goes on. The window's position is written in the
        // transaction of the check, and the session's close commits both:
        // over a network each commit costs a round trip. A failed statement
        // leaves the transaction usable, and the commit at the end of the
        // closing catches a session that was not open to close.
        try {
            SalvaPosizioneFinestra(frameGeometry(), tabX->GetNumUser(), 1, 1, TransazioneMain);
        } catch (...) {
            reportUnhandledError(std::current_exception());
        }
        try {
            Sessioni.ChiudiSessione(session ? &*session : nullptr);
        } catch (...) {
            reportUnhandledError(std::current_exception());
        }
    }
    // The other windows go while the connections still serve them (a
    // closing window releases its semaphore).
    closeOtherWindows();
    // Nothing here throws: a transaction that cannot commit is rolled back
    // or dropped, and a lost connection is let go.
    QueryAux.close();
    QueryAux2.close();
    QueryArchivio1.close();
    m_catalogue.release();
    TransazioneMain.endWithCommit();
    tabX->chiudiConnessioni();
    return true;
}

} // namespace tg
