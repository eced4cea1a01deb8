#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// The two-field input dialog: one label and two edit fields, OK and Cancel.
// Its result code is 0 while it is open, 1 after OK and 2 after Cancel;
// closing the window otherwise leaves 0. Only 1 counts as confirmation.
class TQorIn2Form : public QDialog {
    Q_OBJECT

public:
    explicit TQorIn2Form(QWidget *owner = nullptr);

    QFrame *Bevel1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

    // The result code set by the buttons.
    int ModalResult = 0;
    int resultCode() const { return ModalResult; }

public slots:
    void OKBtnClick();
    void CancelBtnClick();
    // The input goes to the left field whenever the dialog becomes active.
    void FormActivate();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_placed = false;
};
