#include "sessions/Sessioni.h"

#include "data/TabX.h"
#include "data/TabXHolder.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/ScreenSize.h"
#include "sessions/LiveSessions.h"
#include "widgets/DesignScale.h"
#include "widgets/MarkableGrid.h"

#include <QAbstractTableModel>
#include <QLabel>
#include <QPushButton>

namespace tg {
namespace {

// The designed window is 425 by 196 pixels with its frame; the controls are
// placed in its client area, and those anchored to the right or bottom edge
// keep their distance to it when the window is resized.
constexpr int DesignedClientWidth = 417;
constexpr int DesignedClientHeight = 162;

QPushButton *commandButton(const QString &caption, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    // Drawn as buttons, with their frame: flat ones read as labels.
    // Like a tool button: pressing it leaves the keyboard on the grid.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TSessioniForm::TSessioniForm(QWidget *owner, TabXHolder *holder)
    : QDialog(owner), PTabX(holder), m_sessions(QuerySessioni, QueryAux, holder->TabX->TransazioneUser)
{
    setObjectName(QStringLiteral("SessioniForm"));
    createControls();
    TTabXForm &module = *PTabX->TabX;
    QString userName;
    module.GetNomeUser(userName);
    setWindowTitle(QStringLiteral("Sessioni aperte utente:") + QLatin1Char(' ') + userName);

    // Both statements work in the module's user-database transaction, not in
    // the main window's; it is started afresh to see what is committed now.
    for (db::Query *query : {&QueryAux, &QuerySessioni}) {
        query->setDatabase(&module.IBDatabaseUser);
        query->setTransaction(&module.TransazioneUser);
    }
    try {
        m_sessions.restartTransaction();
        reloadGrid();
    } catch (...) {
        // The destructor does not run for a screen that failed to open.
        delete GridSessioni;
        throw;
    }
}

TSessioniForm::~TSessioniForm()
{
    // The grid and its rows read the sessions and marks of this screen:
    // they go before the screen's own members do.
    delete GridSessioni;
}

void TSessioniForm::createControls()
{
    // The program's font, grown with the screen; the layout grows with it.
    Label1 = new QLabel(QStringLiteral("F3 o doppio click per selezionare / deselezionare"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QPalette teal = Label1->palette();
    teal.setColor(QPalette::WindowText, QColor(0x00, 0x80, 0x80));
    Label1->setPalette(teal);

    GridSessioni = new MarkableGrid(MarkableGrid::rowsOf(m_sessions, &OpenSessions::code), SessioniSelezionate, this);
    GridSessioni->setObjectName(QStringLiteral("GridSessioni"));
    SourceSessioni = GridSessioni->source();
    SourceSessioni->setObjectName(QStringLiteral("SourceSessioni"));

    ButtonSel = commandButton(QStringLiteral("&Seleziona tutte"), "ButtonSel", this);
    ButtonDeSel = commandButton(QStringLiteral("&Deseleziona tutte"), "ButtonDeSel", this);
    ButtonChiudiSel = commandButton(QStringLiteral("Ch&iudi selezionate"), "ButtonChiudiSel", this);
    ButtonSegnaOrfane = commandButton(QStringLiteral("Segna &orfane"), "ButtonSegnaOrfane", this);
    ButtonSegnaOrfane->setToolTip(QStringLiteral("Segna le sessioni di postazioni non più connesse"));
    ButtonChiudi = commandButton(QStringLiteral("Chiudi"), "ButtonChiudi", this);
    connect(ButtonSel, &QPushButton::clicked, this, &TSessioniForm::ButtonSelClick);
    connect(ButtonDeSel, &QPushButton::clicked, this, &TSessioniForm::ButtonDeSelClick);
    connect(ButtonChiudiSel, &QPushButton::clicked, this, &TSessioniForm::ButtonChiudiSelClick);
    connect(ButtonSegnaOrfane, &QPushButton::clicked, this, &TSessioniForm::ButtonSegnaOrfaneClick);
    connect(ButtonChiudi, &QPushButton::clicked, this, &TSessioniForm::ButtonChiudiClick);

    resize(DesignScale(*this).windowSize(QSize(DesignedClientWidth, DesignedClientHeight), ScreenSize::current()));
    centreOnScreen(*this);
    placeControls();
    GridSessioni->setFocus();
}

void TSessioniForm::placeControls()
{
    // The grid follows all four edges; the buttons keep to the right edge,
    // "Chiudi" to the bottom right corner.
    placeGridScreen(*this, Label1, GridSessioni, {ButtonSel, ButtonDeSel, ButtonChiudiSel, ButtonSegnaOrfane}, ButtonChiudi,
                    {.gridToButtons = 6, .gridBottom = 4});
}

void TSessioniForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeControls();
}

bool TSessioniForm::isMarked(int row) const
{
    return GridSessioni->isMarked(row);
}

QColor TSessioniForm::cellColour(int row) const
{
    return GridSessioni->cellColour(row);
}

void TSessioniForm::GridSessioniDrawDataCell(QPainter *painter, const QStyleOptionViewItem &option,
                                             const QModelIndex &index)
{
    GridSessioni->drawDataCell(painter, option, index);
}

void TSessioniForm::reloadGrid()
{
    GridSessioni->reload([this] {
        // Which workstations are still connected, read with the list.
        const LiveSessions live = LiveSessions::read(PTabX->TabX->IBDatabaseUser);
        m_sessions.carica(PTabX->TabX->GetNumUser(), &live);
    });
}

void TSessioniForm::GridSessioniDblClick()
{
    GridSessioni->toggleCurrentMark();
}

void TSessioniForm::GridSessioniKeyUp(int key)
{
    GridSessioni->keyUp(key);
}

void TSessioniForm::ButtonSelClick()
{
    GridSessioni->markAll();
}

void TSessioniForm::ButtonDeSelClick()
{
    GridSessioni->clearMarks();
}

void TSessioniForm::ButtonChiudiSelClick()
{
    // One reading of the clock: every session of this run gets the same
    // closing date and time.
    const QDateTime moment = Clock::current().now();
    if (Prompter::current().show(MessageKind::Confirmation,
                                 QStringLiteral("Effettuare la chiusura delle sessioni selezionate?"),
                                 MessageButtons::YesNo)
        == MessageAnswer::No)
        return;
    if (!m_sessions.chiudi(SessioniSelezionate, moment))
        showMessage(MessageKind::Error,
                    QStringLiteral("Errore interno di UPDATE: impossibile chiudere le sessioni selezionate. Riprovare"));
    reloadGrid();
}

void TSessioniForm::ButtonSegnaOrfaneClick()
{
    if (!m_sessions.liveKnown()) {
        showMessage(MessageKind::Information,
                    QStringLiteral("Impossibile sapere quali postazioni sono ancora connesse: occorre un server "
                                   "Firebird e l'accesso come SYSDBA (o con il ruolo RDB$ADMIN)."));
        return;
    }
    if (m_sessions.orfane().isEmpty()) {
        showMessage(MessageKind::Information,
                    QStringLiteral("Nessuna sessione risulta aperta da una postazione non più connessa."));
        return;
    }
    for (const QString &code : m_sessions.orfane()) {
        if (!SessioniSelezionate.contains(code))
            SessioniSelezionate << code;
    }
    GridSessioni->repaintMarks();
}

void TSessioniForm::ButtonChiudiClick()
{
    close();
}

} // namespace tg
