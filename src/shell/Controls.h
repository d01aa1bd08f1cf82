// Plain controls placed the way every window of the program places them: by
// name, in twips from the parent's top left corner, in the parent's dpi.
#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace t2 {

QLabel* PlaceLabel(QWidget* parent, const QString& name, const QString& text, int left, int top, int width,
                   int height = 300);
QPushButton* PlaceButton(QWidget* parent, const QString& name, const QString& text, int left, int top, int width,
                         int height = 300);
QGroupBox* PlaceFrame(QWidget* parent, const QString& name, const QString& caption, int left, int top, int width,
                      int height);
QComboBox* PlaceList(QWidget* parent, const QString& name, int left, int top, int width);

// Fills a drop-down list; the list opens at least as wide as its longest
// entry, even over a narrow label.
void FillList(QComboBox* combo, const QStringList& entries);

// Puts widgets, in the order given, after the last of the window's other
// controls that Tab reaches; those keep their order.
void PutLastInTabOrder(QWidget* window, const QList<QWidget*>& widgets);

// The background colour of a label (or button), filled.
void SetBackground(QWidget* w, const QColor& colour);

// The wait (hourglass) pointer over the whole program while it lives.
class WaitPointer {
public:
    WaitPointer();
    ~WaitPointer();
    WaitPointer(const WaitPointer&) = delete;
    WaitPointer& operator=(const WaitPointer&) = delete;
};

}  // namespace t2
