#include "sessions/Sessioni.h"

#include "data/TabX.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/ScreenSize.h"
#include "shell/BaseMain.h"

#include <QAbstractTableModel>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>

namespace tg {
namespace {

// The designed window is 425 by 196 pixels with its frame; the controls are
// placed in its client area, and those anchored to the right or bottom edge
// keep their distance to it when the window is resized.
constexpr int DesignedClientWidth = 417;
constexpr int DesignedClientHeight = 162;

// The rows of the last reading of the open sessions, as the grid shows them.
class SessionsSource : public QAbstractTableModel {
public:
    explicit SessionsSource(TSessioniForm *form) : QAbstractTableModel(form), m_form(form)
    {
        setObjectName(QStringLiteral("SourceSessioni"));
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_form->sessioni().rowCount();
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_form->sessioni().columns().size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        switch (role) {
        case Qt::DisplayRole: return m_form->sessioni().rows()[index.row()].value(index.column());
        case Qt::BackgroundRole: return QBrush(m_form->cellColour(index.row()));
        case Qt::ForegroundRole: return QBrush(Qt::black);
        default: return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return m_form->sessioni().columns().value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    void beginReload() { beginResetModel(); }
    void endReload() { endResetModel(); }
    // The marks changed: every cell is painted again.
    void marksChanged()
    {
        if (rowCount() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
    }

private:
    TSessioniForm *m_form;
};

// Hands the painting of every data cell to the screen.
class SessionCellPainter : public QStyledItemDelegate {
public:
    explicit SessionCellPainter(TSessioniForm *form) : QStyledItemDelegate(form), m_form(form) {}
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        m_form->GridSessioniDrawDataCell(painter, option, index);
    }

private:
    TSessioniForm *m_form;
};

QPushButton *flatButton(const QString &caption, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFlat(true);
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
        delete SourceSessioni;
        throw;
    }
}

TSessioniForm::~TSessioniForm()
{
    // The grid and its rows ask this screen for their values and colours:
    // they go before the screen's own members do.
    delete GridSessioni;
    delete SourceSessioni;
}

void TSessioniForm::createControls()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11); // 8 points on a 96 dpi screen
    setFont(font);

    Label1 = new QLabel(QStringLiteral("F3 o doppio click per selezionare / deselezionare"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QPalette teal = Label1->palette();
    teal.setColor(QPalette::WindowText, QColor(0x00, 0x80, 0x80));
    Label1->setPalette(teal);
    Label1->adjustSize();

    SourceSessioni = new SessionsSource(this);
    GridSessioni = new QTableView(this);
    GridSessioni->setObjectName(QStringLiteral("GridSessioni"));
    GridSessioni->setModel(SourceSessioni);
    GridSessioni->setItemDelegate(new SessionCellPainter(this));
    GridSessioni->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridSessioni->setSelectionMode(QAbstractItemView::SingleSelection);
    GridSessioni->verticalHeader()->hide();
    GridSessioni->installEventFilter(this);
    GridSessioni->viewport()->installEventFilter(this);

    ButtonSel = flatButton(QStringLiteral("&Seleziona tutte"), "ButtonSel", this);
    ButtonDeSel = flatButton(QStringLiteral("&Deseleziona tutte"), "ButtonDeSel", this);
    ButtonChiudiSel = flatButton(QStringLiteral("Ch&iudi selezionate"), "ButtonChiudiSel", this);
    ButtonChiudi = flatButton(QStringLiteral("Chiudi"), "ButtonChiudi", this);
    connect(ButtonSel, &QPushButton::clicked, this, &TSessioniForm::ButtonSelClick);
    connect(ButtonDeSel, &QPushButton::clicked, this, &TSessioniForm::ButtonDeSelClick);
    connect(ButtonChiudiSel, &QPushButton::clicked, this, &TSessioniForm::ButtonChiudiSelClick);
    connect(ButtonChiudi, &QPushButton::clicked, this, &TSessioniForm::ButtonChiudiClick);

    resize(DesignedClientWidth, DesignedClientHeight);
    const QSize screen = ScreenSize::current();
    move((screen.width() - DesignedClientWidth) / 2, (screen.height() - DesignedClientHeight) / 2);
    placeControls();
    GridSessioni->setFocus();
}

void TSessioniForm::placeControls()
{
    // The grid follows all four edges; the buttons keep to the right edge,
    // "Chiudi" to the bottom right corner.
    const int grownWidth = width() - DesignedClientWidth;
    const int grownHeight = height() - DesignedClientHeight;
    Label1->move(8, 7);
    GridSessioni->setGeometry(8, 24, 290 + grownWidth, 134 + grownHeight);
    ButtonSel->setGeometry(304 + grownWidth, 24, 105, 25);
    ButtonDeSel->setGeometry(304 + grownWidth, 49, 105, 25);
    ButtonChiudiSel->setGeometry(304 + grownWidth, 74, 105, 25);
    ButtonChiudi->setGeometry(304 + grownWidth, 133 + grownHeight, 105, 25);
}

void TSessioniForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeControls();
}

bool TSessioniForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == GridSessioni->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // The row under the pointer becomes current before its mark toggles.
        const QModelIndex at = GridSessioni->indexAt(static_cast<QMouseEvent *>(event)->position().toPoint());
        if (at.isValid())
            GridSessioni->setCurrentIndex(at);
        GridSessioniDblClick();
        return true;
    }
    if (watched == GridSessioni && event->type() == QEvent::KeyRelease) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat())
            GridSessioniKeyUp(key->key());
    }
    return QDialog::eventFilter(watched, event);
}

int TSessioniForm::currentRow() const
{
    const QModelIndex current = GridSessioni->currentIndex();
    return current.isValid() ? current.row() : -1;
}

bool TSessioniForm::isMarked(int row) const
{
    return m_sessions.rowCount() > 0 && SessioniSelezionate.contains(m_sessions.code(row));
}

QColor TSessioniForm::cellColour(int row) const
{
    return GridSessioni->palette().color(isMarked(row) ? QPalette::Highlight : QPalette::Base);
}

void TSessioniForm::GridSessioniDrawDataCell(QPainter *painter, const QStyleOptionViewItem &option,
                                             const QModelIndex &index)
{
    painter->save();
    painter->fillRect(option.rect, cellColour(index.row()));
    painter->setClipRect(option.rect);
    painter->setFont(option.font);
    painter->setPen(Qt::black);
    painter->drawText(option.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.initFrom(GridSessioni);
        focus.rect = option.rect;
        focus.state = option.state | QStyle::State_KeyboardFocusChange;
        focus.backgroundColor = cellColour(index.row());
        GridSessioni->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, GridSessioni);
    }
    painter->restore();
}

void TSessioniForm::repaintGrid()
{
    static_cast<SessionsSource *>(SourceSessioni)->marksChanged();
    GridSessioni->viewport()->update();
}

void TSessioniForm::reloadGrid()
{
    auto *source = static_cast<SessionsSource *>(SourceSessioni);
    source->beginReload();
    try {
        m_sessions.carica(PTabX->TabX->GetNumUser());
    } catch (...) {
        source->endReload();
        throw;
    }
    source->endReload();
    // The reopened list stands on its first row.
    if (m_sessions.rowCount() > 0)
        GridSessioni->setCurrentIndex(SourceSessioni->index(0, 0));
}

void TSessioniForm::GridSessioniDblClick()
{
    // Without a current row there is nothing to mark: an empty code would
    // make every later closing fail.
    const QString code = m_sessions.code(currentRow());
    if (code.isEmpty())
        return;
    if (!SessioniSelezionate.removeOne(code))
        SessioniSelezionate << code;
    repaintGrid();
}

void TSessioniForm::GridSessioniKeyUp(int key)
{
    if (key == Qt::Key_F3)
        GridSessioniDblClick();
}

void TSessioniForm::ButtonSelClick()
{
    SessioniSelezionate.clear();
    GridSessioni->setUpdatesEnabled(false);
    for (int row = 0; row < m_sessions.rowCount(); ++row) {
        const QString code = m_sessions.code(row);
        if (!code.isEmpty() && !SessioniSelezionate.contains(code))
            SessioniSelezionate << code;
    }
    if (m_sessions.rowCount() > 0)
        GridSessioni->setCurrentIndex(SourceSessioni->index(0, qMax(0, GridSessioni->currentIndex().column())));
    GridSessioni->setUpdatesEnabled(true);
    repaintGrid();
}

void TSessioniForm::ButtonDeSelClick()
{
    SessioniSelezionate.clear();
    repaintGrid();
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

void TSessioniForm::ButtonChiudiClick()
{
    close();
}

} // namespace tg
