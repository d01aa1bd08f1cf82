// What a screen reader hears for the rows of the grid and status windows:
// a row by its tool tip and name ("Relay 05 LOBBY"), each cell of it by the
// row and the cell's column ("Relay 05 LOBBY, Timer Type"). The column is
// read from the cell's object name: the control prefix and the array index
// dropped, the words split ("lblTimerType_4" reads "Timer Type"); a column
// word that only repeats the row's kind is dropped too ("lblRelayStatus" in
// a relay's row reads "Status"), and with it a device kind after it
// ("lblInput16TimedOn" in an input's row reads "Timed On").
#pragma once

#include <QString>

#include <initializer_list>

class QLabel;
class QWidget;

namespace t2 {

// "lblTimerType_4" -> "Timer Type", "cboDSTStartWeek" -> "DST Start Week".
QString ControlWords(const QString& objectName);

// The row a name label stands for: its tool tip and its whole name
// ("Relay 05 LOBBY"); the name alone when the label has no tool tip.
QString RowTitle(const QLabel* name);

// "Relay 05 LOBBY" and "Relay Status" -> "Relay 05 LOBBY, Status".
QString CellTitle(const QString& row, const QString& column);

// Gives a widget an accessible name, unless it has that one already (a
// screen reader hears of every change).
void SetAccessibleNameOnce(QWidget* w, const QString& name);

// The name label of a row and its cells named by the rule above.
void NameRow(QLabel* name, std::initializer_list<QWidget*> cells);

}  // namespace t2
