#include "companies/SelezDitta.h"

#include "data/TabX.h"
#include "data/TabXHolder.h"
#include "platform/ScreenSize.h"
#include "widgets/ScreenScale.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

namespace tg {
namespace {

// The designed client area, and the margins of the controls that keep their
// distance to the bottom and right edges.
constexpr int DesignedClientWidth = 228;
constexpr int DesignedClientHeight = 252;

} // namespace

bool isInactiveCompany(const QString &section)
{
    // Only the letters a to z are folded, as the marker is plain ASCII.
    QString folded = section;
    for (QChar &c : folded) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return folded.contains(QLatin1String("<INATTIVA>"));
}

QStringList companiesOfUser(TTabXForm &module)
{
    db::Query &query = module.QueryQuadrel;
    query.close();
    query.sql() = QStringList{QStringLiteral("SELECT DISTINCT(INTESTAZIONE) FROM TABQUADREL WHERE"),
                              QStringLiteral("UTENTE='%1'").arg(module.GetNumUser())};
    query.open();
    query.fetchAll();
    QStringList companies;
    QString previous;
    for (bool first = true; !query.eof(); query.next(), first = false) {
        const QString section = query.field(0).asText();
        if ((first || section != previous) && !section.isEmpty() && !isInactiveCompany(section))
            companies << section;
        previous = section;
    }
    query.close();
    return companies;
}

TSelezDittaForm::TSelezDittaForm(QWidget *owner, const QString &edizione, TabXHolder *holder)
    : QDialog(owner), m_edizione(edizione)
{
    setObjectName(QStringLiteral("SelezDittaForm"));
    setWindowTitle(QStringLiteral("Selezione Ditta"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    ListBoxSelDitta = new QListWidget(this);
    ListBoxSelDitta->setObjectName(QStringLiteral("ListBoxSelDitta"));
    ButtonOk = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("Ok"), this);
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setDefault(true);
    ButtonCancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    setTabOrder(ListBoxSelDitta, ButtonOk);
    setTabOrder(ButtonOk, ButtonCancel);
    resize(DesignedClientWidth, DesignedClientHeight);
    placeControls();
    connect(ButtonOk, &QPushButton::clicked, this, &TSelezDittaForm::ButtonOkClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ListBoxSelDitta, &QListWidget::itemDoubleClicked, this, &TSelezDittaForm::ButtonOkClick);
    if (holder && holder->TabX)
        fillList(*holder->TabX);
    if (m_edizione == QLatin1String("SMALL")) {
        move(0, 0);
        resize(ScreenScale::DesignedWidth, ScreenScale::DesignedHeight);
    }
}

void TSelezDittaForm::fillList(TTabXForm &module)
{
    ListBoxSelDitta->addItems(companiesOfUser(module));
    const QList<QListWidgetItem *> current =
        ListBoxSelDitta->findItems(module.dittaCorrente(), Qt::MatchFixedString);
    if (!current.isEmpty())
        ListBoxSelDitta->setCurrentItem(current.first());
}

QString TSelezDittaForm::selectedCompany() const
{
    const QListWidgetItem *item = ListBoxSelDitta->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void TSelezDittaForm::ButtonOkClick()
{
    // Only a selected company closes the dialog.
    if (!selectedCompany().isEmpty())
        accept();
}

void TSelezDittaForm::placeControls()
{
    // The list follows all four edges; the buttons keep to the bottom. The
    // designed distances grow with the scaling applied at show time.
    const auto scaled = [this](int length) { return length * m_percent / 100; };
    ListBoxSelDitta->setGeometry(scaled(9), scaled(8), width() - scaled(DesignedClientWidth - 208),
                                 height() - scaled(DesignedClientHeight - 197));
    const int buttonTop = height() - scaled(DesignedClientHeight - 214);
    ButtonOk->setGeometry(scaled(15), buttonTop, scaled(75), scaled(25));
    ButtonCancel->setGeometry(scaled(136), buttonTop, scaled(75), scaled(25));
}

void TSelezDittaForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeControls();
}

void TSelezDittaForm::showEvent(QShowEvent *event)
{
    if (m_edizione == QLatin1String("SMALL") && !m_scaled) {
        // The 230 by 300 dialog is enlarged until it fits the screen on one axis.
        m_scaled = true;
        const ScreenScale scale = ScreenScale::forScreen(ScreenSize::current());
        m_percent = scale.percent;
        QFont scaledFont = font();
        scaledFont.setPixelSize(scale.scaled(11));
        setFont(scaledFont);
        setOuterGeometry(*this, QRect(ScreenSize::origin(), QSize(scale.scaled(ScreenScale::DesignedWidth),
                                                                  scale.scaled(ScreenScale::DesignedHeight))));
        placeControls();
    }
    QDialog::showEvent(event);
}

void TSelezDittaForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ButtonOkClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace tg
