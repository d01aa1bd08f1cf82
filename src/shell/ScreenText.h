// Where the configuration meets the screen: names are 8-bit Windows-1252 bytes
// in the records and QString on the screen; the windows use one form font.
#pragma once

#include "CodeTexts.h"
#include "PanelConfig.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace t2 {

// Windows-1252 bytes to screen text and back. A character the code page
// cannot hold becomes '?'.
QString ToScreen(const Bytes& bytes);
Bytes FromScreen(const QString& text);

// The windows' twip geometry is laid out for an 8 point font: give it to w.
void UseFormFont(QWidget* w);

// The texts of a code table as list entries, in value order.
QStringList Texts(TextTable table);

// n with at least two digits: 1 -> "01".
QString TwoDigits(int n);

// The tool tip of row name labels: prefix + two-digit 1-based number
// ("Relay " and index 0 give "Relay 01").
QString ItemToolTip(const QString& prefix, int index);

}  // namespace t2
