#include "companies/AbilitaDitte.h"

#include "companies/QuadrelText.h"
#include "data/TabX.h"
#include "platform/ScreenSize.h"
#include "shell/BaseMain.h"

#include <QFrame>
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
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    resize(600, 400);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);
    Panel1->setGeometry(rect());

    Label1 = new QLabel(QStringLiteral("Ditte attive"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(8, 8);
    Label2 = new QLabel(QStringLiteral("Ditte non attive"), Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(312, 8);
    ListBoxAttive = new QListWidget(Panel1);
    ListBoxAttive->setObjectName(QStringLiteral("ListBoxAttive"));
    ListBoxAttive->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBoxAttive->setGeometry(8, 24, 273, 305);
    ButtonDisattiva = new QPushButton(QStringLiteral(">"), Panel1);
    ButtonDisattiva->setObjectName(QStringLiteral("ButtonDisattiva"));
    ButtonDisattiva->setFlat(true);
    ButtonDisattiva->setFocusPolicy(Qt::NoFocus);
    ButtonDisattiva->setGeometry(284, 24, 25, 25);
    ButtonAttiva = new QPushButton(QStringLiteral("<"), Panel1);
    ButtonAttiva->setObjectName(QStringLiteral("ButtonAttiva"));
    ButtonAttiva->setFlat(true);
    ButtonAttiva->setFocusPolicy(Qt::NoFocus);
    ButtonAttiva->setGeometry(284, 49, 25, 25);
    ListBoxDisattive = new QListWidget(Panel1);
    ListBoxDisattive->setObjectName(QStringLiteral("ListBoxDisattive"));
    ListBoxDisattive->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBoxDisattive->setGeometry(312, 24, 273, 305);
    ButtonOk = new QPushButton(QStringLiteral("Ok"), Panel1);
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setGeometry(155, 343, 75, 25);
    ButtonCancel = new QPushButton(QStringLiteral("Cancel"), Panel1);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonCancel->setGeometry(363, 343, 75, 25);
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
