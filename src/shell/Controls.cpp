#include "Controls.h"

#include "AccessibleNames.h"
#include "Twips.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QStyle>

namespace t2 {

namespace {

QRect Area(const QWidget* parent, int left, int top, int width, int height)
{
    return {Twips(parent, left), Twips(parent, top), Twips(parent, width), Twips(parent, height)};
}

}  // namespace

QLabel* PlaceLabel(QWidget* parent, const QString& name, const QString& text, int left, int top, int width,
                   int height)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(Area(parent, left, top, width, height));
    return l;
}

QPushButton* PlaceButton(QWidget* parent, const QString& name, const QString& text, int left, int top, int width,
                         int height)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(Area(parent, left, top, width, height));
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

QGroupBox* PlaceFrame(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width,
                      int height)
{
    auto* f = new QGroupBox(caption, parent);
    f->setObjectName(name);
    f->setGeometry(Area(parent, left, top, width, height));
    return f;
}

QComboBox* PlaceList(QWidget* parent, const QString& name, int left, int top, int width)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setAccessibleName(ControlWords(name));   // "cboDSTStartWeek" is heard as "DST Start Week"
    c->setMaxVisibleItems(16);
    c->setGeometry(Twips(parent, left), Twips(parent, top), Twips(parent, width), c->sizeHint().height());
    return c;
}

void FillList(QComboBox* combo, const QStringList& entries)
{
    combo->clear();
    combo->addItems(entries);
    QAbstractItemView* view = combo->view();
    view->setMinimumWidth(view->sizeHintForColumn(0) + view->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8);
}

void PutLastInTabOrder(QWidget* window, const QList<QWidget*>& widgets)
{
    if (widgets.isEmpty()) return;
    const QSet<QWidget*> moved(widgets.begin(), widgets.end());
    QWidget* previous = nullptr;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
        if (window->isAncestorOf(w) && !moved.contains(w) && (w->focusPolicy() & Qt::TabFocus)) previous = w;
    for (QWidget* w : widgets) {
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void SetBackground(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::Button, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

WaitPointer::WaitPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }

WaitPointer::~WaitPointer() { QApplication::restoreOverrideCursor(); }

}  // namespace t2
