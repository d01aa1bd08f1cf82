#include "NameBox.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>

namespace t2 {

NameBox::NameBox(QWidget* parent) : QLineEdit(parent)
{
    setAcceptDrops(false);
    setDragEnabled(false);
}

void NameBox::keyPressEvent(QKeyEvent* e)
{
    if (e->matches(QKeySequence::Paste)) {
        PasteFiltered(false);
        e->accept();
        return;
    }
    const QString typed = e->text();
    const bool shortcut = (e->modifiers() & Qt::ControlModifier) && !(e->modifiers() & Qt::AltModifier);
    const bool printable = !typed.isEmpty() && std::all_of(typed.begin(), typed.end(), [](QChar c) {
        return c.isPrint() || c.isSurrogate();
    });
    if (printable && !shortcut) {
        // A key may bring more than one character (a dead key followed by a
        // letter, a character outside the basic plane): each goes through the filter.
        const QString kept = FilterNameText(typed);
        if (!kept.isEmpty()) insert(kept);
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);   // Backspace, Delete, cursor keys, editing shortcuts
}

void NameBox::inputMethodEvent(QInputMethodEvent* e)
{
    // Text composed by an input method is typed text too: only what the filter
    // keeps is committed, and nothing is shown half-composed.
    const QString kept = FilterNameText(e->commitString());
    QInputMethodEvent filtered;
    filtered.setCommitString(kept, e->replacementStart(), e->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    e->accept();
}

void NameBox::mousePressEvent(QMouseEvent* e)
{
    QLineEdit::mousePressEvent(e);
    emit touched();
}

void NameBox::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::MiddleButton) {   // X11 selection paste, filtered as well
        e->accept();
        PasteFiltered(true);
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
}

void NameBox::focusInEvent(QFocusEvent* e)
{
    QLineEdit::focusInEvent(e);
    emit touched();
}

void NameBox::contextMenuEvent(QContextMenuEvent* e)
{
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, [this] { PasteFiltered(false); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}

void NameBox::PasteFiltered(bool selection)
{
    if (isReadOnly()) return;
    const QClipboard* clip = QGuiApplication::clipboard();
    if (!clip) return;
    const QString text = FilterNameText(clip->text(selection ? QClipboard::Selection : QClipboard::Clipboard));
    if (!text.isEmpty()) insert(text);
}

}  // namespace t2
