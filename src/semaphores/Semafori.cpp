#include "semaphores/Semafori.h"

#include "data/TabX.h"
#include "data/TabXHolder.h"
#include "db/DatabaseError.h"
#include "platform/Logging.h"
#include "platform/Prompter.h"
#include "platform/ScreenSize.h"
#include "widgets/DesignScale.h"
#include "widgets/MarkableGrid.h"

#include <QAbstractTableModel>
#include <QLabel>
#include <QPushButton>
#include <exception>

namespace tg {
namespace {

// The designed window is 560 by 242 pixels with its frame; the controls are
// placed in its client area, and those anchored to the right or bottom edge
// keep their distance to it when the window is resized.
constexpr int DesignedClientWidth = 552;
constexpr int DesignedClientHeight = 208;

QPushButton *button(const QString &caption, const char *name, QWidget *parent)
{
    auto *result = new QPushButton(caption, parent);
    result->setObjectName(QString::fromLatin1(name));
    // Pressing a button leaves the keyboard on the grid.
    result->setFocusPolicy(Qt::NoFocus);
    return result;
}

const QString MissingTableMessage = QStringLiteral(
    "Errore: tabella SEMAFORIF non esistente nell'archivio corrente. Eseguire prima le manutenzioni.");

const QString HoldersUnknownMessage = QStringLiteral(
    "Impossibile sapere quali postazioni sono ancora connesse: occorre un server Firebird e l'accesso come SYSDBA "
    "(o con il ruolo RDB$ADMIN).");

} // namespace

TSemaforiForm::TSemaforiForm(QWidget *owner, TabXHolder *holder)
    : QDialog(owner), PTabX(holder), m_semafori(QuerySemafori, QueryAux, holder->TabX->IBTransaction1)
{
    setObjectName(QStringLiteral("SemaforiForm"));
    createControls();
    TTabXForm &module = *PTabX->TabX;
    QString userName;
    module.GetNomeUser(userName);
    setWindowTitle(QStringLiteral("Gestione semafori - Utente:") + QLatin1Char(' ') + userName);

    // Both statements work in the archive's own transaction, started afresh
    // so that the list shows the semaphores committed by now.
    for (db::Query *query : {&QueryAux, &QuerySemafori}) {
        query->setDatabase(&module.IBDatabase1);
        query->setTransaction(&module.IBTransaction1);
    }
    try {
        // An archive that is not connected cannot start the transaction: the
        // screen still opens, with the same error as a missing table.
        m_semafori.restartTransaction();
        reloadGrid();
    } catch (const db::DatabaseError &error) {
        qCWarning(lcSemaphores).noquote() << "Reading the semaphores of" << module.IBDatabase1.databaseName()
                                          << "failed:" << error.message();
        showMessage(MessageKind::Error, MissingTableMessage);
    }
}

TSemaforiForm::~TSemaforiForm()
{
    // The grid and its rows read the semaphores and selection of this
    // screen: they go before the screen's own members do.
    delete GridSemafori;
}

void TSemaforiForm::createControls()
{
    // The program's font, grown with the screen; the layout grows with it.
    Label1 = new QLabel(QStringLiteral("F3 o doppio click per selezionare / deselezionare"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QPalette teal = Label1->palette();
    teal.setColor(QPalette::WindowText, QColor(0x00, 0x80, 0x80));
    Label1->setPalette(teal);

    GridSemafori = new MarkableGrid(MarkableGrid::rowsOf(m_semafori, &TakenSemaphores::id), Selezione, this);
    GridSemafori->setObjectName(QStringLiteral("GridSemafori"));
    SourceSemafori = GridSemafori->source();
    SourceSemafori->setObjectName(QStringLiteral("SourceSemafori"));

    ButtonSel = button(QStringLiteral("&Seleziona tutte"), "ButtonSel", this);
    ButtonDeSel = button(QStringLiteral("&Deseleziona tutte"), "ButtonDeSel", this);
    ButtonLiberaSemafori = button(QStringLiteral("&Libera semafori"), "ButtonLiberaSemafori", this);
    ButtonSegnaOrfani = button(QStringLiteral("Segna &orfani"), "ButtonSegnaOrfani", this);
    ButtonSegnaOrfani->setToolTip(QStringLiteral("Seleziona i semafori occupati da postazioni non più connesse"));
    ButtonChiudi = button(QStringLiteral("Chiudi"), "ButtonChiudi", this);
    connect(ButtonSel, &QPushButton::clicked, this, &TSemaforiForm::ButtonSelClick);
    connect(ButtonDeSel, &QPushButton::clicked, this, &TSemaforiForm::ButtonDeSelClick);
    connect(ButtonLiberaSemafori, &QPushButton::clicked, this, &TSemaforiForm::ButtonLiberaSemaforiClick);
    connect(ButtonSegnaOrfani, &QPushButton::clicked, this, &TSemaforiForm::ButtonSegnaOrfaniClick);
    connect(ButtonChiudi, &QPushButton::clicked, this, &TSemaforiForm::ButtonChiudiClick);

    resize(DesignScale(*this).windowSize(QSize(DesignedClientWidth, DesignedClientHeight), ScreenSize::current()));
    centreOnScreen(*this);
    placeControls();
    GridSemafori->setFocus();
}

void TSemaforiForm::placeControls()
{
    // The grid follows all four edges; the buttons keep to the right edge,
    // "Chiudi" to the bottom right corner.
    placeGridScreen(*this, Label1, GridSemafori, {ButtonSel, ButtonDeSel, ButtonLiberaSemafori, ButtonSegnaOrfani}, ButtonChiudi,
                    {.gridToButtons = 7, .gridBottom = 6});
}

void TSemaforiForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeControls();
}

bool TSemaforiForm::isSelected(int row) const
{
    return GridSemafori->isMarked(row);
}

QColor TSemaforiForm::cellColour(int row) const
{
    return GridSemafori->cellColour(row);
}

void TSemaforiForm::GridSemaforiDrawDataCell(QPainter *painter, const QStyleOptionViewItem &option,
                                             const QModelIndex &index)
{
    GridSemafori->drawDataCell(painter, option, index);
}

void TSemaforiForm::reloadGrid()
{
    GridSemafori->reload([this] { m_semafori.carica(); });
}

void TSemaforiForm::GridSemaforiDblClick()
{
    GridSemafori->toggleCurrentMark();
}

void TSemaforiForm::GridSemaforiKeyUp(int key)
{
    GridSemafori->keyUp(key);
}

void TSemaforiForm::ButtonSelClick()
{
    // Each ID once, and no empty one: rows sharing an ID are selected
    // together, and a row without ID cannot be released by its ID (an empty
    // ID would make the whole release fail).
    GridSemafori->markAll();
}

void TSemaforiForm::ButtonDeSelClick()
{
    GridSemafori->clearMarks();
}

void TSemaforiForm::ButtonLiberaSemaforiClick()
{
    if (Selezione.isEmpty()) {
        showMessage(MessageKind::Error, QStringLiteral("Selezionare almeno un semaforo da liberare"));
        return;
    }
    const MessageAnswer answer = Prompter::current().show(
        MessageKind::Confirmation, QStringLiteral("Liberare i semafori selezionati?"), MessageButtons::YesNo);
    std::exception_ptr rereadFailure;
    if (answer != MessageAnswer::No) {
        if (!m_semafori.libera(Selezione))
            showMessage(MessageKind::Error,
                        QStringLiteral("Errore interno di UPDATE: impossibile liberare il semaforo selezionato. Riprovare"));
        try {
            reloadGrid();
        } catch (...) {
            // Reported after the anomaly row, which every click that
            // reached the confirmation writes.
            rereadFailure = std::current_exception();
        }
    }
    // Not guarded: a failure here reaches the top-level error report.
    m_semafori.registraAnomalia(PTabX->TabX->GetNumUser());
    if (rereadFailure)
        std::rethrow_exception(rereadFailure);
}

void TSemaforiForm::ButtonSegnaOrfaniClick()
{
    if (!m_semafori.holdersKnown()) {
        showMessage(MessageKind::Information, HoldersUnknownMessage);
        return;
    }
    if (m_semafori.orfani().isEmpty()) {
        showMessage(MessageKind::Information,
                    QStringLiteral("Nessun semaforo risulta occupato da una postazione non più connessa."));
        return;
    }
    for (const QString &id : m_semafori.orfani()) {
        if (!Selezione.contains(id))
            Selezione << id;
    }
    GridSemafori->repaintMarks();
}

void TSemaforiForm::ButtonChiudiClick()
{
    close();
}

} // namespace tg
