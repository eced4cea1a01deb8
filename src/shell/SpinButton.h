#pragma once

#include <QWidget>

class QToolButton;

namespace tg {

// A pair of up/down arrow buttons stacked one over the other.
class SpinButton : public QWidget {
    Q_OBJECT

public:
    explicit SpinButton(QWidget *parent = nullptr);
    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

signals:
    void upClick();
    void downClick();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QToolButton *m_up;
    QToolButton *m_down;
};

} // namespace tg
