// The small widgets the editor grids are made of: a label that reports clicks
// and presses, and the name text box with the panel's key filter.
#pragma once

#include <QLabel>
#include <QLineEdit>

namespace t2 {

// A label that reports a click (left button, on release inside the label), a
// double click, and every button press with its button and modifiers. The
// second click of a double click arrives as doubleClicked only, not as a
// second clicked.
class GridLabel : public QLabel {
    Q_OBJECT
public:
    explicit GridLabel(QWidget* parent = nullptr);

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

// The key filter of every name box: capital letters, digits, space and
// . - / * # @ ( ) : ? pass; small letters become capitals; every other
// character is dropped (a null QChar).
QChar FilterNameKey(QChar c);
// The filter applied to a whole text (what a paste inserts).
QString FilterNameText(const QString& text);

// A text box for names: typed characters go through FilterNameKey; pasted and
// dropped text goes through the same filter, so a name never holds a
// character the panel cannot show. Reports clicks and focus (touched).
class NameBox : public QLineEdit {
    Q_OBJECT
public:
    explicit NameBox(QWidget* parent = nullptr);

signals:
    void touched();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    void PasteFiltered(bool selection);
};

}  // namespace t2
