#pragma once

#include <QDialog>
#include <QStringList>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

namespace tg {

struct TabXHolder;

// The company enabling dialog: the sections of the user's parameter set in
// two lists, active and inactive (those whose name carries the marker, shown
// without it). ">" and "<" move the selected names across; after OK the
// inactive list holds the plain names of the companies to mark inactive.
class TAbilitaDitteForm : public QDialog {
    Q_OBJECT

public:
    TAbilitaDitteForm(QWidget *owner, TabXHolder *holder);

    QFrame *Panel1;
    QLabel *Label1;
    QLabel *Label2;
    QListWidget *ListBoxAttive;
    QPushButton *ButtonDisattiva;
    QPushButton *ButtonAttiva;
    QListWidget *ListBoxDisattive;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;

    // The names in ListBoxDisattive, in list order.
    QStringList ditteDisattive() const;

    void ButtonDisattivaClick();
    void ButtonAttivaClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillLists(TabXHolder &holder);
    bool m_placed = false;
};

} // namespace tg
