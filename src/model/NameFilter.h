// The key filter of the names the panel shows: what a name box lets through
// while typing, and what an imported name is passed through.
#pragma once

#include <QChar>
#include <QString>

namespace t2 {

// Capital letters, digits, space and . - / * # @ ( ) : ? pass; small letters
// become capitals; every other character is dropped (a null QChar).
QChar FilterNameKey(QChar c);
// The filter applied to a whole text (what a paste inserts, an imported name).
QString FilterNameText(const QString& text);

}  // namespace t2
