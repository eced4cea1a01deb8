#include "Inserimento.h"

#include "DataSetModel.h"
#include "data/TabX.h"
#include "db/DatabaseError.h"
#include "platform/Prompter.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QItemSelectionModel>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace taskgate_entry {

QWidget *LockingDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                       const QModelIndex &index) const
{
    try {
        if (!m_dataSet.moveTo(index.row()) || !m_dataSet.edit())
            return nullptr;
    } catch (const tg::db::DatabaseError &error) {
        tg::showMessage(tg::MessageKind::Error, error.message());
        return nullptr;
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
}

namespace {

QPushButton *button(const QString &objectName, const QString &text)
{
    auto *result = new QPushButton(text);
    result->setObjectName(objectName);
    return result;
}

} // namespace

TInserimentoForm::TInserimentoForm(tg::TTabXForm &module, const QString &tableName, const QString &generator,
                                   QWidget *parent)
    : QWidget(parent, Qt::Window), DataSetTabella(&module.IBDatabase1), m_module(module), m_tableName(tableName),
      m_generator(generator)
{
    setObjectName(QStringLiteral("InserimentoForm"));
    setWindowTitle(tableName);
    resize(640, 400);

    DataSetTabella.setObjectName(QStringLiteral("DataSetTabella"));
    DataSetTabella.setTableName(tableName);
    DataSetTabella.setBeforeEdit([this](tg::db::DataSet &dataSet) {
        return m_module.EventoBeforeEditDataSet(dataSet, ButtonSalva, m_tableName);
    });

    m_model = new DataSetModel(DataSetTabella, this);
    GridTabella = new QTableView;
    GridTabella->setObjectName(QStringLiteral("GridTabella"));
    GridTabella->setModel(m_model);
    GridTabella->setItemDelegate(new LockingDelegate(DataSetTabella, GridTabella));
    GridTabella->setSelectionBehavior(QAbstractItemView::SelectItems);
    GridTabella->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                 | QAbstractItemView::AnyKeyPressed);
    // Leaving a row posts its pending change, as the suite's grids do.
    connect(GridTabella->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (!current.isValid() || current.row() == DataSetTabella.recNo())
                    return;
                try {
                    DataSetTabella.moveTo(current.row());
                } catch (const tg::db::DatabaseError &error) {
                    tg::showMessage(tg::MessageKind::Error, error.message());
                }
            });

    ButtonSalva = button(QStringLiteral("ButtonSalva"), QStringLiteral("Salva"));
    ButtonAnnulla = button(QStringLiteral("ButtonAnnulla"), QStringLiteral("Annulla"));
    ButtonElimina = button(QStringLiteral("ButtonElimina"), QStringLiteral("Elimina"));
    ButtonAggiorna = button(QStringLiteral("ButtonAggiorna"), QStringLiteral("Aggiorna"));
    ButtonNuovo = button(QStringLiteral("ButtonNuovo"), QStringLiteral("Nuovo"));
    ButtonStampa = button(QStringLiteral("ButtonStampa"), QStringLiteral("Stampa"));
    connect(ButtonSalva, &QPushButton::clicked, this, &TInserimentoForm::ButtonSalvaClick);
    connect(ButtonAnnulla, &QPushButton::clicked, this, &TInserimentoForm::ButtonAnnullaClick);
    connect(ButtonElimina, &QPushButton::clicked, this, &TInserimentoForm::ButtonEliminaClick);
    connect(ButtonAggiorna, &QPushButton::clicked, this, &TInserimentoForm::ButtonAggiornaClick);
    connect(ButtonNuovo, &QPushButton::clicked, this, &TInserimentoForm::ButtonNuovoClick);
    connect(ButtonStampa, &QPushButton::clicked, this, &TInserimentoForm::ButtonStampaClick);
    // Ctrl+S saves from anywhere in the window, an open cell editor first
    // handing its text to the row.
    auto *save = new QShortcut(QKeySequence::Save, this);
    save->setContext(Qt::WindowShortcut);
    connect(save, &QShortcut::activated, this, [this] {
        commitOpenEditor();
        if (ButtonSalva->isEnabled())
            ButtonSalva->click();
    });

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {ButtonNuovo, ButtonSalva, ButtonAnnulla, ButtonElimina, ButtonAggiorna, ButtonStampa})
        buttons->addWidget(b);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(GridTabella);

    // The save button shows whether changes are pending: the module sets its
    // tag and tells, the window loads the picture.
    connect(&m_module, &tg::TTabXForm::pendingChangesChanged, this, [this](QObject *saveButton, bool pending) {
        if (saveButton == ButtonSalva)
            ButtonSalva->setIcon(QIcon(QPixmap(m_module.saveBitmapPath(pending))));
    });
    m_module.setSaveButtonPending(ButtonSalva, false);
    m_module.AggiornaTabella(DataSetTabella, QVariant(), false);
    m_model->refresh();
    showCurrentRow();
}

TInserimentoForm::~TInserimentoForm()
{
    GridTabella->setModel(nullptr);
}

template <typename Service>
void TInserimentoForm::run(Service &&service)
{
    try {
        service();
    } catch (const tg::db::DatabaseError &error) {
        tg::showMessage(tg::MessageKind::Error, error.message());
    }
    m_model->refresh();
    showCurrentRow();
}

void TInserimentoForm::showCurrentRow()
{
    const int row = DataSetTabella.recNo();
    if (row >= 0)
        GridTabella->setCurrentIndex(m_model->index(row, 0));
}

void TInserimentoForm::ButtonSalvaClick()
{
    run([this] { m_module.ChiudiTransEAggiorna(DataSetTabella, m_bookmark, m_bookmarkValid, ButtonSalva); });
}

void TInserimentoForm::ButtonAnnullaClick()
{
    run([this] { m_module.Annulla(DataSetTabella, m_bookmark, m_bookmarkValid, ButtonSalva); });
}

void TInserimentoForm::ButtonEliminaClick()
{
    run([this] { m_module.Elimina(DataSetTabella, m_bookmark, m_bookmarkValid, ButtonSalva); });
}

void TInserimentoForm::ButtonAggiornaClick()
{
    run([this] { m_module.AggiornamentoDaPulsante(DataSetTabella, m_bookmark, m_bookmarkValid, ButtonSalva); });
}

void TInserimentoForm::ButtonNuovoClick()
{
    const int rowsBefore = m_model->rowCount();
    run([this] {
        m_module.NuovoIntSuGeneratore(DataSetTabella, m_bookmark, m_bookmarkValid, ButtonSalva, m_tableName,
                                      m_generator);
    });
    if (m_model->rowCount() <= rowsBefore)
        return; // no new row (the server refused it)
    // The user types the new row at once: the grid's cursor stands on its
    // first field to fill, the one after the key the generator gave, and
    // the first key typed opens the field's editor.
    const int row = DataSetTabella.recNo();
    const int column = m_model->columnCount() > 1 ? 1 : 0;
    const QModelIndex cell = m_model->index(row, column);
    if (!cell.isValid())
        return;
    GridTabella->setFocus(Qt::OtherFocusReason);
    GridTabella->setCurrentIndex(cell);
    GridTabella->scrollTo(cell);
}

void TInserimentoForm::commitOpenEditor()
{
    QWidget *editor = GridTabella->indexWidget(GridTabella->currentIndex());
    if (!editor)
        return;
    QAbstractItemDelegate *delegate = GridTabella->itemDelegateForIndex(GridTabella->currentIndex());
    emit delegate->commitData(editor);
    emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TInserimentoForm::ButtonStampaClick()
{
    // The module hands the report library the title and the report name in
    // its named values, and keeps them only in values that exist: the
    // window makes sure they do (for the current user) before printing.
    const QString user = QString::number(m_module.GetNumUser());
    for (const QString &name : {QStringLiteral("TitoloStampa"), QStringLiteral("NomeReport")})
        m_module.Inserisci(QStringLiteral("VRT"), name, QString(), QString(), QString(), QString(), QString(),
                           QString(), user);
    // The rows are printed as the grid shows them, a pending change
    // included; the module reports a failing report library itself.
    m_module.LanciaStampaConDll(QStringLiteral("Valori dell'archivio"), m_tableName, DataSetTabella);
}

void TInserimentoForm::closeEvent(QCloseEvent *event)
{
    run([this] { m_module.Chiudi(DataSetTabella, m_bookmark, m_bookmarkValid, ButtonSalva); });
    event->accept();
}

} // namespace taskgate_entry
