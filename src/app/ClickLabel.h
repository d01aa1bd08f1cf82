// A label that reports clicks, double clicks and the mouse button going down
// (with the button and the keyboard modifiers), as the grid windows need.
#pragma once

#include <QLabel>
#include <QMouseEvent>

namespace t2 {

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(QWidget* parent = nullptr) : QLabel(parent) {}
    explicit ClickLabel(const QString& text, QWidget* parent = nullptr) : QLabel(text, parent) {}

signals:
    void clicked();
    void doubleClicked();
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        emit mouseDown(e->button(), e->modifiers());
        e->accept();
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked();
        e->accept();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        emit doubleClicked();
        e->accept();
    }
};

}  // namespace t2
