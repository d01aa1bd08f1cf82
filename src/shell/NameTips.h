// Names longer than their label: the whole name in the label's tool tip.
//
//     t2::ShowWholeNameInToolTip(lblRelayName[i]);   // once, when the label is made
//
// From then on, while the label's text does not fit its width, pointing at the
// label shows the label's own tool tip (such as "Relay 01"), and the whole text
// on the line below it (the text alone when the label has no tool tip); while
// the text fits, the label's own tool tip alone, as before. It holds for
// whatever text and tool tip the label is given later, and the text is shown
// as it is, never read as markup.
#pragma once

#include <QString>

class QLabel;

namespace t2 {

// Installs the behaviour on label (once; further calls do nothing). The
// helper lives as long as the label.
void ShowWholeNameInToolTip(QLabel* label);

// True when the label's text fits inside it (an empty text always fits).
bool LabelTextFits(const QLabel* label);

// True once ShowWholeNameInToolTip was installed on the label.
bool ShowsWholeNameInToolTip(const QLabel* label);

// Gives the label a text whose end must stay in sight, such as the ".3" that
// tells the inputs of a device apart:
//
//     t2::SetTextKeepingEnd(lblInputName[i], " LOBBY EAST.3", 2);
//
// When the whole text does not fit, the part before its last keep characters
// is shortened with "..." (one character) so that the end shows; pointing at
// the label then shows the whole text as for a name too long for its label
// (the behaviour above is installed).
void SetTextKeepingEnd(QLabel* label, const QString& text, int keep);

// The tool tip pointing at the label shows now, by the rule above, as plain
// text; empty when there is none.
QString NameToolTip(const QLabel* label);

}  // namespace t2
