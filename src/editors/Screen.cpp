#include "Screen.h"

#include "Windows1252.h"

#include <QFont>
#include <QWidget>


namespace t2::editors {

QString ToScreen(const Bytes& bytes) { return BytesToText(bytes); }

Bytes FromScreen(const QString& text) { return TextToBytes(text); }

void UseFormFont(QWidget* w)
{
    QFont f = w->font();
    f.setPointSizeF(8.25);
    w->setFont(f);
}

int Twips(const QWidget* widget, int twips)
{
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return (twips * (dpi > 0 ? dpi : 96) + 720) / 1440;
}

QString TwoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString ItemToolTip(const QString& prefix, int index)
{
    return prefix + TwoDigits(index + 1);
}

}  // namespace t2::editors
