// A label that reports a click (left button, released inside the label), a
// double click, and every button press with its button and modifiers, as the
// grid and status windows need. The second click of a double click arrives as
// doubleClicked only, not as a second clicked.
#pragma once

#include <QLabel>

namespace t2 {

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(QWidget* parent = nullptr);
    explicit ClickLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();
    void doubleClicked();
    void pressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    bool leftDown_ = false;
};

// True when Shift is held and neither Ctrl, Alt nor Meta.
bool ShiftOnly(Qt::KeyboardModifiers modifiers);

}  // namespace t2
