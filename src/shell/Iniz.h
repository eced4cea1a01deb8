#pragma once

#include <QDialog>

class QLabel;

namespace tg {

// The window shown while the login loads the user's settings.
class TInizForm : public QDialog {
    Q_OBJECT

public:
    explicit TInizForm(QWidget *owner);

    QLabel *LabelMessaggio1;
    QLabel *LabelMessaggio2;
};

} // namespace tg
