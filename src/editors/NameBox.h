// The text box for the names the panel shows, with the panel's key filter.
#pragma once

#include "NameFilter.h"

#include <QLineEdit>

namespace t2 {

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
