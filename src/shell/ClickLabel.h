// The labels the grid and status windows are made of.
//
// CellLabel: a label that shows a value of a row ("Blink", "On"). A screen
// reader hears its accessible name ("Relay 05 LOBBY, Timer Type", see
// AccessibleNames.h) and, as its value, what it shows now.
//
// ClickLabel: a cell label that reports a click (left button, released
// inside the label), a double click, and every button press with its button
// and modifiers, as the grid and status windows need. The second click of a
// double click arrives as doubleClicked only, not as a second clicked.
//
// A click label that acts (anything connected to clicked, doubleClicked or
// menuRequested) takes the keyboard focus, shows it with a plain frame and
// acts from the keyboard too: Space and Enter are a click (once per press,
// not repeated while held), and for a label that opens a list F4 and
// Alt+Down as well; Shift+F10 and the Menu key ask for its menu. Other keys
// (the arrows) go on to the label's parent and to event filters.
#pragma once

#include <QLabel>

namespace t2 {

class CellLabel : public QLabel {
    Q_OBJECT
public:
    explicit CellLabel(QWidget* parent = nullptr);
    explicit CellLabel(const QString& text, QWidget* parent = nullptr);
};

class ClickLabel : public CellLabel {
    Q_OBJECT
public:
    explicit ClickLabel(QWidget* parent = nullptr);
    explicit ClickLabel(const QString& text, QWidget* parent = nullptr);

    // The label opens a list (a picker): F4 and Alt+Down open it too.
    void SetOpensList(bool opens) { opensList_ = opens; }
    bool OpensList() const { return opensList_; }
    // True while clicked is emitted for a key rather than the mouse.
    bool ByKeyboard() const { return byKeyboard_; }
    // What a click does, as a screen reader's "press" asks for it.
    void Press();
    // Something acts on the label's clicks or asks for its menu.
    bool Acts() const;

signals:
    void clicked();
    void doubleClicked();
    void pressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void menuRequested();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void connectNotify(const QMetaMethod& signal) override;

private:
    void ClickFromKeyboard();
    bool leftDown_ = false;
    bool opensList_ = false;
    bool byKeyboard_ = false;
};

// True when Shift is held and neither Ctrl, Alt nor Meta.
bool ShiftOnly(Qt::KeyboardModifiers modifiers);

}  // namespace t2
