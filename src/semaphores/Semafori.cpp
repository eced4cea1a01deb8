#include "semaphores/Semafori.h"

#include "data/TabX.h"
#include "db/DatabaseError.h"
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
#include <exception>

namespace tg {
namespace {

// The designed window is 560 by 242 pixels with its frame; the controls are
// placed in its client area, and those anchored to the right or bottom edge
// keep their distance to it when the window is resized.
constexpr int DesignedClientWidth = 552;
constexpr int DesignedClientHeight = 208;

// The rows of the last reading of the taken semaphores, as the grid shows them.
class SemaphoresSource : public QAbstractTableModel {
public:
    explicit SemaphoresSource(TSemaforiForm *form) : QAbstractTableModel(form), m_form(form)
    {
        setObjectName(QStringLiteral("SourceSemafori"));
    }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_form->semafori().rowCount();
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_form->semafori().columns().size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        switch (role) {
        case Qt::DisplayRole: return m_form->semafori().rows()[index.row()].value(index.column());
        case Qt::BackgroundRole: return QBrush(m_form->cellColour(index.row()));
        case Qt::ForegroundRole: return QBrush(Qt::black);
        default: return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return m_form->semafori().columns().value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    void beginReload() { beginResetModel(); }
    void endReload() { endResetModel(); }
    // The selection changed: every cell is painted again.
    void selectionChanged()
    {
        if (rowCount() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
    }

private:
    TSemaforiForm *m_form;
};

// Hands the painting of every data cell to the screen.
class SemaphoreCellPainter : public QStyledItemDelegate {
public:
    explicit SemaphoreCellPainter(TSemaforiForm *form) : QStyledItemDelegate(form), m_form(form) {}
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        m_form->GridSemaforiDrawDataCell(painter, option, index);
    }

private:
    TSemaforiForm *m_form;
};

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
    } catch (const db::DatabaseError &) {
        showMessage(MessageKind::Error, MissingTableMessage);
    }
}

TSemaforiForm::~TSemaforiForm()
{
    // The grid and its rows ask this screen for their values and colours:
    // they go before the screen's own members do.
    delete GridSemafori;
    delete SourceSemafori;
}

void TSemaforiForm::createControls()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11); // 8 points on a 96 dpi screen
    setFont(font);

    Label1 = new QLabel(QStringLiteral("F3 o doppio click per selezionare / deselezionare"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont labelFont(QStringLiteral("MS Sans Serif"));
    labelFont.setPixelSize(11);
    Label1->setFont(labelFont);
    QPalette teal = Label1->palette();
    teal.setColor(QPalette::WindowText, QColor(0x00, 0x80, 0x80));
    Label1->setPalette(teal);
    Label1->adjustSize();

    SourceSemafori = new SemaphoresSource(this);
    GridSemafori = new QTableView(this);
    GridSemafori->setObjectName(QStringLiteral("GridSemafori"));
    GridSemafori->setModel(SourceSemafori);
    GridSemafori->setItemDelegate(new SemaphoreCellPainter(this));
    GridSemafori->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridSemafori->setSelectionMode(QAbstractItemView::SingleSelection);
    GridSemafori->verticalHeader()->hide();
    GridSemafori->installEventFilter(this);
    GridSemafori->viewport()->installEventFilter(this);

    ButtonSel = button(QStringLiteral("&Seleziona tutte"), "ButtonSel", this);
    ButtonDeSel = button(QStringLiteral("&Deseleziona tutte"), "ButtonDeSel", this);
    ButtonLiberaSemafori = button(QStringLiteral("&Libera semafori"), "ButtonLiberaSemafori", this);
    ButtonChiudi = button(QStringLiteral("Chiudi"), "ButtonChiudi", this);
    connect(ButtonSel, &QPushButton::clicked, this, &TSemaforiForm::ButtonSelClick);
    connect(ButtonDeSel, &QPushButton::clicked, this, &TSemaforiForm::ButtonDeSelClick);
    connect(ButtonLiberaSemafori, &QPushButton::clicked, this, &TSemaforiForm::ButtonLiberaSemaforiClick);
    connect(ButtonChiudi, &QPushButton::clicked, this, &TSemaforiForm::ButtonChiudiClick);

    resize(DesignedClientWidth, DesignedClientHeight);
    const QSize screen = ScreenSize::current();
    move((screen.width() - DesignedClientWidth) / 2, (screen.height() - DesignedClientHeight) / 2);
    placeControls();
    GridSemafori->setFocus();
}

void TSemaforiForm::placeControls()
{
    // The grid follows all four edges; the buttons keep to the right edge,
    // "Chiudi" to the bottom right corner.
    const int grownWidth = width() - DesignedClientWidth;
    const int grownHeight = height() - DesignedClientHeight;
    Label1->move(8, 7);
    GridSemafori->setGeometry(8, 24, 424 + grownWidth, 178 + grownHeight);
    ButtonSel->setGeometry(439 + grownWidth, 24, 105, 25);
    ButtonDeSel->setGeometry(439 + grownWidth, 49, 105, 25);
    ButtonLiberaSemafori->setGeometry(439 + grownWidth, 74, 105, 25);
    ButtonChiudi->setGeometry(439 + grownWidth, 179 + grownHeight, 105, 25);
}

void TSemaforiForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeControls();
}

bool TSemaforiForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == GridSemafori->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // The row under the pointer becomes current before its selection toggles.
        const QModelIndex at = GridSemafori->indexAt(static_cast<QMouseEvent *>(event)->position().toPoint());
        if (at.isValid())
            GridSemafori->setCurrentIndex(at);
        GridSemaforiDblClick();
        return true;
    }
    if (watched == GridSemafori && event->type() == QEvent::KeyRelease) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat())
            GridSemaforiKeyUp(key->key());
    }
    return QDialog::eventFilter(watched, event);
}

int TSemaforiForm::currentRow() const
{
    const QModelIndex current = GridSemafori->currentIndex();
    return current.isValid() ? current.row() : -1;
}

bool TSemaforiForm::isSelected(int row) const
{
    return m_semafori.rowCount() > 0 && Selezione.contains(m_semafori.id(row));
}

QColor TSemaforiForm::cellColour(int row) const
{
    return GridSemafori->palette().color(isSelected(row) ? QPalette::Highlight : QPalette::Base);
}

void TSemaforiForm::GridSemaforiDrawDataCell(QPainter *painter, const QStyleOptionViewItem &option,
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
        focus.initFrom(GridSemafori);
        focus.rect = option.rect;
        focus.state = option.state | QStyle::State_KeyboardFocusChange;
        focus.backgroundColor = cellColour(index.row());
        GridSemafori->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, GridSemafori);
    }
    painter->restore();
}

void TSemaforiForm::repaintGrid()
{
    static_cast<SemaphoresSource *>(SourceSemafori)->selectionChanged();
    GridSemafori->viewport()->update();
}

void TSemaforiForm::reloadGrid()
{
    auto *source = static_cast<SemaphoresSource *>(SourceSemafori);
    source->beginReload();
    try {
        m_semafori.carica();
    } catch (...) {
        source->endReload();
        throw;
    }
    source->endReload();
    if (m_semafori.rowCount() > 0)
        GridSemafori->setCurrentIndex(SourceSemafori->index(0, 0));
}

void TSemaforiForm::GridSemaforiDblClick()
{
    const QString id = m_semafori.id(currentRow());
    if (id.isEmpty())
        return;
    if (!Selezione.removeOne(id))
        Selezione << id;
    repaintGrid();
}

void TSemaforiForm::GridSemaforiKeyUp(int key)
{
    if (key == Qt::Key_F3)
        GridSemaforiDblClick();
}

void TSemaforiForm::ButtonSelClick()
{
    // Each ID once, and no empty one: rows sharing an ID are selected
    // together, and a row without ID cannot be released by its ID (an empty
    // ID would make the whole release fail).
    Selezione.clear();
    for (int row = 0; row < m_semafori.rowCount(); ++row) {
        const QString id = m_semafori.id(row);
        if (!id.isEmpty() && !Selezione.contains(id))
            Selezione << id;
    }
    if (m_semafori.rowCount() > 0)
        GridSemafori->setCurrentIndex(SourceSemafori->index(0, qMax(0, GridSemafori->currentIndex().column())));
    repaintGrid();
}

void TSemaforiForm::ButtonDeSelClick()
{
    Selezione.clear();
    repaintGrid();
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

void TSemaforiForm::ButtonChiudiClick()
{
    close();
}

} // namespace tg
