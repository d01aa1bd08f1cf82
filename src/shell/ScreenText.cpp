#include "ScreenText.h"

#include "Windows1252.h"

#include <QFont>
#include <QWidget>

namespace t2 {

QString ToScreen(const Bytes& bytes) { return BytesToText(bytes); }

Bytes FromScreen(const QString& text) { return TextToBytes(text); }

void UseFormFont(QWidget* w)
{
    QFont f = w->font();
    f.setPointSizeF(8.25);
    w->setFont(f);
}

QStringList Texts(TextTable table)
{
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(table.size()));
    for (const char* text : table) texts << QString::fromLatin1(text);
    return texts;
}

QString TwoDigits(int n) { return QString::fromStdString(Digits(n, 2)); }

QString ItemToolTip(const QString& prefix, int index) { return prefix + TwoDigits(index + 1); }

}  // namespace t2
