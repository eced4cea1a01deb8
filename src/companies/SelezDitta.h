#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace tg {

struct TabXHolder;
class TTabXForm;

// The companies offered to the current user: the distinct sections of the
// user's parameter set, in the order the database gives them, without empty
// names and without those marked inactive (in any letter case).
QStringList companiesOfUser(TTabXForm &module);
bool isInactiveCompany(const QString &section);

// The company selection dialog: one line per company, OK only with a
// selection, placed at the top left and scaled to the screen when shown.
class TSelezDittaForm : public QDialog {
    Q_OBJECT

public:
    TSelezDittaForm(QWidget *owner, const QString &edizione, TabXHolder *holder);

    // The selected company, or the empty text.
    QString selectedCompany() const;

    QListWidget *ListBoxSelDitta;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;

    void ButtonOkClick();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fillList(TTabXForm &module);
    void placeControls();
    QString m_edizione;
    int m_percent = 100;
    bool m_scaled = false;
};

} // namespace tg
