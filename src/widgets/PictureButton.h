#pragma once

#include <QPushButton>

namespace tg {

// A large button of a terminal's picture-button page: a bitmap and a
// caption at a stored position and size. It takes the focus with Tab (in the
// order the buttons were created), Enter or Space runs it, and the focus
// shows as a broad frame in the selection colour. The caption starts in the
// font it inherits and is made smaller until bitmap and caption fit the
// stored size; a bitmap larger than the button is shown smaller too.
class PictureButton : public QPushButton {
    Q_OBJECT

public:
    explicit PictureButton(const QString &caption, QWidget *parent = nullptr);

    // The bitmap as loaded; it is shown at its own size when it fits.
    void setGlyph(const QPixmap &glyph);
    // Fits caption and bitmap to the button's size again.
    void fitContents();
    // The smallest caption size it goes down to, in points.
    static constexpr double SmallestPointSize = 6.0;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QSize m_glyphSize;
    bool m_fitting = false;
};

} // namespace tg
