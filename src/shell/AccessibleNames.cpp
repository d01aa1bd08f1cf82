#include "AccessibleNames.h"

#include "NameTips.h"

#include <QLabel>
#include <QRegularExpression>

namespace t2 {

QString ControlWords(const QString& objectName)
{
    QString name = objectName;
    static const QRegularExpression index("_\\d+$");
    name.remove(index);
    // The control kind is the lower-case prefix ("lbl", "cbo", "hs").
    qsizetype start = 0;
    while (start < name.size() && name[start].isLower()) ++start;
    if (start == name.size()) start = 0;
    QString words;
    for (qsizetype i = start; i < name.size(); ++i) {
        const QChar c = name[i];
        if (i > start) {
            const QChar before = name[i - 1];
            const bool next = i + 1 < name.size();
            // A word starts at a capital after a small letter or digit, at a
            // capital that ends a run of capitals ("DMXChan"), at a digit after a letter.
            const bool capital = c.isUpper() && (before.isLower() || before.isDigit() ||
                                                 (before.isUpper() && next && name[i + 1].isLower()));
            const bool digit = c.isDigit() && before.isLetter();
            if (capital || digit || c == '_') words += ' ';
        }
        if (c != '_') words += c;
    }
    return words.simplified();
}

QString RowTitle(const QLabel* name)
{
    if (!name) return {};
    const QString tip = name->toolTip().simplified();
    const QString shown = NameToolTip(name);
    // The whole name: the tool tip's line below the label's own tip, else the text.
    QString whole = name->text();
    const qsizetype line = shown.indexOf('\n');
    if (line >= 0) whole = shown.mid(line + 1);
    whole = whole.simplified();
    if (tip.isEmpty()) return whole;
    return whole.isEmpty() ? tip : tip + ' ' + whole;
}

QString CellTitle(const QString& row, const QString& column)
{
    QString words = column;
    const QString kind = row.section(' ', 0, 0);
    if (!kind.isEmpty() && words.startsWith(kind + ' ')) {
        words = words.mid(kind.size() + 1);
        // The kind of device a set of inputs belongs to ("Input 16 Timed On",
        // "Input F Off Level") is the window's, not the cell's.
        static const QRegularExpression deviceKind("^(\\d+|[A-Z]) (?=.)");
        words.remove(deviceKind);
    }
    if (row.isEmpty()) return words;
    return words.isEmpty() ? row : row + ", " + words;
}

void SetAccessibleNameOnce(QWidget* w, const QString& name)
{
    if (w && w->accessibleName() != name) w->setAccessibleName(name);
}

void NameRow(QLabel* name, std::initializer_list<QWidget*> cells)
{
    const QString row = RowTitle(name);
    SetAccessibleNameOnce(name, row);
    for (QWidget* cell : cells)
        if (cell) SetAccessibleNameOnce(cell, CellTitle(row, ControlWords(cell->objectName())));
}

}  // namespace t2
