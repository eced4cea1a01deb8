#include "companies/AbilitaDitte.h"

#include "data/QuadrelText.h"
#include "data/TabX.h"
#include "data/TabXHolder.h"
#include "platform/ScreenSize.h"
#include "widgets/DesignScale.h"

#include <algorithm>
#include <QBoxLayout>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace tg {
namespace {

// Moves the selected items of one list, in list order, to the end of the other.
void moveSelected(QListWidget *from, QListWidget *to)
{
    for (int row = 0; row < from->count();) {
        if (from->item(row)->isSelected()) {
            QListWidgetItem *item = from->takeItem(row);
            item->setSelected(false);
            to->addItem(item);
        } else {
            ++row;
        }
    }
}

} // namespace

TAbilitaDitteForm::TAbilitaDitteForm(QWidget *owner, TabXHolder *holder) : QDialog(owner)
{
    setObjectName(QStringLiteral("AbilitaDitteForm"));
    setWindowTitle(QStringLiteral("AbilitaDitteForm"));
    // The program's font, grown with the screen; the layout grows with it.
    const DesignScale scale(*this);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(Panel1);

    Label1 = new QLabel(QStringLiteral("Ditte attive"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("Ditte non attive"), Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    ListBoxAttive = new QListWidget(Panel1);
    ListBoxAttive->setObjectName(QStringLiteral("ListBoxAttive"));
    ListBoxAttive->setSelectionMode(QAbstractItemView::ExtendedSelection);
    const int arrow = std::max(scale(25), fontMetrics().height() + 8);
    ButtonDisattiva = new QPushButton(QStringLiteral(">"), Panel1);
    ButtonDisattiva->setObjectName(QStringLiteral("ButtonDisattiva"));
    ButtonDisattiva->setFocusPolicy(Qt::NoFocus);
    ButtonDisattiva->setFixedSize(arrow, arrow);
    ButtonAttiva = new QPushButton(QStringLiteral("<"), Panel1);
    ButtonAttiva->setObjectName(QStringLiteral("ButtonAttiva"));
    ButtonAttiva->setFocusPolicy(Qt::NoFocus);
    ButtonAttiva->setFixedSize(arrow, arrow);
    ListBoxDisattive = new QListWidget(Panel1);
    ListBoxDisattive->setObjectName(QStringLiteral("ListBoxDisattive"));
    ListBoxDisattive->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ButtonOk = new QPushButton(QStringLiteral("Ok"), Panel1);
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setMinimumSize(buttonWidth(*ButtonOk, scale, 75), arrow);
    ButtonCancel = new QPushButton(QStringLiteral("Cancel"), Panel1);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonCancel->setMinimumSize(buttonWidth(*ButtonCancel, scale, 75), arrow);

    // Two lists side by side under their captions, the arrows between them
    // at the top, OK and Cancel centred below.
    auto *grid = new QGridLayout(Panel1);
    grid->setContentsMargins(scale(8), scale(8), scale(8), scale(8));
    grid->setHorizontalSpacing(scale(3));
    grid->setVerticalSpacing(scale(3));
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 2);
    grid->addWidget(ListBoxAttive, 1, 0);
    auto *arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(ButtonDisattiva);
    arrows->addWidget(ButtonAttiva);
    arrows->addStretch();
    grid->addLayout(arrows, 1, 1);
    grid->addWidget(ListBoxDisattive, 1, 2);
    auto *commands = new QHBoxLayout;
    commands->addStretch();
    commands->addWidget(ButtonOk);
    commands->addStretch();
    commands->addWidget(ButtonCancel);
    commands->addStretch();
    grid->addLayout(commands, 2, 0, 1, 3);
    grid->setRowMinimumHeight(2, scale(39));
    resize(scale.windowSize(QSize(600, 400), ScreenSize::current()));

    setTabOrder(ListBoxAttive, ListBoxDisattive);
    setTabOrder(ListBoxDisattive, ButtonOk);
    setTabOrder(ButtonOk, ButtonCancel);

    connect(ButtonDisattiva, &QPushButton::clicked, this, &TAbilitaDitteForm::ButtonDisattivaClick);
    connect(ButtonAttiva, &QPushButton::clicked, this, &TAbilitaDitteForm::ButtonAttivaClick);
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    if (holder && holder->TabX)
        fillLists(*holder);
}

void TAbilitaDitteForm::fillLists(TabXHolder &holder)
{
    TTabXForm &module = *holder.TabX;
    db::Query &query = module.QueryQuadrel;
    query.close();
    query.sql() = QStringList{QStringLiteral("SELECT DISTINCT(INTESTAZIONE) FROM TABQUADREL WHERE"),
                              QStringLiteral("UTENTE='%1'").arg(module.GetNumUser()),
                              QStringLiteral("ORDER BY INTESTAZIONE")};
    query.open();
    for (; !query.eof(); query.next()) {
        const QString section = query.field(0).asText();
        // A row without a section names no company.
        if (section.isEmpty())
            continue;
        if (haMarcatoreInattiva(section))
            ListBoxDisattive->addItem(senzaMarcatoreInattiva(section));
        else
            ListBoxAttive->addItem(section);
    }
    query.close();
}

QStringList TAbilitaDitteForm::ditteDisattive() const
{
    QStringList names;
    for (int row = 0; row < ListBoxDisattive->count(); ++row)
        names << ListBoxDisattive->item(row)->text();
    return names;
}

void TAbilitaDitteForm::ButtonDisattivaClick()
{
    moveSelected(ListBoxAttive, ListBoxDisattive);
}

void TAbilitaDitteForm::ButtonAttivaClick()
{
    moveSelected(ListBoxDisattive, ListBoxAttive);
}

void TAbilitaDitteForm::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        m_placed = true;
        centreOnScreen(*this);
    }
    QDialog::showEvent(event);
}

} // namespace tg
