#include "ClickLabel.h"

#include <QMouseEvent>

namespace t2 {

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {}

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

void ClickLabel::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) leftDown_ = true;
    emit pressed(e->button(), e->modifiers());
    e->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e)
{
    const bool click = e->button() == Qt::LeftButton && leftDown_ && rect().contains(e->position().toPoint());
    if (e->button() == Qt::LeftButton) leftDown_ = false;
    e->accept();
    if (click) emit clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* e)
{
    // Qt sends the second press of a pair as a double click: it counts as the
    // double click and its release as no further click.
    leftDown_ = false;
    e->accept();
    if (e->button() == Qt::LeftButton) emit doubleClicked();
}

bool ShiftOnly(Qt::KeyboardModifiers modifiers)
{
    const auto held = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return held == Qt::ShiftModifier;
}

}  // namespace t2
